// Windows front end of the library: each instance owns a hidden message-only window in the
// thread that creates it, and a timer of that window runs the engine. Every callback therefore
// comes from the window procedure, inside the creating thread's message loop.
#include "Engine.h"

#include <windows.h>

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

class WindowInstance final : public mondrel::Engine {
public:
    WindowInstance() : Engine(SystemMilliseconds) {}
    ~WindowInstance() override {
        if (m_window) {
            KillTimer(m_window, kTimerId);
            SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
            DestroyWindow(m_window);
        }
    }

    bool Open() {
        m_window = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ThisModule(), nullptr);
        if (!m_window)
            return false;
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        return SetTimer(m_window, kTimerId, kTimerPeriod, nullptr) != 0;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER || message == kWakeMessage) {
            auto* self =
                reinterpret_cast<WindowInstance*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (self)
                self->Pump();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

protected:
    void Wake() override {
        if (m_window)
            PostMessageA(m_window, kWakeMessage, 0, 0);
    }

private:
    HWND m_window = nullptr;
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

void Mondrel::Shutdown() {}
