// POSIX, for the native build: there is no window-message queue, so nothing is ever waiting.
#include "../MessageQueue.h"

namespace {

class EmptyMessageQueue final : public MessageQueue {
public:
    void DispatchWaiting() override {}
};

} // namespace

MessageQueue& PlatformMessageQueue() {
    static EmptyMessageQueue queue;
    return queue;
}
