// Win32: the thread's message queue, emptied with PeekMessageA and DispatchMessageA. Posted tasks
// wait in a list; a message to a hidden message-only window of the posting thread runs them, in
// turn with the other posted messages.
#include "../MessageQueue.h"

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

constexpr char kWindowClass[] = "ZanvoQueuedTasks";
constexpr UINT kRunTasks = WM_APP + 1;

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

class Win32MessageQueue final : public MessageQueue {
public:
    void DispatchWaiting() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // The quit message belongs to the thread's message loop, which must still see it.
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            DispatchMessageA(&msg);
        }
    }

    void Post(std::function<void()> task) override {
        m_tasks.push_back(std::move(task));
        if (!m_posted && Window()) {
            m_posted = PostMessageA(m_window.get(), kRunTasks, 0, 0) != FALSE;
        }
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != kRunTasks) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        auto* self = reinterpret_cast<Win32MessageQueue*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self) {
            self->RunTasks();
        }
        return 0;
    }

    void RunTasks() {
        m_posted = false;
        // Tasks posted while these run wait for the next message.
        std::vector<std::function<void()>> tasks;
        tasks.swap(m_tasks);
        for (const auto& task : tasks) {
            task();
        }
    }

    HWND Window() {
        if (m_window) {
            return m_window.get();
        }
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            return nullptr;
        }
        m_window.reset(CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       windowClass.hInstance, nullptr));
        if (m_window) {
            SetWindowLongPtrA(m_window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        }
        return m_window.get();
    }

    std::vector<std::function<void()>> m_tasks;
    WindowHandle m_window;
    bool m_posted = false;
};

} // namespace

MessageQueue& PlatformMessageQueue() {
    static Win32MessageQueue queue;
    return queue;
}
