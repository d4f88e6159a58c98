#pragma once

#include <exception>
#include <utility>

#include "ui/error_report.h"

namespace quillex {

// Shows a failure that reached a handler's boundary by the general error report (the
// message with a full stop; "Unknown error." for what is no std::exception).
void ReportUncaught(ErrorReport& report, const std::exception* error) noexcept;

// Runs `handler` where a slot or an event handler meets Qt's event dispatch, which an
// exception must never unwind through: a failure the handler does not catch itself is
// reported here, and the event loop goes on.
template <class F>
void ReportingFailures(ErrorReport& report, F&& handler) noexcept {
    try {
        std::forward<F>(handler)();
    } catch (const std::exception& error) {
        ReportUncaught(report, &error);
    } catch (...) {
        ReportUncaught(report, nullptr);
    }
}

// A slot for connect() that runs `handler` so; it takes the signal's arguments `Args`.
template <class... Args, class F>
auto Guarded(ErrorReport& report, F handler) {
    return [&report, handler = std::move(handler)](Args... args) {
        ReportingFailures(report, [&] { handler(args...); });
    };
}

// The same for a member function of `object`.
template <class Object, class... Args>
auto Guarded(ErrorReport& report, Object* object, void (Object::*handler)(Args...)) {
    return Guarded<Args...>(report,
                            [object, handler](Args... args) { (object->*handler)(args...); });
}

}  // namespace quillex
