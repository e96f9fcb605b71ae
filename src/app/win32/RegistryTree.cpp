// Win32: registry trees in memory.
#include "RegistryTree.h"

#include "WinHandles.h"

namespace {

RegKey OpenKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

RegistryTree ReadKey(HKEY key) {
    RegistryTree tree;
    DWORD subkeys = 0;
    DWORD longestKey = 0;
    DWORD values = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longestKey, nullptr, &values,
                           &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return tree;
    for (DWORD i = 0; i < values; ++i) {
        RegistryTree::Value value;
        std::string name(longestName + 1, '\0');
        DWORD nameLength = longestName + 1;
        value.data.resize(longestData);
        DWORD dataLength = longestData;
        if (::RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &value.type,
                            value.data.data(), &dataLength) != ERROR_SUCCESS)
            continue;
        value.name = name.substr(0, nameLength);
        value.data.resize(dataLength);
        tree.values.push_back(std::move(value));
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        std::string name(longestKey + 1, '\0');
        DWORD nameLength = longestKey + 1;
        if (::RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            continue;
        name.resize(nameLength);
        if (RegKey sub = OpenKey(key, name))
            tree.keys.emplace_back(name, ReadKey(sub.get()));
    }
    return tree;
}

void WriteKey(HKEY parent, const std::string& name, const RegistryTree& tree) {
    HKEY created = nullptr;
    if (::RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &created, nullptr) != ERROR_SUCCESS)
        return;
    RegKey key(created);
    for (const auto& value : tree.values)
        ::RegSetValueExA(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
    for (const auto& [subName, sub] : tree.keys)
        WriteKey(key.get(), subName, sub);
}

} // namespace

std::optional<RegistryTree> ReadRegistryTree(HKEY root, const std::string& path) {
    RegKey key = OpenKey(root, path);
    if (!key)
        return std::nullopt;
    return ReadKey(key.get());
}

void WriteRegistryTree(HKEY root, const std::string& path, const RegistryTree& tree) {
    ::RegDeleteTreeA(root, path.c_str());
    WriteKey(root, path, tree);
}

std::string RegistryDefault(HKEY root, const std::string& path) {
    char text[256] = {};
    LONG size = sizeof(text);
    if (::RegQueryValueA(root, path.c_str(), text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}
