#include "MessageQueue.h"

namespace {
MessageQueue* s_installed = nullptr;
} // namespace

MessageQueue& CurrentMessageQueue() {
    return s_installed ? *s_installed : PlatformMessageQueue();
}

void SetMessageQueue(MessageQueue* queue) {
    s_installed = queue;
}
