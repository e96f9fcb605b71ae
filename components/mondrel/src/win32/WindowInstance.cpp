// Windows front end of the library: each instance owns a hidden message-only window in the
// thread that creates it, and a timer of that window runs the engine. Every callback therefore
// comes from the window procedure, inside the creating thread's message loop. An instance must be
// destroyed on that thread too (windows belong to their thread).
#include "Engine.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriod = 50; // ms
constexpr UINT kWakeMessage = WM_APP + 1;
constexpr char kWindowClass[] = "MondrelEventWindow";

std::int64_t SystemMilliseconds() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    // 100 ns units since 1601-01-01.
    return static_cast<std::int64_t>(ticks.QuadPart / 10000ull) - 11644473600000ll;
}

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

// Destroying the window also ends its timer and drops the messages still queued for it.
struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

class WindowInstance final : public mondrel::Engine {
public:
    WindowInstance() : Engine(SystemMilliseconds) {}

    bool Open() {
        m_window.reset(CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       ThisModule(), nullptr));
        if (!m_window)
            return false;
        SetWindowLongPtrA(m_window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        return SetTimer(m_window.get(), kTimerId, kTimerPeriod, nullptr) != 0;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER || message == kWakeMessage) {
            auto* self =
                reinterpret_cast<WindowInstance*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (self && message == kWakeMessage)
                self->m_wakePending = false;
            if (self)
                self->Pump();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

protected:
    // One wake message at a time: the timer's pumps must not add to the ones already queued.
    void Wake() override {
        if (m_window && !m_wakePending)
            m_wakePending = PostMessageA(m_window.get(), kWakeMessage, 0, 0) != 0;
    }

    // One clock for every process of the machine, so that a client can time the delivery.
    std::int64_t BenchmarkStamp() const override {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }

private:
    WindowHandle m_window;
    bool m_wakePending = false;
};

bool RegisterWindowClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowInstance::WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

unsigned short Mondrel::Init(const char*, unsigned short, const char*, unsigned long,
                             unsigned long) {
    return RegisterWindowClass() ? 1 : 0;
}

Mondrel* Mondrel::CreateInstance() {
    if (!RegisterWindowClass())
        return nullptr;
    auto* instance = new WindowInstance();
    if (!instance->Open()) {
        delete instance;
        return nullptr;
    }
    return instance;
}

void Mondrel::DestroyInstance(Mondrel* instance) {
    delete static_cast<WindowInstance*>(instance);
}

void Mondrel::Shutdown() {
    // Fails harmlessly while an instance still has its window; Init registers the class again.
    UnregisterClassA(kWindowClass, ThisModule());
}
