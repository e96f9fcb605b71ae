// Win32: what the end-to-end benchmark clients measure, the same way for DDE and real-time data.
// Every value carries the time its server stamped into it (QueryPerformanceCounter ticks, one
// clock for every process of the machine): the delay from that stamp to the receipt, and the
// freshness a user sees, the age of the newest value the client holds, sampled every 100 ms of
// the window whatever the client is busy with.
#pragma once

#include <windows.h>

#include <vector>

long long Now();
long long TicksPerSecond();

// The working set of the process that owns the window, in bytes; 0 when unknown.
unsigned long long WorkingSetOfWindow(HWND window);

class ClientMeasures {
public:
    ClientMeasures();

    // The window: values are counted from Begin to End; the newest stamp is kept throughout.
    void Begin();
    void End();
    // One value received now with its server's stamp (0 when the text has none).
    void Received(long long stamp, long long now);
    // Takes the freshness samples due by now.
    void Sample(long long now);
    bool Measuring() const { return m_measuring; }
    long long Values() const { return m_values; }

    // "updates N seconds T rate R p50_us X p99_us Y fresh_p50_us F fresh_p99_us G"
    void Print() const;

private:
    bool m_measuring = false;
    long long m_begin = 0;
    long long m_end = 0;
    long long m_nextSample = 0;
    long long m_newest = 0;
    long long m_values = 0;
    std::vector<long long> m_delays; // ticks
    std::vector<long long> m_ages;   // ticks
};

// Percentile of sorted tick counts, in microseconds.
double Microseconds(const std::vector<long long>& sorted, double fraction);

// Runs the message loop for the given time, sampling between messages; a thread message (no
// window) goes to onThreadMessage when given.
void RunFor(double seconds, ClientMeasures& measures,
            void (*onThreadMessage)(const MSG&) = nullptr);
