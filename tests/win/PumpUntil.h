// Dispatches the thread's messages until done() holds, or false once the guard time has run out.
// The guard only keeps a broken library or partner from hanging the run; it is no measure of speed.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>

inline bool PumpUntil(const std::function<bool()>& done, DWORD guardMs) {
    const ULONGLONG end = GetTickCount64() + guardMs;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return false;
        }
        // Messages already looked at do not end the wait, hence the short slices.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min(end - now, 50ull)),
                                  QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}
