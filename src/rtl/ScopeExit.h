// The one "finally": TScopeExit runs its action when the scope ends, on the
// normal path and when an exception leaves it. Dismiss() drops the action,
// for an undo that only a failure should run.
//
//     FUpdating = true;
//     TScopeExit restore([&] { FUpdating = false; });
#pragma once

#include <exception>
#include <utility>

template <class F>
class [[nodiscard]] TScopeExit {
public:
    explicit TScopeExit(F action) : action_(std::move(action)), unwinding_(std::uncaught_exceptions()) {}
    // An action that raises on the normal path raises from here; while an
    // exception already leaves the scope, that first exception is the one
    // that goes on (a second would end the program).
    ~TScopeExit() noexcept(false)
    {
        if (!armed_)
            return;
        if (std::uncaught_exceptions() > unwinding_) {
            try {
                action_();
            } catch (...) {
            }
        } else {
            action_();
        }
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

    void Dismiss() noexcept { armed_ = false; }

private:
    F action_;
    int unwinding_;
    bool armed_ = true;
};
