// Win32: COM registration of Zanvo.exe under HKEY_CLASSES_ROOT.
//
//   AppID                                   (kept on removal)
//   AppID\{484BDA29-8509-416C-8421-AAE51EDF960B}   default value "Zanvo2"
//   AppID\Zanvo2.EXE                        AppID = the identifier above
//   CLSID\{9B870929-4CFB-4629-B974-6468D51B06DD}   the real-time data class: its name, ProgID,
//                                           LocalServer32 (the quoted program file), AppID
//   Zanvo.RTD\CLSID                         the class id above
//
// The identifier is the program's own; the type library is registered with the program file as
// its file, and with it the marshalling of its two interfaces (Interface\{IID}). A spreadsheet
// registers the same interfaces with its own library: where such a key is there before, it is
// put back as it was after the library's registration and removal.
#include "ComRegistration.h"

#include "RegistryTree.h"
#include "WinHandles.h"

#include <oleauto.h>

#include <array>
#include <optional>
#include <string>

namespace {

constexpr char kAppId[] = "{484BDA29-8509-416C-8421-AAE51EDF960B}";
constexpr char kAppIdKey[] = "AppID";
constexpr char kAppName[] = "Zanvo2";
constexpr char kExeKey[] = "Zanvo2.EXE";
constexpr char kClassKey[] = "CLSID\\{9B870929-4CFB-4629-B974-6468D51B06DD}";
constexpr char kClassId[] = "{9B870929-4CFB-4629-B974-6468D51B06DD}";
constexpr char kClassName[] = "Zanvo2RtdServer Class";
constexpr char kProgId[] = "Zanvo.RTD";
constexpr char kLibId[] = "{1D32095B-9C2F-4DC7-98C8-024D066E4E9B}";
// IRtdServer and IRTDUpdateEvent.
constexpr std::array<const char*, 2> kInterfaceKeys = {
    "Interface\\{EC0E6191-DB51-11D3-8F3E-00C04F3651B8}",
    "Interface\\{A43788C1-D91B-11D3-8F39-00C04F3651B8}",
};

RegKey CreateKey(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

void SetString(HKEY key, const char* name, const char* value) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>(std::char_traits<char>::length(value) + 1));
}

void WriteAppIdEntries() {
    RegKey appIds = CreateKey(HKEY_CLASSES_ROOT, kAppIdKey);
    if (!appIds)
        return;
    if (RegKey app = CreateKey(appIds.get(), kAppId))
        SetString(app.get(), nullptr, kAppName);
    if (RegKey exe = CreateKey(appIds.get(), kExeKey))
        SetString(exe.get(), "AppID", kAppId);
}

void RemoveAppIdEntries() {
    HKEY appIds = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, kAppIdKey, 0, KEY_ALL_ACCESS, &appIds) != ERROR_SUCCESS)
        return;
    RegKey owner(appIds);
    ::RegDeleteKeyA(owner.get(), kAppId);
    ::RegDeleteKeyA(owner.get(), kExeKey);
}

void WriteClassEntries(const std::string& programPath) {
    if (RegKey cls = CreateKey(HKEY_CLASSES_ROOT, kClassKey)) {
        SetString(cls.get(), nullptr, kClassName);
        SetString(cls.get(), "AppID", kAppId);
        if (RegKey progId = CreateKey(cls.get(), "ProgID"))
            SetString(progId.get(), nullptr, kProgId);
        if (RegKey server = CreateKey(cls.get(), "LocalServer32"))
            SetString(server.get(), nullptr, ("\"" + programPath + "\"").c_str());
    }
    if (RegKey progId = CreateKey(HKEY_CLASSES_ROOT, kProgId)) {
        SetString(progId.get(), nullptr, kClassName);
        if (RegKey cls = CreateKey(progId.get(), "CLSID"))
            SetString(cls.get(), nullptr, kClassId);
    }
}

void RemoveClassEntries() {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgId);
}

// The interface keys that another library registered: (un)registering ours must not change them.
using ForeignKeys = std::array<std::optional<RegistryTree>, kInterfaceKeys.size()>;

bool IsOurs(const char* interfaceKey) {
    return RegistryDefault(HKEY_CLASSES_ROOT, std::string(interfaceKey) + "\\TypeLib") == kLibId;
}

ForeignKeys ReadForeignKeys() {
    ForeignKeys keys;
    for (std::size_t i = 0; i < kInterfaceKeys.size(); ++i) {
        if (!IsOurs(kInterfaceKeys[i]))
            keys[i] = ReadRegistryTree(HKEY_CLASSES_ROOT, kInterfaceKeys[i]);
    }
    return keys;
}

// Puts the foreign keys back; removes the others when removing is asked.
void RestoreForeignKeys(const ForeignKeys& keys, bool removeOurs) {
    for (std::size_t i = 0; i < kInterfaceKeys.size(); ++i) {
        if (keys[i])
            WriteRegistryTree(HKEY_CLASSES_ROOT, kInterfaceKeys[i], *keys[i]);
        else if (removeOurs && IsOurs(kInterfaceKeys[i]))
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kInterfaceKeys[i]);
    }
}

std::string ModuleAnsiPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    path.resize(length);
    return path;
}

} // namespace

HRESULT RegisterServer() {
    WriteAppIdEntries();
    WriteClassEntries(ModuleAnsiPath());
    std::wstring path = ModulePath();
    ITypeLib* typeLib = nullptr;
    HRESULT hr = ::LoadTypeLib(path.c_str(), &typeLib);
    if (FAILED(hr))
        return hr;
    const ForeignKeys foreign = ReadForeignKeys();
    hr = ::RegisterTypeLib(typeLib, path.data(), nullptr);
    RestoreForeignKeys(foreign, false);
    typeLib->Release();
    return hr;
}

HRESULT UnregisterServer() {
    RemoveAppIdEntries();
    RemoveClassEntries();
    const ForeignKeys foreign = ReadForeignKeys();
    const struct Restore {
        const ForeignKeys& keys;
        ~Restore() { RestoreForeignKeys(keys, true); }
    } restore{foreign};
    ITypeLib* typeLib = nullptr;
    HRESULT hr = ::LoadTypeLib(ModulePath().c_str(), &typeLib);
    if (FAILED(hr))
        return hr;
    TLIBATTR* attr = nullptr;
    hr = typeLib->GetLibAttr(&attr);
    if (SUCCEEDED(hr)) {
        hr = ::UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                                 attr->syskind);
        typeLib->ReleaseTLibAttr(attr);
    }
    typeLib->Release();
    return hr;
}
