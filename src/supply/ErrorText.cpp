#include "FeedState.h"

namespace {

struct ErrorEntry {
    std::int32_t code;
    const char* text;
};

// The library's result codes; some conditions have an old and a new code.
constexpr ErrorEntry kErrorTexts[] = {
    {0, ""},
    {-1, "Request refused because computer is overloaded"},
    {-2, "Request refused because Pomd has too many open connections"},
    {-101, "Request refused because Pomd has too many open connections"},
    {-3, "error in transaction header"},
    {-4, "error wrong buffer size sent"},
    {-5, "Client Version not compatible, must upgrade"},
    {-103, "Client Version not compatible, must upgrade"},
    {-6, "Client is already connected"},
    {-102, "Client is already connected"},
    {-7, "Invalid Username or Password"},
    {-8, "Connection was closed by administrator"},
    {-9, "Server is not available"},
    {-10, "Connection closed, because no heart beat was received"},
    {-11, "Not entitled for this service"},
    {-100, "Not entitled for this service"},
    {-12, "Address Change Disconnect. User must manually reconnect"},
    {-13, "Not authorized for Day Time Use. Try again after market hours"},
    {-104, "Invalid Session ID"},
    {-105, "Client is not connected"},
    {-106, "Memory Allocation Error"},
    {-107, "Invalid News Keyword Table"},
    {-108, "Function not supported"},
    {-109, "Message queue is empty"},
    {-110, "API is not initialized"},
    {-111, "Invalid Param passed in"},
    {-112, "Invalid Host Name or IP Address"},
    {-113, "Connection Refused or Server not Listening"},
    {-114, "Winsock communication error"},
    {-115, "Proxy Server error"},
    {-116, "Symbol Key not found"},
    {-117, "failed to connect to DM when getting the symbol Key"},
};

} // namespace

const char* ErrorText(std::int32_t code) {
    for (const ErrorEntry& entry : kErrorTexts) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return "Unknown error";
}
