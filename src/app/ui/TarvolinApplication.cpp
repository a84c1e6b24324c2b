#include "app/ui/TarvolinApplication.h"

#include "platform/ShutdownSignals.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <exception>

TarvolinApplication::TarvolinApplication(int& argc, char** argv)
    : QApplication(argc, argv),
      m_previousReporter(ErrorBoundary::setReporter([this](const QString& message) { showError(message); })) {
    // The standard dialogs and buttons (file dialogs, "Ano"/"Ne") speak the station's language. The
    // desktop's own file dialogs would speak the desktop's, so Qt's are used.
    setAttribute(Qt::AA_DontUseNativeDialogs);
    auto* czech = new QTranslator(this);
    if (czech->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(czech);
}

TarvolinApplication::~TarvolinApplication() {
    ErrorBoundary::setReporter(std::move(m_previousReporter));
}

QString TarvolinApplication::errorTitle() {
    return QStringLiteral("Tarvolin");
}

QString TarvolinApplication::unknownErrorText() {
    return ErrorBoundary::unexpectedErrorText();
}

bool TarvolinApplication::notify(QObject* receiver, QEvent* event) {
    // Taken before delivery: the handler may delete its receiver.
    const char* receiverClass = receiver ? receiver->metaObject()->className() : "no receiver";
    const QEvent::Type type = event ? event->type() : QEvent::None;
    bool result = true;
    const std::exception_ptr escaped =
        ErrorBoundary::capture([&] { result = QApplication::notify(receiver, event); });
    if (!escaped)
        return result;
    qWarning("An error escaped its handler to the application (event %d for a %s); that handler should "
             "report it through ErrorBoundary::guarded()",
             int(type), receiverClass);
    ErrorBoundary::report(escaped);
    return true;
}

void TarvolinApplication::showError(const QString& message) {
    // The box is modal and runs its own event loop; handlers failing meanwhile report through here
    // again.
    QMessageBox::critical(messageParent(), errorTitle(), message);
}

QWidget* TarvolinApplication::messageParent() {
    if (QWidget* modal = activeModalWidget())
        return modal;
    if (QWidget* active = activeWindow())
        return active;
    // With no window active (a race's notice while the operator looks elsewhere), a box without a
    // parent would open behind the main window, which stays in front of everything.
    const QWidgetList windows = topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return window;
    }
    return nullptr;
}

void TarvolinApplication::reportStartFailure(const QString& message) {
    // The signals are caught before anyone can have read the message and sent one.
    ShutdownSignals shutdown;
    QMessageBox box(QMessageBox::Critical, errorTitle(), message, QMessageBox::Ok);
    QObject::connect(&shutdown, &ShutdownSignals::shutdownRequested, &box, &QMessageBox::reject);
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
    box.exec();
}
