#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// Where a failed user action ends. Qt does not support exceptions passing through its signal and
// event delivery, so every handler that Qt calls (a slot, a timer tick, an event handler) and that
// can raise runs its work through guarded(): a UserError ends the action there, whatever it had done
// stays done, and its message goes to the operator through the reporter. Any other exception is
// unexpected; it is shown the same way and also logged. The logic below the handlers keeps throwing.
namespace ErrorBoundary {

// Shows one message to the operator. The application installs one that opens a message box; with
// none installed (logic tests, the command-line tool) messages go to stderr.
using Reporter = std::function<void(const QString& message)>;

// Installs reporter (an empty one means stderr) and returns the one it replaces, so that a test can
// put it back.
Reporter setReporter(Reporter reporter);

// The text reported for an error that is neither a UserError nor a std::exception.
QString unexpectedErrorText();

// Shows a message that did not come as an exception (the race's own notices) the same way: through
// the reporter, on the main thread, and not twice while it is on screen.
void reportMessage(const QString& message);

// Runs action and hands back what it raised (null when it ran to the end), without reporting it. For
// handlers that must finish something first, such as releasing a timer's worker.
template <typename Action> std::exception_ptr capture(Action&& action) noexcept {
    try {
        std::forward<Action>(action)();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

namespace detail {
void reportError(const std::exception_ptr& error);
} // namespace detail

// Reports a captured error: a UserError by its message, another std::exception by its what(),
// anything else by unexpectedErrorText(). A message that is on screen already (its box still open,
// its handler failing again meanwhile) is not shown a second time. Reported off the main thread, the
// message is shown on the main thread. Returns whether there was an error.
inline bool report(const std::exception_ptr& error) {
    if (!error)
        return false;
    detail::reportError(error);
    return true;
}

// The boundary of one handler: runs action and reports what it raised. True when it ran to the end.
template <typename Action> bool guarded(Action&& action) {
    return !report(capture(std::forward<Action>(action)));
}

// A functor for QObject::connect that runs its target through guarded(). Like a plain slot it takes
// the signal's leading arguments that the target accepts and ignores the rest.
template <typename Action> class GuardedSlot {
public:
    explicit GuardedSlot(Action action) : m_action(std::move(action)) {}

    template <typename... Args, typename = std::enable_if_t<std::is_invocable_v<const Action&, Args...>>>
    void operator()(Args&&... args) const {
        guarded([&] { std::invoke(m_action, std::forward<Args>(args)...); });
    }

private:
    Action m_action;
};

// connect(button, &QPushButton::clicked, this, guardedSlot([this] { ... }));
template <typename Action> GuardedSlot<std::decay_t<Action>> guardedSlot(Action&& action) {
    return GuardedSlot<std::decay_t<Action>>(std::forward<Action>(action));
}

// connect(button, &QPushButton::clicked, this, guardedSlot(this, &TForm1::StartButton1Click)): the
// named handler stays the slot, the boundary wraps it at the connection.
template <typename Object, typename Method> auto guardedSlot(Object* object, Method method) {
    return guardedSlot([object, method](auto&&... args)
                           -> decltype(std::invoke(method, object, std::forward<decltype(args)>(args)...)) {
        return std::invoke(method, object, std::forward<decltype(args)>(args)...);
    });
}

} // namespace ErrorBoundary
