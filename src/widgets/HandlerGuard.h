#pragma once

#include <exception>
#include <type_traits>
#include <utility>

namespace ballvane {

// Every handler that Qt calls (a click, a key, a focus move, a change of text or
// record) runs inside this guard: an error is shown in the standard error box, the
// handler's remaining steps do not run, and the event loop goes on. No exception
// ever crosses Qt. Handlers that call one another from code (a click performed by
// the program) call plainly, so an error stops the calling handler too.
class HandlerGuard {
public:
    template <typename Handler> static void run(Handler&& handler) {
        try {
            std::forward<Handler>(handler)();
        } catch (...) {
            report(std::current_exception());
        }
    }

    static void report(std::exception_ptr error);
};

// Wraps a handler for Qt's connect: the slot runs it inside the guard, with the
// signal's arguments when it takes them.
template <typename Handler> auto guarded(Handler handler) {
    return [handler = std::move(handler)](auto&&... args) {
        HandlerGuard::run([&] {
            if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
                handler(args...);
            else
                handler();
        });
    };
}

} // namespace ballvane
