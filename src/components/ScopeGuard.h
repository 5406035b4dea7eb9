#pragma once

#include <exception>
#include <utility>

// Runs its action when the scope ends, however it ends: for resuming displays, restoring
// bookmarks and releasing flags. While an error is already on its way out, an error of the
// action itself is dropped so that the first one reaches the user.
template <typename F> class ScopeGuard {
public:
    explicit ScopeGuard(F action)
        : m_action(std::move(action)), m_exceptions(std::uncaught_exceptions()) {}
    ~ScopeGuard() noexcept(false) {
        if (std::uncaught_exceptions() > m_exceptions) {
            try {
                m_action();
            } catch (...) {
            }
        } else {
            m_action();
        }
    }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

private:
    F m_action;
    int m_exceptions;
};
