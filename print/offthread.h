#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace zor {

// Work that waits for the print spooler runs on a thread of its own, so the
// window keeps answering however long the spooler takes. The window's thread
// looks at the task now and then; it may stop waiting at any time, and the
// work then ends on its own (the thread keeps what it needs).
template<typename T>
class OffThread
{
public:
    struct State
    {
        std::atomic_bool cancelled{false}; // the waiting side gave up or the user cancelled
        std::atomic_bool finished{false};
        std::atomic_int done{0}; // progress, for the box that shows it
        std::atomic_int total{0};
        std::mutex mutex;
        std::optional<T> result;
    };

    // Runs work(State &) -> T.
    template<typename F>
    static OffThread start(F work)
    {
        auto state = std::make_shared<State>();
        std::thread([state, work = std::move(work)]() mutable {
            T r = work(*state);
            {
                const std::lock_guard<std::mutex> lock(state->mutex);
                state->result.emplace(std::move(r));
            }
            state->finished = true;
        }).detach();
        return OffThread(std::move(state));
    }

    bool finished() const { return m_state->finished; }
    void cancel() { m_state->cancelled = true; }
    int done() const { return m_state->done; }
    int total() const { return m_state->total; }

    // The result, once finished.
    T take()
    {
        const std::lock_guard<std::mutex> lock(m_state->mutex);
        return std::move(*m_state->result);
    }

private:
    explicit OffThread(std::shared_ptr<State> state)
        : m_state(std::move(state))
    { }
    std::shared_ptr<State> m_state;
};

} // namespace zor
