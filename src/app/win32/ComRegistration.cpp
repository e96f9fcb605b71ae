// Win32: COM registration of Zanvo.exe under HKEY_CLASSES_ROOT.
//
//   AppID                                   (kept on removal)
//   AppID\{484BDA29-8509-416C-8421-AAE51EDF960B}   default value "Zanvo2"
//   AppID\Zanvo2.EXE                        AppID = the identifier above
//
// The identifier is the program's own; the type library is registered with the program file as
// its file.
#include "ComRegistration.h"

#include "WinHandles.h"

#include <oleauto.h>

#include <string>

namespace {

constexpr char kAppId[] = "{484BDA29-8509-416C-8421-AAE51EDF960B}";
constexpr char kAppIdKey[] = "AppID";
constexpr char kAppName[] = "Zanvo2";
constexpr char kExeKey[] = "Zanvo2.EXE";

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

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    path.resize(length);
    return path;
}

} // namespace

HRESULT RegisterServer() {
    WriteAppIdEntries();
    std::wstring path = ModulePath();
    ITypeLib* typeLib = nullptr;
    HRESULT hr = ::LoadTypeLib(path.c_str(), &typeLib);
    if (FAILED(hr))
        return hr;
    hr = ::RegisterTypeLib(typeLib, path.data(), nullptr);
    typeLib->Release();
    return hr;
}

HRESULT UnregisterServer() {
    RemoveAppIdEntries();
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
