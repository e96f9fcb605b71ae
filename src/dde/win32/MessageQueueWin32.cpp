// Win32: the thread's message queue, emptied with PeekMessageA and DispatchMessageA.
#include "../MessageQueue.h"

#include <windows.h>

namespace {

class Win32MessageQueue final : public MessageQueue {
public:
    void DispatchWaiting() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }
};

} // namespace

MessageQueue& PlatformMessageQueue() {
    static Win32MessageQueue queue;
    return queue;
}
