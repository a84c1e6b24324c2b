// What keeps the operator's best-twenty data: the reset asks and keeps copies, and a name the table
// file cannot hold is refused in the edit window.
#include "MessageBoxAnswerer.h"
#include "TempDataFolder.h"

#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "rankings/BestTwentyTables.h"
#include "rankings/ui/BestTwentyReset.h"
#include "rankings/ui/UpravDlg.h"

#include <QDir>
#include <QLineEdit>
#include <QtTest>

class BestTwentySafetyTest : public QObject {
    Q_OBJECT

private slots:
    void theResetAsksAndKeepsCopiesOfBothTables() {
        TempDataFolder data;
        const QByteArray men = TextCodec::encodeLines({QStringLiteral("1\tTomáš\t00:41:250\tnavíc")});
        const QByteArray women = TextCodec::encodeLines({QStringLiteral("1\tAlena\t00:45:000")});
        data.writeFile(QStringLiteral("TopDeset.ini"), men);
        data.writeFile(QStringLiteral("TopDeset1.ini"), women);
        TSettings settings;
        BestTwentyTables tables(data.path(), settings);

        {
            // Enter on the question means "Ne": nothing changes, nothing is copied.
            MessageBoxAnswerer answerer;
            askAndResetBestTwenty(nullptr, tables);
            QCOMPARE(answerer.defaults(), QStringList({QStringLiteral("Ne")}));
            QVERIFY(answerer.texts().at(0).contains(QStringLiteral("Opravdu vynulovat")));
        }
        QCOMPARE(data.readFile(QStringLiteral("TopDeset.ini")), men);
        QVERIFY(!data.exists(QStringLiteral("zaloha")));

        MessageBoxAnswerer answerer(QStringLiteral("Ano"));
        askAndResetBestTwenty(nullptr, tables);
        const QStringList copies =
            QDir(data.filePath(QStringLiteral("zaloha"))).entryList(QDir::Files, QDir::Name);
        QCOMPARE(copies.size(), 2);
        QVERIFY(copies.at(0).endsWith(QStringLiteral(" TopDeset.ini")));
        QVERIFY(copies.at(1).endsWith(QStringLiteral(" TopDeset1.ini")));
        QCOMPARE(data.readFile(QStringLiteral("zaloha/") + copies.at(0)), men);
        QCOMPARE(data.readFile(QStringLiteral("zaloha/") + copies.at(1)), women);
        QCOMPARE(TextCodec::decodeLines(data.readFile(QStringLiteral("TopDeset.ini"))).at(0),
                 QStringLiteral("1\tnoname\t59:59:999"));
        // The last message names both copies.
        QCOMPARE(answerer.texts().size(), 2);
        for (const QString& copy : copies)
            QVERIFY2(answerer.texts().at(1).contains(copy), qPrintable(answerer.texts().at(1)));
    }

    void theEditWindowRefusesANameTheTableFileCannotHold() {
        TUpravDlg edit;
        MessageBoxAnswerer answerer;
        int oks = 0;
        QTimer typist;
        connect(&typist, &QTimer::timeout, &edit, [&] {
            if (QApplication::activeModalWidget() != &edit)
                return;
            // First a name with "Ø" (refused, the window stays), then one with "ü" (taken).
            auto* name = edit.findChild<QLineEdit*>(QStringLiteral("jmeno"));
            name->setText(oks == 0 ? QStringLiteral("Jürgen Ørsted") : QStringLiteral("Jürgen Orsted"));
            ++oks;
            edit.accept();
        });
        typist.start(10);
        const std::optional<QString> name =
            edit.editRow(QStringLiteral("kara1"), QStringLiteral("00:41:250"));
        QCOMPARE(oks, 2);
        QCOMPARE(name.value_or(QString()), QStringLiteral("Jürgen Orsted"));
        QCOMPARE(answerer.texts().size(), 1);
        QVERIFY2(answerer.texts().at(0).contains(QStringLiteral("\u201eØ\u201c")),
                 qPrintable(answerer.texts().at(0)));
    }
};

QTEST_MAIN(BestTwentySafetyTest)
#include "BestTwentySafetyTest.moc"
