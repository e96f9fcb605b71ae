// Win32: the real-time data client of the end-to-end benchmark, the DDE client's counterpart. A
// single-threaded apartment as a spreadsheet's: it waits for the tray program's main window, makes
// "Zanvo.RTD" in that process, connects K cells "Snapshot" "B0001,TTL"... (the title field, into
// which the library's benchmark mode writes the time of each change) and answers every
// UpdateNotify with RefreshData from its message loop. Over the window after a warm-up it counts
// the values refreshed, the delay from each change to the return of the RefreshData that gave it,
// the age of the newest value held (ClientMeasures.h), and the time of each refresh round with the
// cells it gave. The server's working set is read before the cells connect, when the window starts
// and at its end.
//
//   bench-rtd-client K WARMUP_SECONDS SECONDS
//
// Prints "subscribed" once every cell is connected (the load then starts), "measuring" when the
// window starts, then one line:
//   items K started S updates N seconds T rate R p50_us X p99_us Y fresh_p50_us F fresh_p99_us G
//   round_p50_us A round_p99_us B cells_per_round C ws_before B ws_start W ws_after A
// Exit code 0 when every cell connected and values arrived, 1 otherwise, 2 for bad usage.
#include "ClientMeasures.h"
#include "RtdCallback.h"

#include <windows.h>

#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

constexpr UINT kRefresh = WM_APP + 7;
constexpr char kMainWindowClass[] = "ZanvoMainApplication";

ClientMeasures s_measures;
IRtdServer* s_server = nullptr;
std::vector<long long> s_rounds; // ticks per RefreshData with values
long long s_roundCells = 0;

long long StampOf(const VARIANT& value) {
    if (value.vt == VT_BSTR && value.bstrVal)
        return std::wcstoll(value.bstrVal, nullptr, 10);
    if (value.vt == VT_R8)
        return static_cast<long long>(value.dblVal);
    return 0;
}

void Refresh(const MSG& msg) {
    if (msg.message != kRefresh || !s_server)
        return;
    LONG count = 0;
    SAFEARRAY* values = nullptr;
    const long long began = Now();
    if (FAILED(s_server->RefreshData(&count, &values)) || !values)
        return;
    const long long received = Now();
    for (LONG i = 0; i < count; ++i) {
        VARIANT value;
        VariantInit(&value);
        LONG index[2] = {1, i};
        if (SUCCEEDED(SafeArrayGetElement(values, index, &value)))
            s_measures.Received(StampOf(value), received);
        VariantClear(&value);
    }
    SafeArrayDestroy(values);
    if (s_measures.Measuring() && count > 0) {
        s_rounds.push_back(received - began);
        s_roundCells += count;
    }
}

// The callback: a notice only, the refresh follows from the message loop as in a spreadsheet.
class UpdateEvent final : public RtdCallback {
public:
    HRESULT STDMETHODCALLTYPE UpdateNotify() override {
        PostThreadMessageA(GetCurrentThreadId(), kRefresh, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Disconnect() override { return S_OK; }
};

UpdateEvent s_event;

SAFEARRAY* TopicStrings(int index) {
    wchar_t item[32];
    std::swprintf(item, 32, L"B%04d,TTL", index);
    const wchar_t* parts[] = {L"Snapshot", item};
    SAFEARRAY* strings = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    for (LONG i = 0; i < 2; ++i) {
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(parts[i]);
        SafeArrayPutElement(strings, &i, &value);
        VariantClear(&value);
    }
    return strings;
}

// The tray program's main window, once it stands (its class object goes up just after it), and
// the server made in that process; a minute at most.
HWND StartServer() {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Zanvo.RTD", &clsid))) {
        std::fprintf(stderr, "bench-rtd-client: Zanvo.RTD is not registered\n");
        return nullptr;
    }
    for (int wait = 0; wait < 600; ++wait) {
        if (HWND main = FindWindowA(kMainWindowClass, nullptr)) {
            LONG started = 0;
            if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER,
                                           __uuidof(IRtdServer),
                                           reinterpret_cast<void**>(&s_server))) &&
                SUCCEEDED(s_server->ServerStart(&s_event, &started)) && started == 1)
                return main;
            if (s_server) {
                s_server->Release();
                s_server = nullptr;
            }
        }
        Sleep(100);
    }
    std::fprintf(stderr, "bench-rtd-client: no real-time data server\n");
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench-rtd-client K WARMUP_SECONDS SECONDS\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const double warmup = std::atof(argv[2]);
    const double seconds = std::atof(argv[3]);
    CoInitialize(nullptr);
    const HWND main = StartServer();
    const unsigned long long workingSetBefore = WorkingSetOfWindow(main);
    int started = 0;
    for (int i = 1; s_server && i <= count; ++i) {
        SAFEARRAY* strings = TopicStrings(i);
        VARIANT_BOOL getNew = VARIANT_TRUE;
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(s_server->ConnectData(i, &strings, &getNew, &value)))
            ++started;
        VariantClear(&value);
        SafeArrayDestroy(strings);
    }
    std::printf("subscribed\n");
    std::fflush(stdout);
    RunFor(warmup, s_measures, Refresh);
    std::printf("measuring\n");
    std::fflush(stdout);
    const unsigned long long workingSetStart = WorkingSetOfWindow(main);
    s_rounds.reserve(1 << 20);
    s_measures.Begin();
    RunFor(seconds, s_measures, Refresh);
    s_measures.End();
    const unsigned long long workingSetAfter = WorkingSetOfWindow(main);

    std::printf("items %d started %d ", count, started);
    s_measures.Print();
    const double rounds = static_cast<double>(s_rounds.size());
    std::sort(s_rounds.begin(), s_rounds.end());
    std::printf(" round_p50_us %.0f round_p99_us %.0f cells_per_round %.0f ws_before %llu "
                "ws_start %llu ws_after %llu\n",
                Microseconds(s_rounds, 0.5), Microseconds(s_rounds, 0.99),
                rounds > 0 ? static_cast<double>(s_roundCells) / rounds : 0.0, workingSetBefore,
                workingSetStart, workingSetAfter);
    std::fflush(stdout);

    if (s_server) {
        s_server->ServerTerminate();
        s_server->Release();
        s_server = nullptr;
    }
    CoUninitialize();
    return started == count && s_measures.Values() > 0 ? 0 : 1;
}
