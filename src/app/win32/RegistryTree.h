// Win32: a registry key with its values and subkeys, read into memory and written back, so that a
// registration that overwrites another program's key can put it back as it was.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct RegistryTree {
    struct Value {
        std::string name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    std::vector<Value> values;
    std::vector<std::pair<std::string, RegistryTree>> keys;
};

// Nothing when the key does not exist.
std::optional<RegistryTree> ReadRegistryTree(HKEY root, const std::string& path);
// Replaces the key, whatever it holds now, with the tree.
void WriteRegistryTree(HKEY root, const std::string& path, const RegistryTree& tree);
// The key's default value; empty when it or the key is missing.
std::string RegistryDefault(HKEY root, const std::string& path);
