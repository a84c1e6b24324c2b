#include "base/ErrorBoundary.h"

#include "base/UserError.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <mutex>
#include <typeinfo>

namespace {

struct State {
    std::mutex mutex;
    ErrorBoundary::Reporter reporter;
    // Messages whose reporter call has not returned yet. A message box runs its own event loop, in
    // which a timer that fails at every tick would otherwise open box upon box.
    QStringList showing;
};

State& state() {
    static State instance;
    return instance;
}

void writeToStderr(const QString& message) {
    qCritical("%s", qUtf8Printable(message));
}

void show(const QString& message) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread()) {
        // Windows live on the main thread only.
        QMetaObject::invokeMethod(
            application, [message] { show(message); }, Qt::QueuedConnection);
        return;
    }
    State& s = state();
    ErrorBoundary::Reporter reporter;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.showing.contains(message))
            return;
        s.showing.append(message);
        reporter = s.reporter;
    }
    struct Shown {
        State& s;
        const QString& message;
        ~Shown() {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.showing.removeOne(message);
        }
    } shown{s, message};
    if (!reporter) {
        writeToStderr(message);
        return;
    }
    // The boundary itself must not throw back into Qt, whatever the reporter does.
    try {
        reporter(message);
    } catch (...) {
        writeToStderr(message);
    }
}

} // namespace

namespace ErrorBoundary {

Reporter setReporter(Reporter reporter) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::swap(s.reporter, reporter);
    return reporter;
}

void reportMessage(const QString& message) {
    show(message);
}

QString unexpectedErrorText() {
    return QStringLiteral("Nastala neočekávaná chyba. Akce nebyla dokončena.");
}

namespace detail {

void reportError(const std::exception_ptr& error) {
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const UserError& userError) {
        message = userError.message();
    } catch (const std::exception& unexpected) {
        message = QString::fromUtf8(unexpected.what());
        qWarning("Unexpected exception %s at a handler's boundary: %s", typeid(unexpected).name(),
                 unexpected.what());
    } catch (...) {
        message = unexpectedErrorText();
        qWarning("Unexpected exception of an unknown type at a handler's boundary");
    }
    show(message);
}

} // namespace detail

} // namespace ErrorBoundary
