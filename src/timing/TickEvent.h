#pragma once

#include <QEvent>

#include <memory>

// A tick handed from a timer's worker to the main thread. A plain event posted to an object that
// lives on the main thread costs one allocation per tick where a queued functor call costs two. It
// holds the state it belongs to, so that a tick that outlives its timer still finds valid memory.
class TickEvent : public QEvent {
public:
    explicit TickEvent(std::shared_ptr<void> shared) : QEvent(type()), m_shared(std::move(shared)) {}

    static QEvent::Type type() {
        static const auto registered = QEvent::Type(QEvent::registerEventType());
        return registered;
    }

    template <typename T> std::shared_ptr<T> shared() const { return std::static_pointer_cast<T>(m_shared); }

private:
    std::shared_ptr<void> m_shared;
};
