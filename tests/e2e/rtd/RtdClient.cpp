// A real-time data client that behaves as a spreadsheet does: a single-threaded apartment, the
// server made from its ProgID in another process, a callback object of its own, UpdateNotify
// answered by RefreshData from the message loop. It runs its arguments, one command each:
//   start                      CoCreateInstance("Zanvo.RTD") and ServerStart
//   connect ID S1|S2|...       ConnectData with these topic strings
//   pump MS                    runs the message loop for MS ms
//   busy MS                    takes no message for MS ms (a spreadsheet busy recalculating)
//   disconnect ID              DisconnectData
//   heartbeat                  Heartbeat
//   until-disconnect MS        runs the message loop until the server calls Disconnect
// and prints what happens: "connect ID VALUE", "notify", "refresh N" followed by N lines
// "value ID VALUE", "heartbeat N", "disconnected"; a VALUE is "R8 x", "DATE x", "BSTR text" or
// "ERROR code" (hex). Exit code: the number of failed calls.
#include "RtdCallback.h"

#include <windows.h>

#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

namespace {

constexpr UINT kRefresh = WM_APP + 7;
int s_failures = 0;
bool s_disconnected = false;
IRtdServer* s_server = nullptr;

bool Failed(const std::string& what, HRESULT hr) {
    if (SUCCEEDED(hr)) {
        return false;
    }
    std::printf("error %s %08lx\n", what.c_str(), static_cast<unsigned long>(hr));
    ++s_failures;
    return true;
}

std::string Describe(const VARIANT& value) {
    char text[64];
    switch (value.vt) {
    case VT_R8:
        std::snprintf(text, sizeof(text), "R8 %.10g", value.dblVal);
        return text;
    case VT_DATE:
        std::snprintf(text, sizeof(text), "DATE %.10g", value.date);
        return text;
    case VT_BSTR: // the server's texts are ASCII
        return "BSTR " + std::string(value.bstrVal, value.bstrVal + ::SysStringLen(value.bstrVal));
    case VT_ERROR:
        std::snprintf(text, sizeof(text), "ERROR %08lx", static_cast<unsigned long>(value.scode));
        return text;
    default:
        return "VT " + std::to_string(value.vt);
    }
}

void Refresh() {
    LONG count = 0;
    SAFEARRAY* values = nullptr;
    if (!s_server || Failed("RefreshData", s_server->RefreshData(&count, &values))) {
        return;
    }
    std::printf("refresh %ld\n", static_cast<long>(count));
    for (LONG i = 0; i < count; ++i) {
        VARIANT id;
        VARIANT value;
        ::VariantInit(&id);
        ::VariantInit(&value);
        LONG idIndex[2] = {0, i};
        LONG valueIndex[2] = {1, i};
        ::SafeArrayGetElement(values, idIndex, &id);
        ::SafeArrayGetElement(values, valueIndex, &value);
        ::VariantChangeType(&id, &id, 0, VT_I4);
        std::printf("value %ld %s\n", static_cast<long>(id.lVal), Describe(value).c_str());
        ::VariantClear(&id);
        ::VariantClear(&value);
    }
    ::SafeArrayDestroy(values);
}

// The callback: a notice only; the refresh follows from the message loop, as in a spreadsheet.
class UpdateEvent final : public RtdCallback {
public:
    HRESULT STDMETHODCALLTYPE UpdateNotify() override {
        std::printf("notify\n");
        ::PostThreadMessageA(::GetCurrentThreadId(), kRefresh, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Disconnect() override {
        std::printf("disconnected\n");
        s_disconnected = true;
        return S_OK;
    }
};

UpdateEvent s_event;

// Runs the loop for ms, or until the server calls Disconnect if untilDisconnect.
void Pump(DWORD ms, bool untilDisconnect) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    for (ULONGLONG now = ::GetTickCount64(); now < end && !(untilDisconnect && s_disconnected);
         now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == nullptr && msg.message == kRefresh) {
                Refresh();
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

// The topic strings "S1|S2|..." (ASCII) as the array of BSTR variants a spreadsheet passes.
SAFEARRAY* TopicStrings(const std::string& joined) {
    const auto count = static_cast<ULONG>(std::count(joined.begin(), joined.end(), '|') + 1);
    SAFEARRAY* strings = ::SafeArrayCreateVector(VT_VARIANT, 0, count);
    std::stringstream stream(joined);
    std::string part;
    for (LONG i = 0; std::getline(stream, part, '|'); ++i) {
        const std::wstring wide(part.begin(), part.end());
        VARIANT value;
        value.vt = VT_BSTR;
        value.bstrVal = ::SysAllocString(wide.c_str());
        ::SafeArrayPutElement(strings, &i, &value);
        ::VariantClear(&value);
    }
    return strings;
}

void Start() {
    CLSID clsid;
    if (Failed("CLSIDFromProgID", ::CLSIDFromProgID(L"Zanvo.RTD", &clsid))) {
        return;
    }
    const ULONGLONG began = ::GetTickCount64();
    if (Failed("CoCreateInstance",
               ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IRtdServer),
                                  reinterpret_cast<void**>(&s_server)))) {
        return;
    }
    LONG result = 0;
    if (!Failed("ServerStart", s_server->ServerStart(&s_event, &result))) {
        std::printf("start %ld %llu ms\n", static_cast<long>(result),
                    static_cast<unsigned long long>(::GetTickCount64() - began));
    }
}

void Run(const std::string& command, std::istringstream& args) {
    LONG number = 0;
    args >> number;
    if (command == "start") {
        Start();
    } else if (command == "pump" || command == "until-disconnect") {
        Pump(static_cast<DWORD>(number), command == "until-disconnect");
    } else if (command == "busy") {
        ::Sleep(static_cast<DWORD>(number));
    } else if (!s_server) {
        Failed(command, E_POINTER);
    } else if (command == "connect") {
        std::string joined;
        args.ignore(1);
        std::getline(args, joined);
        SAFEARRAY* strings = TopicStrings(joined);
        VARIANT_BOOL getNew = VARIANT_TRUE;
        VARIANT value;
        ::VariantInit(&value);
        if (!Failed(command, s_server->ConnectData(number, &strings, &getNew, &value))) {
            std::printf("connect %ld %s\n", static_cast<long>(number), Describe(value).c_str());
        }
        ::VariantClear(&value);
        ::SafeArrayDestroy(strings);
    } else if (command == "disconnect") {
        Failed(command, s_server->DisconnectData(number));
    } else if (command == "heartbeat") {
        LONG beat = 0;
        Failed(command, s_server->Heartbeat(&beat));
        std::printf("heartbeat %ld\n", static_cast<long>(beat));
    }
}

} // namespace

int main(int argc, char** argv) {
    // The test reads the output while the client runs.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::CoInitialize(nullptr);
    for (int i = 1; i < argc; ++i) {
        std::istringstream args(argv[i]);
        std::string command;
        args >> command;
        Run(command, args);
    }
    if (s_server) {
        s_server->Release();
    }
    ::CoUninitialize();
    return s_failures;
}
