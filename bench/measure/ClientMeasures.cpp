// Win32: the clients' measures; see ClientMeasures.h.
#include "ClientMeasures.h"

#include <psapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <type_traits>

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ProcessHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

std::vector<long long> Sorted(std::vector<long long> values) {
    std::sort(values.begin(), values.end());
    return values;
}

} // namespace

long long Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

long long TicksPerSecond() {
    static const long long s_frequency = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart;
    }();
    return s_frequency;
}

unsigned long long WorkingSetOfWindow(HWND window) {
    DWORD processId = 0;
    if (!window || !GetWindowThreadProcessId(window, &processId))
        return 0;
    const ProcessHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof(counters)))
        return 0;
    return counters.WorkingSetSize;
}

double Microseconds(const std::vector<long long>& sorted, double fraction) {
    if (sorted.empty())
        return 0.0;
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1));
    return static_cast<double>(sorted[index]) * 1e6 / static_cast<double>(TicksPerSecond());
}

ClientMeasures::ClientMeasures() {
    m_delays.reserve(1 << 20);
}

void ClientMeasures::Begin() {
    m_begin = Now();
    m_nextSample = m_begin;
    m_measuring = true;
}

void ClientMeasures::End() {
    m_end = Now();
    m_measuring = false;
}

void ClientMeasures::Received(long long stamp, long long now) {
    if (stamp <= 0 || stamp > now)
        stamp = 0;
    m_newest = std::max(m_newest, stamp);
    if (!m_measuring)
        return;
    ++m_values;
    if (stamp > 0)
        m_delays.push_back(now - stamp);
}

void ClientMeasures::Sample(long long now) {
    if (!m_measuring || now < m_nextSample)
        return;
    const long long interval = TicksPerSecond() / 10;
    for (; m_nextSample <= now; m_nextSample += interval) {
        if (m_newest > 0)
            m_ages.push_back(now - m_newest);
    }
}

void ClientMeasures::Print() const {
    const double elapsed =
        static_cast<double>(m_end - m_begin) / static_cast<double>(TicksPerSecond());
    const std::vector<long long> delays = Sorted(m_delays);
    const std::vector<long long> ages = Sorted(m_ages);
    std::printf("updates %lld seconds %.2f rate %.0f p50_us %.0f p99_us %.0f fresh_p50_us %.0f "
                "fresh_p99_us %.0f",
                m_values, elapsed, elapsed > 0 ? static_cast<double>(m_values) / elapsed : 0.0,
                Microseconds(delays, 0.5), Microseconds(delays, 0.99), Microseconds(ages, 0.5),
                Microseconds(ages, 0.99));
}

void RunFor(double seconds, ClientMeasures& measures, void (*onThreadMessage)(const MSG&)) {
    const long long end = Now() + static_cast<long long>(seconds * TicksPerSecond());
    for (long long now = Now(); now < end; now = Now()) {
        measures.Sample(now);
        MSG msg;
        // The servers post faster than this loop takes their data: the queue may never run dry,
        // so the time is checked between messages too.
        while ((now = Now()) < end && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            measures.Sample(now);
            if (!msg.hwnd && onThreadMessage) {
                onThreadMessage(msg);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        now = Now();
        if (now >= end)
            break;
        const DWORD wait = static_cast<DWORD>((end - now) * 1000 / TicksPerSecond());
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(wait, 20), QS_ALLINPUT);
    }
}
