#pragma once

#include <QTimer>
#include <coroutine>
#include <deque>
#include <utility>

// Lets one coroutine at a time through, in arrival order: the disk caches own their folders alone, so a
// second sync that starts while one is running waits for it instead of writing the same files at once.
class SerialGate {
  public:
    // Held for the length of one operation; releasing it lets the next waiter in on the next turn of the
    // event loop, never inside the releasing coroutine.
    class Pass {
      public:
        explicit Pass(SerialGate* gate) : gate_(gate) {}
        Pass(Pass&& other) noexcept : gate_(std::exchange(other.gate_, nullptr)) {}
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;
        Pass& operator=(Pass&&) = delete;
        ~Pass() {
            if (gate_) gate_->release();
        }

      private:
        SerialGate* gate_;
    };

    struct Entry {
        SerialGate* gate;
        bool await_ready() const noexcept { return !gate->busy_ && gate->waiting_.empty(); }
        void await_suspend(std::coroutine_handle<> waiter) { gate->waiting_.push_back(waiter); }
        Pass await_resume() {
            gate->busy_ = true;
            return Pass(gate);
        }
    };

    // co_await gate.enter() gives a Pass; the gate is held until the Pass is destroyed.
    Entry enter() { return Entry{this}; }
    bool busy() const { return busy_; }

  private:
    void release() {
        busy_ = false;
        if (waiting_.empty()) return;
        const std::coroutine_handle<> next = waiting_.front();
        waiting_.pop_front();
        busy_ = true;  // reserved for the waiter until it runs
        QTimer::singleShot(0, [next] { next.resume(); });
    }

    bool busy_ = false;
    std::deque<std::coroutine_handle<>> waiting_;
};
