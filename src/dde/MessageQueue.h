// The calling thread's message queue, as the server needs it while it reconnects the supplier:
// every waiting message dispatched, so that queued DDE transactions and data-manager
// notifications are handled before the supplier connects again. Win32 and POSIX implementations
// live in win32/ and posix/; tests install their own.
#pragma once

class MessageQueue {
public:
    virtual ~MessageQueue() = default;
    // Dispatches messages until none is waiting; returns without waiting for more.
    virtual void DispatchWaiting() = 0;
};

// The queue in force: the platform's, unless a test installed its own.
MessageQueue& CurrentMessageQueue();

// Installs a queue (not owned); nullptr returns to the platform's.
void SetMessageQueue(MessageQueue* queue);

// The platform's queue.
MessageQueue& PlatformMessageQueue();
