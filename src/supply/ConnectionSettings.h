// What the supplier needs to connect to the data-manager library; the application settings
// convert to it.
#pragma once

#include <cstdint>
#include <string>

struct ConnectionSettings {
    std::string userName;
    std::string password;
    std::string quoteAddress;
    std::string historyAddress;
    std::string domTickAddress;
    std::string intlTickAddress;
    std::int32_t timeZoneMode = 0; // 0 local, 1 GMT, 2 exchange
    std::string quoteExchanges;
};
