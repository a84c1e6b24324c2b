// The station program as the operator runs it, for the live page's browser test, with a hand on its
// settings window: a line "web" on standard input clicks the box "Web" (Web_Box) of the settings, as
// the operator turning the page off or on does, and answers "web 0" or "web 1" with the port served;
// a line "laps" answers with the station's lap lists, one JSON object of kart number to lap texts.
#include "app/CommandLineOptions.h"
#include "app/ui/ProgramWindows.h"
#include "app/ui/TarvolinApplication.h"
#include "config/ui/nastaveni.h"
#include "display/LiveResults.h"
#include "timing/LapList.h"
#include "timing/ui/hwunit.h"

#include <QAbstractButton>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    TarvolinApplication app(argc, argv);
    const auto windows = std::make_unique<ProgramWindows>(CommandLineOptions::parse(app.arguments()));
    windows->show();
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered))
        return 1;
    QSocketNotifier notifier(fileno(stdin), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        const QByteArray line = input.readLine().trimmed();
        if (line.isEmpty() && input.atEnd()) {
            notifier.setEnabled(false);
            return;
        }
        QByteArray answer;
        if (line == "web") {
            auto* box = windows->settingsWindow().findChild<QAbstractButton*>(QStringLiteral("Web_Box"));
            box->click();
            answer = "web " + QByteArray(box->isChecked() ? "1" : "0");
        } else if (line == "laps") {
            QJsonObject laps;
            for (int kart = 1; kart <= 4; ++kart)
                laps.insert(QString::number(kart),
                            QJsonArray::fromStringList(windows->mainWindow().lapList(kart).entries()));
            answer = QJsonDocument(laps).toJson(QJsonDocument::Compact);
        }
        std::fprintf(stdout, "%s\n", answer.constData());
        std::fflush(stdout);
    });
    return app.exec();
}
