#pragma once

#include "components/StoreError.h"

#include <functional>
#include <string>

// The store's message for what `f` did; `accepted` when it was not refused.
inline std::string refusal(const std::function<void()>& f, const std::string& accepted = "accepted") {
    try {
        f();
    } catch (const StoreError& e) {
        return e.message().toStdString();
    }
    return accepted;
}
