#pragma once
// The message an action refuses with, for tables of refusals.

#include <exception>
#include <functional>
#include <string>

/// What the action threw, or "<sin error>" when it did not refuse.
inline std::string mensajeDe(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "<sin error>";
}
