#pragma once

#include <QApplication>

// The application object. Its notify() is the event boundary: an error thrown by a handler ends the
// user action there, the operator sees its message, and the program goes on with the state reached.
class TarvolinApplication : public QApplication {
    Q_OBJECT

public:
    TarvolinApplication(int& argc, char** argv);

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
};
