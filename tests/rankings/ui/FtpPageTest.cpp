// The page "Ftp klient" of the settings window driven through its controls against a real FTP server
// on loopback: the boxes and the send button, the labels, the pictures of the best-twenty window, an
// error's message, and OK cutting the connection before it saves.
#include "PyFtpServer.h"
#include "TempDataFolder.h"

#include "config/TSettings.h"
#include "config/ui/nastaveni.h"
#include "rankings/BestTwentyTables.h"
#include "rankings/FtpClient.h"
#include "rankings/FtpSend.h"
#include "rankings/ui/FtpPage.h"
#include "rankings/ui/TopTen10.h"
#include "rankings/ui/UpravDlg.h"
#include "rankings/ui/UpravDlg1.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

template <typename T> T* control(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

} // namespace

class FtpPageTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_data = std::make_unique<TempDataFolder>();
        m_tables = std::make_unique<BestTwentyTables>(m_data->path(), m_settings);
        m_menEdit = std::make_unique<TUpravDlg>();
        m_womenEdit = std::make_unique<TUpravDlg1>();
        m_topTen = std::make_unique<TTopTen10Frm>(*m_tables, *m_menEdit, *m_womenEdit);
        m_client = std::make_unique<FtpClient>();
        m_send = std::make_unique<FtpSend>(m_settings, *m_client);
        m_send->hooks().makeTablePictures = [this](const QString& men, const QString& women) {
            m_topTen->saveFtpPictures(men, women);
        };
        // The page alone in the settings window's frame: it needs no other area's page.
        m_window = std::make_unique<TNastavDlg>(m_settings, m_data->path());
        m_window->addPage(new FtpPage(m_settings, m_send.get()));
    }

    void cleanup() {
        m_window.reset();
        m_send.reset();
        m_client.reset();
        m_topTen.reset();
    }

    void theOperatorSendsFilesAndTablesFromThePage() {
        PyFtpServer server;
        QString why;
        QVERIFY2(server.start(&why), qPrintable(why));
        TNastavDlg& w = *m_window;
        control<QTabWidget>(w, "PageControl1")->setCurrentWidget(control<QWidget>(w, "tbFTPklient"));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* send = control<QPushButton>(w, "btnPosliFtp");
        auto* ok = control<QPushButton>(w, "OK_BitBtn");
        auto* cancel = control<QPushButton>(w, "btn_Zrus");
        QVERIFY(!send->isEnabled());
        QCOMPARE(control<QLabel>(w, "StateLabel")->text(), QStringLiteral("Připraven"));

        const QByteArray results = "Výsledky závodu\r\n";
        const QString resultsPath = m_data->writeFile(QStringLiteral("Vysledky.TXT"), results);
        control<QLineEdit>(w, "FtpHostitel")->setText(QStringLiteral("127.0.0.1:%1").arg(server.port()));
        control<QLineEdit>(w, "FtpJmeno")->setText(QString::fromLatin1(PyFtpServer::User));
        control<QLineEdit>(w, "FtpHeslo")->setText(QString::fromUtf8(PyFtpServer::Password));
        control<QCheckBox>(w, "cbPasivni")->click();
        QVERIFY(m_settings.Ftp.Pasivni);
        control<QLineEdit>(w, "FtpSoubor3")->setText(resultsPath);
        control<QLineEdit>(w, "FtpSoubor4")->setText(m_data->filePath(QStringLiteral("Tabulky")));
        control<QCheckBox>(w, "cbFtp3")->click();
        QVERIFY(send->isEnabled());
        control<QCheckBox>(w, "cbFtp4")->click();
        control<QCheckBox>(w, "cbFtp5")->click();
        QVERIFY(!control<QCheckBox>(w, "cbFtp4")->isChecked());
        QVERIFY(!m_settings.Ftp.Posilat[3]);

        send->click();
        QVERIFY(!ok->isEnabled());
        QVERIFY(!cancel->isEnabled());
        QVERIFY(!send->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(server.received().size(), 3, 30000);
        QCOMPARE(server.received(),
                 (QStringList{QStringLiteral("vysledky.txt"), QStringLiteral("Tabulky_muzi.jpg"),
                              QStringLiteral("Tabulky_zeny.jpg")}));
        QFile uploaded(server.root() + QStringLiteral("/vysledky.txt"));
        QVERIFY(uploaded.open(QIODevice::ReadOnly));
        QCOMPARE(uploaded.readAll(), results);
        const QImage men(server.root() + QStringLiteral("/Tabulky_muzi.jpg"));
        const QImage women(server.root() + QStringLiteral("/Tabulky_zeny.jpg"));
        QCOMPARE(men.size(), QSize(355, 449));
        QCOMPARE(women.size(), QSize(354, 449));
        QCOMPARE(control<QSpinBox>(*m_topTen, "SpinKvalita1")->value(), 15);
        QVERIFY(!m_topTen->isVisible());

        QTRY_VERIFY_WITH_TIMEOUT(ok->isEnabled(), 30000);
        QVERIFY(cancel->isEnabled());
        QVERIFY(!send->isEnabled());
        QCOMPARE(control<QLabel>(w, "InfoLabel")->text(),
                 QString::number(QFile(m_data->filePath(QStringLiteral("Tabulky_zeny.jpg"))).size()));
        QCOMPARE(control<QLabel>(w, "StateLabel")->text(), QStringLiteral("Připraven"));
        QVERIFY(m_client->isConnected());

        // A missing file: its error is shown, and the remaining steps still go.
        const QString missing = m_data->filePath(QStringLiteral("chybi.txt"));
        control<QLineEdit>(w, "FtpSoubor1")->setText(missing);
        control<QCheckBox>(w, "cbFtp1")->click();
        // The message box waits for the operator in its own loop; a timer's tick inside it answers.
        QString shown;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        answer.start(20);
        send->click();
        QTRY_COMPARE_WITH_TIMEOUT(server.received().size(), 6, 30000);
        QCOMPARE(shown, QStringLiteral("Chyba 426 Unable to open local file ") + missing);
        QTRY_VERIFY_WITH_TIMEOUT(ok->isEnabled(), 30000);

        // OK cuts the connection before it saves the settings, the two new keys among them.
        ok->click();
        QVERIFY(!m_client->isConnected());
        QFile saved(m_data->filePath(QStringLiteral("tarvolin.ini")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray ini = saved.readAll();
        QVERIFY(ini.contains("FtpAdr4=\r\nPasivni=1\r\nTLS=0\r\n"));
        QVERIFY(!w.isVisible());
    }

private:
    TSettings m_settings;
    std::unique_ptr<TempDataFolder> m_data;
    std::unique_ptr<BestTwentyTables> m_tables;
    std::unique_ptr<TUpravDlg> m_menEdit;
    std::unique_ptr<TUpravDlg1> m_womenEdit;
    std::unique_ptr<TTopTen10Frm> m_topTen;
    std::unique_ptr<FtpClient> m_client;
    std::unique_ptr<FtpSend> m_send;
    std::unique_ptr<TNastavDlg> m_window;
};

QTEST_MAIN(FtpPageTest)
#include "FtpPageTest.moc"
