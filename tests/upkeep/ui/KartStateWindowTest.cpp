// The kart state window over a real "stav.ini": the zeroing with its confirmation, "Potvrdit", the
// ways of leaving it that store nothing, and the reminder window.
#include "FakeSoundPlayer.h"
#include "MessageBoxAnswerer.h"
#include "TempDataFolder.h"

#include "config/IniFile.h"
#include "config/TextCodec.h"
#include "upkeep/KartUpkeep.h"
#include "upkeep/ui/Hlaseni.h"
#include "upkeep/ui/Potvrd.h"
#include "upkeep/ui/stav_kar.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

// Answers the next modal window with the button of that name.
void answerWith(const QString& button) {
    QTimer::singleShot(0, [button] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QApplication::activeModalWidget()->findChild<QPushButton*>(button)->click();
    });
}

} // namespace

class KartStateWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_data = std::make_unique<TempDataFolder>();
        m_data->writeFile(QStringLiteral("stav.ini"),
                          "[Motokara2]\r\nPocatecniStavHod=10\r\nPocatecniStavMin=50\r\nNajeto=3:30\r\n"
                          "PrumernaSpotreba=5\r\n");
        m_upkeep = std::make_unique<KartUpkeep>(m_data->path());
        m_confirm =
            std::make_unique<TPotvrdDlg>(&m_sound, m_data->filePath(QStringLiteral("zvuky/prg/potvrd.wav")));
        m_window = std::make_unique<TStav_KarFrm>(*m_upkeep, *m_confirm);
        QVERIFY(m_upkeep->load().isEmpty());
        m_window->FormActivate();
    }

    void theZeroingKeepsTheTotalAndIsStoredWithItsServiceLine() {
        QCOMPARE(text("Celkem2"), QStringLiteral("14:20"));
        QCOMPARE(text("Spotreba2"), QStringLiteral("17,5"));
        answerWith(QStringLiteral("CancelBtn"));
        m_window->VynulujClick(2);
        QCOMPARE(text("Najeto2"), QStringLiteral("3:30"));

        answerWith(QStringLiteral("OKBtn"));
        m_window->VynulujClick(2);
        QCOMPARE(m_sound.fileName(), m_data->filePath(QStringLiteral("zvuky/prg/potvrd.wav")));
        QCOMPARE(text("Najeto2"), QStringLiteral("0:0"));
        QCOMPARE(spin("PocStav2_Hod"), 14);
        QCOMPARE(spin("PocStav2_Min"), 20);
        QCOMPARE(text("Celkem2"), QStringLiteral("14:20"));
        QCOMPARE(text("Spotreba2"), QStringLiteral("0,0"));
        QVERIFY2(!m_data->exists(QStringLiteral("servis.txt")), "entered in the book once stored");

        m_window->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        IniFile ini;
        QVERIFY(ini.load(m_data->filePath(QStringLiteral("stav.ini"))));
        QCOMPARE(ini.readString(QStringLiteral("Motokara2"), QStringLiteral("Najeto"), QString()),
                 QStringLiteral("0:0"));
        QCOMPARE(ini.readInt(QStringLiteral("Motokara2"), QStringLiteral("PocatecniStavHod"), 0), 14);
        const QStringList book = TextCodec::decodeLines(m_data->readFile(QStringLiteral("servis.txt")));
        QCOMPARE(book.size(), 1);
        QVERIFY2(
            book.first().endsWith(QStringLiteral("  motokára 2  vynulováno 3:30 hodin  celkem 14:20 hodin")),
            qPrintable(book.first()));
    }

    void aTaskTextTheFileCannotHoldIsRefusedBeforeAnythingIsStored() {
        m_window->show();
        const QByteArray before = m_data->readFile(QStringLiteral("stav.ini"));
        auto* text = m_window->findChild<QLineEdit*>(QStringLiteral("Text3_2"));
        text->setText(QStringLiteral("Olej \U0001F6E2 vyměnit"));
        {
            MessageBoxAnswerer answerer;
            m_window->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
            QCOMPARE(answerer.texts().size(), 1);
            QVERIFY2(answerer.texts().at(0).contains(QStringLiteral("\U0001F6E2")),
                     qPrintable(answerer.texts().at(0)));
        }
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_window->findChild<QTabWidget*>()->currentIndex(), 2); // the kart's page is shown
        QCOMPARE(m_data->readFile(QStringLiteral("stav.ini")), before);

        text->setText(QStringLiteral("Olej vyměnit, Müller"));
        m_window->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        QVERIFY(!m_window->isVisible());
        IniFile ini;
        QVERIFY(ini.load(m_data->filePath(QStringLiteral("stav.ini"))));
        QCOMPARE(ini.readString(QStringLiteral("Motokara3"), QStringLiteral("Text2"), QString()),
                 QStringLiteral("Olej vyměnit, Müller"));
    }

    void cancelBringsBackTheFileAndTheMinutesCarry() {
        m_window->show();
        m_window->findChild<QSpinBox*>(QStringLiteral("PocStav2_Min"))->setValue(60);
        QCOMPARE(spin("PocStav2_Hod"), 11);
        QCOMPARE(spin("PocStav2_Min"), 0);
        QCOMPARE(text("Celkem2"), QStringLiteral("14:30"));
        m_window->findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
        QVERIFY(!m_window->isVisible());
        m_window->show();
        QCOMPARE(spin("PocStav2_Hod"), 10);
        QCOMPARE(spin("PocStav2_Min"), 50);
    }

    // "Vynuluj" confirmed, then the window left by Esc or closed: the program's close and the next
    // STOP store the records as they were, and nothing enters the service book.
    void aZeroingLeftWithoutPotvrditStoresNothing() {
        const QByteArray before = m_data->readFile(QStringLiteral("stav.ini"));
        for (const bool escape : {true, false}) {
            m_window->show();
            answerWith(QStringLiteral("OKBtn"));
            m_window->findChild<QPushButton*>(QStringLiteral("Vynuluj2"))->click();
            QCOMPARE(text("Najeto2"), QStringLiteral("0:0"));
            if (escape)
                QTest::keyClick(m_window.get(), Qt::Key_Escape);
            else
                m_window->close();
            QVERIFY(!m_window->isVisible());
            m_upkeep->storeDriven();
            QCOMPARE(najeto(2), QStringLiteral("3:30"));
            m_upkeep->store();
            QCOMPARE(najeto(2), QStringLiteral("3:30"));
            IniFile ini;
            QVERIFY(ini.load(m_data->filePath(QStringLiteral("stav.ini"))));
            QCOMPARE(ini.readInt(QStringLiteral("Motokara2"), QStringLiteral("PocatecniStavHod"), 0), 10);
            QVERIFY(!m_data->exists(QStringLiteral("servis.txt")));
        }
        QVERIFY(m_data->readFile(QStringLiteral("stav.ini")) != before); // stored, not left alone

        // Driving added while the window is open stays when the window is confirmed.
        m_window->show();
        m_upkeep->addDriven(2, 90);
        m_window->UpdateFuelFigures();
        QCOMPARE(text("Najeto2"), QStringLiteral("3:31"));
        m_window->findChild<QSpinBox*>(QStringLiteral("Pr_spotreba2"))->setValue(6);
        m_upkeep->addDriven(2, 60);
        m_window->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        QCOMPARE(najeto(2), QStringLiteral("3:32"));
        QCOMPARE(m_upkeep->states()[1].consumption, 6);
    }

    void theRemindersAreKeptUntilAcknowledged() {
        KartReminders reminders;
        THlaseniDlg window(reminders);
        KartStates states;
        states[1].tasks[0] = {true, 10, QStringLiteral("Olej")};
        states[1].tasks[3] = {true, 10, QStringLiteral("Řetěz")};
        reminders.CheckServiceTasks(states);
        QTimer::singleShot(0, &window, [&window] { window.reject(); });
        window.showIfAny();
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Hlaseni2"))->text(),
                 QStringLiteral("Olej\nŘetěz"));
        QVERIFY2(reminders.any(), "Escape keeps the texts");
        answerWith(QStringLiteral("OKBtn"));
        window.showIfAny();
        QVERIFY(!reminders.any());
    }

private:
    QString najeto(int kart) const {
        IniFile ini;
        ini.load(m_data->filePath(QStringLiteral("stav.ini")));
        return ini.readString(QStringLiteral("Motokara%1").arg(kart), QStringLiteral("Najeto"), QString());
    }
    QString text(const char* name) const {
        return m_window->findChild<QLineEdit*>(QLatin1String(name))->text();
    }
    int spin(const char* name) const { return m_window->findChild<QSpinBox*>(QLatin1String(name))->value(); }

    FakeSoundPlayer m_sound;
    std::unique_ptr<TempDataFolder> m_data;
    std::unique_ptr<KartUpkeep> m_upkeep;
    std::unique_ptr<TPotvrdDlg> m_confirm;
    std::unique_ptr<TStav_KarFrm> m_window;
};

QTEST_MAIN(KartStateWindowTest)
#include "KartStateWindowTest.moc"
