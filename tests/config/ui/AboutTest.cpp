// The About window's lines, contact and fades, and the two notices of the settings file.
#include "config/ui/About.h"
#include "config/ui/LogoErr.h"
#include "config/ui/OnTop.h"
#include "platform/ShellOpen.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

class FakeShell : public ShellOpen {
public:
    QList<QUrl> urls;
    bool openUrl(const QUrl& url) override {
        urls << url;
        return true;
    }
    bool startDetached(const QString&, const QString&) override { return true; }
};

QStringList labelTexts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void linesComeFromTheVersion() {
        TAboutBox box(nullptr, nullptr, ProgramVersion{2, 0, 0, 23});
        QCOMPARE(box.windowTitle(), QStringLiteral("O programu tarvolin"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("ProductName"))->text(),
                 QStringLiteral("Tarvolin verze 2.0"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Version"))->text(), QStringLiteral("sestavení 23"));
        QVERIFY(labelTexts(box).contains(QStringLiteral("Orvex Software")));
        QVERIFY(box.findChild<QPushButton*>(QStringLiteral("InfoBtn"))->text() ==
                QStringLiteral("&Informace"));
        QVERIFY(box.findChild<QPushButton*>(QStringLiteral("OKButton"))->text() == QStringLiteral("&Zavřít"));
        QVERIFY(!TAboutBox::versionHistory().isEmpty());

        TAboutBox current(nullptr);
        QCOMPARE(
            current.findChild<QLabel*>(QStringLiteral("ProductName"))->text(),
            QStringLiteral("Tarvolin verze %1.%2").arg(TARVOLIN_VERSION_MAJOR).arg(TARVOLIN_VERSION_MINOR));
    }

    void namesTheDataFolderInUse() {
        TAboutBox box(nullptr);
        auto* line = box.findChild<QLabel*>(QStringLiteral("DataFolder"));
        QVERIFY(line);
        box.setDataFolder(QStringLiteral("/home/obsluha/.local/share/tarvolin"));
        QCOMPARE(line->text(), QStringLiteral("Složka s daty: /home/obsluha/.local/share/tarvolin"));
        QVERIFY(!line->isHidden());
    }

    void contactOpensANewMailMessage() {
        FakeShell shell;
        TAboutBox box(&shell);
        emit box.findChild<QLabel*>(QStringLiteral("Kontakt"))->linkActivated(QStringLiteral("mailto:x"));
        QCOMPARE(shell.urls.size(), 1);
        QCOMPARE(shell.urls.first().scheme(), QStringLiteral("mailto"));
        QCOMPARE(shell.urls.first().path(), TAboutBox::contactAddress());
    }

    void fadesRunThroughTheirLevels() {
        const QList<int> in = TAboutBox::fadeInLevels();
        QCOMPARE(in.first(), 0);
        QCOMPARE(in.at(1), 9);
        QCOMPARE(in.at(2), 13);
        QCOMPARE(in.at(in.size() - 2), 253);
        QCOMPARE(in.last(), 255);
        const QList<int> out = TAboutBox::fadeOutLevels();
        QCOMPARE(out.first(), 246);
        QCOMPARE(out.at(out.size() - 2), 2);
        QCOMPARE(out.last(), 0);

        TAboutBox box(nullptr);
        box.setFadeStepDelay(0);
        box.show();
        QTRY_COMPARE(box.windowOpacity(), 1.0);
        box.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        QVERIFY(!box.isVisible());
        QCOMPARE(box.windowOpacity(), 0.0);
        // Shown again, it fades in again.
        box.show();
        QTRY_COMPARE(box.windowOpacity(), 1.0);
        box.close();
    }

    // Not a check: with TARVOLIN_SHOTS_DIR set (under an X server) it captures the three windows.
    void screenshots() {
        const QString shots = qEnvironmentVariable("TARVOLIN_SHOTS_DIR");
        if (shots.isEmpty())
            QSKIP("TARVOLIN_SHOTS_DIR not set");
        TAboutBox about(nullptr);
        TLogoErrDlg logo;
        TVzdyNavrchuDlg onTop;
        const std::pair<QDialog*, QString> windows[] = {{&about, QStringLiteral("about")},
                                                        {&logo, QStringLiteral("logoerr")},
                                                        {&onTop, QStringLiteral("ontop")}};
        for (const auto& [window, name] : windows) {
            window->move(10, 10);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            // The About window fades in; the capture waits until it is fully there.
            QTRY_COMPARE_WITH_TIMEOUT(window->windowOpacity(), 1.0, 20000);
            window->repaint();
            QGuiApplication::sync();
            QCOMPARE(QProcess::execute(QStringLiteral("import"),
                                       {QStringLiteral("-window"), QStringLiteral("root"),
                                        shots + QLatin1Char('/') + name + QStringLiteral(".png")}),
                     0);
            window->hide();
        }
    }

    void logoNotice() {
        TLogoErrDlg notice;
        QCOMPARE(notice.windowTitle(), QStringLiteral("Dialog"));
        const QStringList texts = labelTexts(notice);
        QVERIFY(texts.contains(QStringLiteral("LOGO není dostupné!")));
        QVERIFY(texts.contains(QStringLiteral("Provedte kontrolu nastavení tisku.")));
        QTimer::singleShot(0, &notice,
                           [&] { notice.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click(); });
        QCOMPARE(notice.findChild<QPushButton*>(QStringLiteral("OKBtn"))->text(), QStringLiteral("Ano"));
        QCOMPARE(notice.exec(), int(QDialog::Accepted));
    }

    void onTopNoticeQuitsByDefault() {
        TVzdyNavrchuDlg notice;
        QCOMPARE(notice.windowTitle(), QStringLiteral("Upozornění"));
        const QStringList texts = labelTexts(notice);
        QVERIFY(texts.contains(QStringLiteral("Změny se projeví až po ukončení aplikace !")));
        QVERIFY(texts.contains(QStringLiteral("Chcete aplikaci ukončit hned ?")));
        auto* quit = notice.findChild<QPushButton*>(QStringLiteral("UkoncitBtn"));
        auto* keepOn = notice.findChild<QPushButton*>(QStringLiteral("PokracovatBtn"));
        QCOMPARE(quit->text(), QStringLiteral("&Ukončit"));
        QCOMPARE(keepOn->text(), QStringLiteral("Pokračovat"));
        QVERIFY(quit->isDefault());
        QTimer::singleShot(0, &notice, [&] { QTest::keyClick(&notice, Qt::Key_Return); });
        QCOMPARE(notice.exec(), int(QDialog::Accepted));
        QTimer::singleShot(0, &notice, [&] { keepOn->click(); });
        QCOMPARE(notice.exec(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(AboutTest)
#include "AboutTest.moc"
