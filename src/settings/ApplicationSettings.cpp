#include "ApplicationSettings.h"

#include "Kolvane.h"

namespace {

constexpr const char* ConnectivitySection = "Connectivity";
constexpr const char* DateTimeSection = "Date Time";
constexpr std::int32_t DefaultTimeZoneMode = 2;

// The text, or when it is empty the fallback's, which is read only then.
template <typename Fallback> std::string OrElse(std::string text, const Fallback& fallback) {
    return text.empty() ? fallback() : text;
}

} // namespace

bool ApplicationSettings::Load(const std::string& zanvoIniPath, const std::string& tarvexIniPath) {
    for (const std::string* path : {&zanvoIniPath, &tarvexIniPath}) {
        if (!m_files->FileExists(*path)) {
            KOLVANE_LOG(this, "Settings file \"%s\" not found\n", path->c_str());
            return false;
        }
    }
    SettingsFiles& files = *m_files;
    const auto connectivity = [&](const char* key) {
        return files.ReadText(zanvoIniPath, ConnectivitySection, key);
    };
    // tarvex(key) reads the key only when the fallback is needed.
    const auto tarvex = [&](const char* key) {
        return
            [&files, &tarvexIniPath, key] { return files.ReadText(tarvexIniPath, "tarvex", key); };
    };
    userName = OrElse(connectivity("Username"), tarvex("InternetUserName"));
    password = OrElse(connectivity("Password"), tarvex("InternetPassword"));
    // Only the default of the four server addresses; it is never saved.
    const std::string commonAddress = OrElse(connectivity("Address"), tarvex("InternetAddress"));
    const auto common = [&commonAddress] { return commonAddress; };
    quoteAddress = OrElse(connectivity("Quote"), common);
    historyAddress = OrElse(connectivity("History"), common);
    domTickAddress = OrElse(connectivity("DomTick"), common);
    intlTickAddress = OrElse(connectivity("IntlTick"), common);
    // Any integer is kept, also one outside 0 to 2.
    timeZoneMode =
        files.ReadInteger(zanvoIniPath, DateTimeSection, "Timezone", DefaultTimeZoneMode);
    quoteExchanges = files.ReadText(zanvoIniPath, "Data", "QuoteExchangeList");
    return true;
}

bool ApplicationSettings::Save(const std::string& zanvoIniPath) const {
    const struct {
        const char* section;
        const char* key;
        std::string value;
    } writes[] = {
        {ConnectivitySection, "Username", userName},
        {ConnectivitySection, "Password", password},
        {ConnectivitySection, "Quote", quoteAddress},
        {ConnectivitySection, "History", historyAddress},
        {ConnectivitySection, "DomTick", domTickAddress},
        {ConnectivitySection, "IntlTick", intlTickAddress},
        {DateTimeSection, "Timezone", std::to_string(timeZoneMode)},
    };
    for (const auto& write : writes) {
        if (!m_files->WriteText(zanvoIniPath, write.section, write.key, write.value)) {
            KOLVANE_LOG(this, "Unable to write %s / %s to \"%s\"\n", write.section, write.key,
                        zanvoIniPath.c_str());
            return false;
        }
    }
    return true;
}

std::string ApplicationSettings::ZanvoIniPath() const {
    const std::string program = m_files->ProgramPath();
    const std::size_t separator = program.rfind(m_files->FolderSeparator());
    if (separator == std::string::npos) {
        return {};
    }
    return program.substr(0, separator + 1) + "Zanvo.ini";
}

std::string ApplicationSettings::TarvexIniPath() const {
    std::string folder = m_files->WindowsFolder();
    if (folder.empty()) {
        return {};
    }
    if (folder.back() != m_files->FolderSeparator()) {
        folder.push_back(m_files->FolderSeparator());
    }
    return folder + "tarvex.ini";
}
