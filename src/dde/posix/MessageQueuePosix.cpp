// POSIX, for the native build: there is no window-message queue, so the only waiting messages are
// the posted tasks, run when the queue is dispatched.
#include "../MessageQueue.h"

#include <utility>
#include <vector>

namespace {

class TaskQueue final : public MessageQueue {
public:
    void DispatchWaiting() override {
        // Tasks may post more; those run in the same call.
        while (!m_tasks.empty()) {
            std::vector<std::function<void()>> tasks;
            tasks.swap(m_tasks);
            for (const auto& task : tasks) {
                task();
            }
        }
    }

    void Post(std::function<void()> task) override { m_tasks.push_back(std::move(task)); }

private:
    std::vector<std::function<void()>> m_tasks;
};

} // namespace

MessageQueue& PlatformMessageQueue() {
    static TaskQueue queue;
    return queue;
}
