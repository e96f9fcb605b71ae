// The calling thread's message queue, as the server needs it: every waiting message dispatched
// while it reconnects the supplier, so that queued DDE transactions and data-manager
// notifications are handled before the supplier connects again; and work posted to run later
// from the message loop, outside whatever notification is being handled now. Win32 and POSIX
// implementations live in win32/ and posix/; tests may give the server their own.
#pragma once

#include <functional>

class MessageQueue {
public:
    virtual ~MessageQueue() = default;
    // Dispatches messages until none is waiting, or until the quit message, which is posted
    // again for the thread's message loop; returns without waiting for more.
    virtual void DispatchWaiting() = 0;
    // Runs task later, from the thread's message loop, after the message in hand and those
    // already waiting.
    virtual void Post(std::function<void()> task) = 0;
};

// The platform's queue of the calling thread.
MessageQueue& PlatformMessageQueue();
