// A real-time data client that behaves as a spreadsheet does: a single-threaded apartment, the
// server made from its ProgID in another process, a callback object of its own, UpdateNotify
// answered by RefreshData from the message loop. It runs a plan, one command a line:
//   start                      CoCreateInstance("Zanvo.RTD") and ServerStart
//   connect ID S1|S2|...       ConnectData with these topic strings
//   pump MS                    runs the message loop for MS ms
//   busy MS                    takes no message for MS ms (a spreadsheet busy recalculating)
//   disconnect ID              DisconnectData
//   heartbeat                  Heartbeat
//   terminate                  ServerTerminate, then lets go of the server
//   until-disconnect MS        runs the message loop until the server calls Disconnect
// and prints what happens: "connect ID VALUE", "notify", "refresh N" followed by N lines
// "value ID VALUE", "heartbeat N", "disconnected"; a VALUE is "R8 x", "DATE x", "BSTR text" or
// "ERROR code" (hex). Exit code: the number of failed calls.
#include "RtdCallback.h"

#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr UINT kRefresh = WM_APP + 7;
int s_failures = 0;
bool s_disconnected = false;
IRtdServer* s_server = nullptr;

void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void Fail(const char* what, HRESULT hr) {
    Print("error %s %08lx\n", what, static_cast<unsigned long>(hr));
    ++s_failures;
}

std::string Narrow(BSTR text) {
    if (!text) {
        return {};
    }
    const int wide = static_cast<int>(::SysStringLen(text));
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, wide, result.data(), length, nullptr, nullptr);
    return result;
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
    case VT_BSTR:
        return "BSTR " + Narrow(value.bstrVal);
    case VT_ERROR:
        std::snprintf(text, sizeof(text), "ERROR %08lx", static_cast<unsigned long>(value.scode));
        return text;
    default:
        std::snprintf(text, sizeof(text), "VT %u", value.vt);
        return text;
    }
}

void Refresh() {
    if (!s_server) {
        return;
    }
    LONG count = 0;
    SAFEARRAY* values = nullptr;
    const HRESULT hr = s_server->RefreshData(&count, &values);
    if (FAILED(hr)) {
        Fail("RefreshData", hr);
        return;
    }
    Print("refresh %ld\n", static_cast<long>(count));
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
        Print("value %ld %s\n", static_cast<long>(id.lVal), Describe(value).c_str());
        ::VariantClear(&id);
        ::VariantClear(&value);
    }
    ::SafeArrayDestroy(values);
}

// The callback: a notice only; the refresh follows from the message loop, as in a spreadsheet.
class UpdateEvent final : public RtdCallback {
public:
    HRESULT STDMETHODCALLTYPE UpdateNotify() override {
        Print("notify\n");
        ::PostThreadMessageA(::GetCurrentThreadId(), kRefresh, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Disconnect() override {
        Print("disconnected\n");
        s_disconnected = true;
        return S_OK;
    }
};

UpdateEvent s_event;

// Runs the loop for ms, or until done() holds.
template <typename Done> void Pump(DWORD ms, const Done& done) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    while (!done()) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end) {
            return;
        }
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

SAFEARRAY* TopicStrings(const std::string& joined) {
    std::vector<std::string> parts;
    std::stringstream stream(joined);
    std::string part;
    while (std::getline(stream, part, '|')) {
        parts.push_back(part);
    }
    SAFEARRAY* strings = ::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(parts.size()));
    for (LONG i = 0; i < static_cast<LONG>(parts.size()); ++i) {
        VARIANT value;
        ::VariantInit(&value);
        value.vt = VT_BSTR;
        const std::string& text = parts[static_cast<std::size_t>(i)];
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                 static_cast<int>(text.size()), nullptr, 0);
        value.bstrVal = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), value.bstrVal,
                              length);
        ::SafeArrayPutElement(strings, &i, &value);
        ::VariantClear(&value);
    }
    return strings;
}

void Start() {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(L"Zanvo.RTD", &clsid);
    if (FAILED(hr)) {
        Fail("CLSIDFromProgID", hr);
        return;
    }
    const ULONGLONG began = ::GetTickCount64();
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IRtdServer),
                            reinterpret_cast<void**>(&s_server));
    if (FAILED(hr)) {
        Fail("CoCreateInstance", hr);
        return;
    }
    LONG result = 0;
    hr = s_server->ServerStart(&s_event, &result);
    if (FAILED(hr)) {
        Fail("ServerStart", hr);
        return;
    }
    Print("start %ld %llu ms\n", static_cast<long>(result),
          static_cast<unsigned long long>(::GetTickCount64() - began));
}

void Run(const std::string& command, std::istringstream& args) {
    if (command == "start") {
        Start();
        return;
    }
    if (command == "pump" || command == "busy" || command == "until-disconnect") {
        DWORD ms = 0;
        args >> ms;
        if (command == "busy") {
            ::Sleep(ms);
        } else if (command == "pump") {
            Pump(ms, [] { return false; });
        } else {
            Pump(ms, [] { return s_disconnected; });
        }
        return;
    }
    if (!s_server) {
        Fail(command.c_str(), E_POINTER);
        return;
    }
    HRESULT hr = S_OK;
    if (command == "connect") {
        LONG id = 0;
        std::string joined;
        args >> id;
        args.ignore(1);
        std::getline(args, joined);
        SAFEARRAY* strings = TopicStrings(joined);
        VARIANT_BOOL getNew = VARIANT_TRUE;
        VARIANT value;
        ::VariantInit(&value);
        hr = s_server->ConnectData(id, &strings, &getNew, &value);
        if (SUCCEEDED(hr)) {
            Print("connect %ld %s\n", static_cast<long>(id), Describe(value).c_str());
        }
        ::VariantClear(&value);
        ::SafeArrayDestroy(strings);
    } else if (command == "disconnect") {
        LONG id = 0;
        args >> id;
        hr = s_server->DisconnectData(id);
    } else if (command == "heartbeat") {
        LONG beat = 0;
        hr = s_server->Heartbeat(&beat);
        Print("heartbeat %ld\n", static_cast<long>(beat));
    } else if (command == "terminate") {
        hr = s_server->ServerTerminate();
        s_server->Release();
        s_server = nullptr;
    }
    if (FAILED(hr)) {
        Fail(command.c_str(), hr);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zanvo-rtd-client PLAN\n");
        return 100;
    }
    ::CoInitialize(nullptr);
    std::ifstream plan(argv[1]);
    std::string line;
    while (std::getline(plan, line)) {
        std::istringstream args(line);
        std::string command;
        if (args >> command && command[0] != '#') {
            Run(command, args);
        }
    }
    if (s_server) {
        s_server->Release();
    }
    ::CoUninitialize();
    return s_failures;
}
