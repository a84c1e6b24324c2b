#include "app/ui/TarvolinApplication.h"

#include "platform/ShutdownSignals.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <exception>

TarvolinApplication::TarvolinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The standard dialogs and buttons (file dialogs, "Ano"/"Ne") speak the station's language.
    auto* czech = new QTranslator(this);
    if (czech->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(czech);
}

QString TarvolinApplication::errorTitle() {
    return QStringLiteral("Tarvolin");
}

QString TarvolinApplication::unknownErrorText() {
    return QStringLiteral("Nastala neočekávaná chyba. Akce nebyla dokončena.");
}

bool TarvolinApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
    } catch (...) {
        showError(unknownErrorText());
    }
    return true;
}

void TarvolinApplication::showError(const QString& message) {
    // The box is modal and runs its own event loop; an error inside it is caught again here.
    QMessageBox::critical(activeWindow(), errorTitle(), message);
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
