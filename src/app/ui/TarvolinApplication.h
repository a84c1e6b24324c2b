#pragma once

#include "base/ErrorBoundary.h"

#include <QApplication>

// The application object. It installs the error boundary's reporter, which shows a failed action's
// message in a message box. Its notify() is only the last net: every handler reports its own errors,
// so an error that reaches notify() escaped a handler that should have been guarded; it is logged as
// such and shown all the same, and the program goes on with the state reached.
class TarvolinApplication : public QApplication {
    Q_OBJECT

public:
    TarvolinApplication(int& argc, char** argv);
    ~TarvolinApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // Title of the error message boxes.
    static QString errorTitle();
    // Text shown for an error that is not one of ours.
    static QString unknownErrorText();

    // The program cannot start: the message goes to the standard error and into a message box, which
    // SIGTERM or SIGINT close as the operator's OK does.
    static void reportStartFailure(const QString& message);

private:
    void showError(const QString& message);
    // The window a message box belongs in front of.
    static QWidget* messageParent();

    ErrorBoundary::Reporter m_previousReporter;
};
