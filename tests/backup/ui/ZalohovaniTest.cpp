// The window "Zálohování": its sets and defaults, a backup and its listing, the restore's rules and
// its end, and a cancel in the middle of a backup.
#include "TempDataFolder.h"

#include "backup/ui/ukonceni.h"
#include "backup/ui/zalohovani.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

struct Window {
    TempDataFolder data;
    TUkonceniDlg notice;
    TZalohujFrm form;
    QStringList messages;
    QStringList questions;
    bool answer = true;
    int restored = 0;

    Window() : form(data.path(), notice) {
        form.hooks().message = [this](const QString& text) { messages << text; };
        form.hooks().question = [this](const QString& text) {
            questions << text;
            return answer;
        };
        form.hooks().restored = [this] { ++restored; };
        form.Backupfile1().setLetEventsRun(true);
    }
    template <typename T> T* get(const char* name) { return form.findChild<T*>(QString::fromLatin1(name)); }
    QStringList items(const char* list) {
        QStringList texts;
        for (int i = 0; i < get<QListWidget>(list)->count(); ++i)
            texts << get<QListWidget>(list)->item(i)->text();
        return texts;
    }
    // Restores the archive selected in "Obnovit", answering the notice that ends the program.
    void restore() {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, &notice, [this] {
            if (notice.isVisible())
                notice.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
        closer.start(10);
        get<QPushButton>("ObnovitBtn")->click();
    }
    // Writes a file whose last-write time lies long before any backup of today.
    void writeOld(const QString& name, const QByteArray& content) {
        QFile file(data.writeFile(name, content));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(
            file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(12, 0)), QFileDevice::FileModificationTime));
    }
    void select(const char* list, const QString& text) {
        QListWidget* widget = get<QListWidget>(list);
        const QList<QListWidgetItem*> found = widget->findItems(text, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        widget->setCurrentItem(found.first());
    }
};

} // namespace

class ZalohovaniTest : public QObject {
    Q_OBJECT

private slots:
    void activationSetsTheFoldersSetsAndDefaults() {
        Window w;
        QVERIFY(!QFileInfo::exists(w.data.filePath(QStringLiteral("zaloha"))));
        w.form.show();
        QCOMPARE(w.form.windowTitle(), QStringLiteral("Zálohování"));
        QVERIFY(QFileInfo(w.data.filePath(QStringLiteral("zaloha"))).isDir());
        const QString root = QDir::cleanPath(w.data.path());
        QCOMPARE(w.items("FileListBox"),
                 QStringList({root + "/tarvolin.ini", root + "/stav.ini", root + "/topdeset.ini",
                              root + "/topdeset1.ini", root + "/vysledky/*.*"}));
        QCOMPARE(w.get<QLineEdit>("EdPath")->text(), root);
        QVERIFY(!w.get<QLineEdit>("EdPath")->isEnabled());
        QVERIFY(w.get<QRadioButton>("rgCompressionLevel2")->isChecked());
        QCOMPARE(w.get<QRadioButton>("rgCompressionLevel2")->text(), QStringLiteral("Maximální"));
        QVERIFY(w.get<QCheckBox>("CbSaveFileID")->isChecked());
        QCOMPARE(w.get<QLineEdit>("EdBackupTitle")->text(), QStringLiteral("záloha tarvolin"));
        w.get<QRadioButton>("rbOtherPath")->setChecked(true);
        QVERIFY(w.get<QLineEdit>("EdPath")->isEnabled() && w.get<QCheckBox>("CbFullPath")->isEnabled());

        w.get<QCheckBox>("CheckBox1")->setChecked(false);
        w.get<QCheckBox>("CheckBox3")->setChecked(false);
        QCOMPARE(w.items("FileListBox"), QStringList({root + "/stav.ini", root + "/vysledky/*.*"}));
        for (const char* set : {"CheckBox2", "CheckBox4"})
            w.get<QCheckBox>(set)->setChecked(false);
        w.get<QPushButton>("ZalohovatBtn")->click();
        QCOMPARE(w.messages, QStringList({"Vyberte soubory k zalohování!"}));
        // Each activation starts afresh.
        w.form.hide();
        w.form.show();
        QCOMPARE(w.items("FileListBox").size(), 5);
        QCOMPARE(w.get<QTabWidget>("PageControl1")->currentIndex(), 0);
    }

    void aBackupIsListedAndRestoredAndTheWindowEndsTheProgram() {
        Window w;
        w.data.writeFile(QStringLiteral("Tarvolin.ini"), "[Zvuk]\r\nHrat=1\r\n");
        w.data.writeFile(QStringLiteral("stav.ini"), "[Motokara1]\r\nNajeto=5:0\r\n");
        w.data.writeFile(QStringLiteral("Vysledky/kara1"), QByteArray(3000, 'x'));
        w.form.show();
        w.get<QLineEdit>("Novysoubor")->clear();
        w.get<QPushButton>("ZalohovatBtn")->click();
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].startsWith(QStringLiteral("Záloha kompletní. Poměr komprese ")),
                 qPrintable(w.messages[0]));
        QVERIFY(w.messages[0].endsWith(QStringLiteral(" %")));
        QCOMPARE(w.items("FileListBox1"), QStringList({"zalohatarvolin.bck"}));
        QVERIFY(w.items("FileListBox2").contains(QStringLiteral("zalohatarvolin.bck")));

        w.get<QTabWidget>("PageControl1")->setCurrentIndex(1);
        w.select("FileListBox1", QStringLiteral("zalohatarvolin.bck"));
        w.form.FileListBox1Click();
        QCOMPARE(w.get<QLineEdit>("Edit2")->text(), QStringLiteral("záloha tarvolin"));
        // 16 + 26 + 3000 bytes and the file-ID list's three lines.
        QVERIFY(w.get<QLineEdit>("Edit1")->text().startsWith(QStringLiteral("3 souborů, ")));
        QVERIFY(w.get<QLineEdit>("Edit1")->text().endsWith(QStringLiteral(" KB celkem")));
        const QStringList shown = w.get<QPlainTextEdit>("MeFiles")->toPlainText().split(u'\n');
        QCOMPARE(shown.size(), 3);
        QVERIFY(shown[0].contains(QStringLiteral("/Tarvolin.ini  přidán ")));
        QVERIFY(shown[2].endsWith(QStringLiteral(", 3000 bytes")));

        // "Jinam:" needs a folder; the original place takes the files back and ends the program.
        w.get<QRadioButton>("rbOtherPath")->setChecked(true);
        w.get<QLineEdit>("EdPath")->setText(QStringLiteral("  "));
        w.get<QPushButton>("ObnovitBtn")->click();
        QCOMPARE(w.messages.last(), QStringLiteral("Zadejte cílovou cestu!"));
        w.get<QRadioButton>("rbOrigpath")->setChecked(true);
        w.data.writeFile(QStringLiteral("stav.ini"), "changed");
        w.restore();
        QCOMPARE(w.restored, 1);
        QCOMPARE(w.data.readFile(QStringLiteral("stav.ini")), QByteArray("[Motokara1]\r\nNajeto=5:0\r\n"));
        QVERIFY(!w.form.isVisible());

        // Without a selected archive the restore fails with the window's message.
        w.form.show();
        w.get<QListWidget>("FileListBox1")->clearSelection();
        w.get<QPushButton>("ObnovitBtn")->click();
        QCOMPARE(w.messages.last(), QStringLiteral("Nastala chyba obnovy dat !"));
        QCOMPARE(w.restored, 1);
    }

    void listingWithoutTitleOrFileListAndABrokenArchive() {
        Window w;
        w.data.writeFile(QStringLiteral("stav.ini"), "x");
        w.form.show();
        w.get<QCheckBox>("CbSaveFileID")->setChecked(false);
        w.get<QLineEdit>("Novysoubor")->setText(QStringLiteral("bez"));
        w.get<QPushButton>("ZalohovatBtn")->click();
        w.get<QLineEdit>("EdBackupTitle")->clear();
        w.get<QLineEdit>("Novysoubor")->setText(QStringLiteral("prazdny"));
        w.get<QPushButton>("ZalohovatBtn")->click();
        w.data.writeFile(QStringLiteral("zaloha/zly.bck"), QByteArray("\x05\0\0\0ab", 6));
        w.form.FormActivate();

        w.select("FileListBox1", QStringLiteral("bez.bck"));
        w.form.FileListBox1Click();
        QCOMPARE(w.get<QLineEdit>("Edit1")->text(), QStringLiteral("1 souborů, 0 KB celkem"));
        QCOMPARE(w.get<QPlainTextEdit>("MeFiles")->toPlainText(), QStringLiteral("Neznámý archiv!"));
        // The listing goes when its archive is deselected or gone.
        w.get<QListWidget>("FileListBox1")->clearSelection();
        QCOMPARE(w.get<QLineEdit>("Edit1")->text(), QString());
        w.select("FileListBox1", QStringLiteral("bez.bck"));
        w.form.FileListBox1Click();
        QFile::copy(w.data.filePath(QStringLiteral("zaloha/bez.bck")),
                    w.data.filePath(QStringLiteral("bez.bck")));
        QFile::remove(w.data.filePath(QStringLiteral("zaloha/bez.bck")));
        w.form.FormActivate();
        QCOMPARE(w.get<QPlainTextEdit>("MeFiles")->toPlainText(), QString());
        QCOMPARE(w.get<QLineEdit>("Edit2")->text(), QString());
        QFile::rename(w.data.filePath(QStringLiteral("bez.bck")),
                      w.data.filePath(QStringLiteral("zaloha/bez.bck")));
        w.select("FileListBox1", QStringLiteral("prazdny.bck"));
        w.form.FileListBox1Click();
        QCOMPARE(w.get<QLineEdit>("Edit1")->text(), QString());
        QCOMPARE(w.get<QPlainTextEdit>("MeFiles")->toPlainText(), QString());

        // An archive that ends early is never shown as a normal one.
        const QByteArray whole = w.data.readFile(QStringLiteral("zaloha/bez.bck"));
        w.data.writeFile(QStringLiteral("zaloha/cut.bck"), whole.left(whole.size() - 4));
        w.form.FormActivate();
        w.select("FileListBox1", QStringLiteral("cut.bck"));
        w.form.FileListBox1Click();
        QCOMPARE(w.get<QLineEdit>("Edit1")->text(),
                 QStringLiteral("Poškozená záloha: soubor končí předčasně!"));

        // A raised error is shown alone.
        w.messages.clear();
        w.select("FileListBox1", QStringLiteral("zly.bck"));
        w.get<QPushButton>("ObnovitBtn")->click();
        QCOMPARE(w.messages, QStringList({"Cannot read archive"}));
    }

    void eachRestoreOptionDoesWhatItsCaptionSays() {
        Window w;
        w.data.writeFile(QStringLiteral("stav.ini"), "archived");
        w.form.show();
        w.get<QPushButton>("ZalohovatBtn")->click();
        w.get<QTabWidget>("PageControl1")->setCurrentIndex(1);
        w.select("FileListBox1", QStringLiteral("zalohatarvolin.bck"));
        for (int option = 0; option < 5; ++option)
            QVERIFY(!w.get<QRadioButton>(qPrintable(QStringLiteral("rgRestoreMode%1").arg(option)))
                         ->toolTip()
                         .isEmpty());
        QVERIFY(w.get<QRadioButton>("rgRestoreMode1")->toolTip().contains(QStringLiteral("neexistují")));
        // "Nepřepisovat" leaves even an older file as it is.
        w.writeOld(QStringLiteral("stav.ini"), "older");
        w.get<QRadioButton>("rgRestoreMode1")->setChecked(true);
        w.restore();
        QCOMPARE(w.data.readFile(QStringLiteral("stav.ini")), QByteArray("older"));
        // "Nikdy" puts the newer archived file over the older one.
        w.form.show();
        w.get<QTabWidget>("PageControl1")->setCurrentIndex(1);
        w.select("FileListBox1", QStringLiteral("zalohatarvolin.bck"));
        w.get<QRadioButton>("rgRestoreMode2")->setChecked(true);
        w.restore();
        QCOMPARE(w.data.readFile(QStringLiteral("stav.ini")), QByteArray("archived"));
    }

    void zavritDuringABackupAsksAndCancels() {
        Window w;
        QByteArray noise(600'000, Qt::Uninitialized);
        for (char& byte : noise)
            byte = char(QRandomGenerator::global()->generate());
        w.data.writeFile(QStringLiteral("vysledky/velky"), noise);
        const QByteArray previous("yesterday's archive");
        w.data.writeFile(QStringLiteral("zaloha/zalohatarvolin.bck"), previous);
        w.form.show();
        QTimer::singleShot(0, &w.form, [&w] { w.get<QPushButton>("BtnCancel")->click(); });
        w.get<QPushButton>("ZalohovatBtn")->click();
        QCOMPARE(w.questions, QStringList({"Chcete přerušit zálohování !"}));
        const QString unfinished =
            QStringLiteral("Záloha nebyla dokončena, předchozí záloha zůstala beze změny.");
        QCOMPARE(w.messages, QStringList({"Nastala chyba vytvoření záložního souboru!\n" + unfinished}));
        QCOMPARE(w.get<QLabel>("Label1")->text(), unfinished);
        QVERIFY(w.form.isVisible());
        // The previous archive byte for byte, and nothing written beside it.
        QCOMPARE(w.data.readFile(QStringLiteral("zaloha/zalohatarvolin.bck")), previous);
        QCOMPARE(QDir(w.data.filePath(QStringLiteral("zaloha"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"zalohatarvolin.bck"}));
        // Not busy: "Zavřít" closes.
        w.get<QPushButton>("BtnCancel")->click();
        QVERIFY(!w.form.isVisible());
    }
};

QTEST_MAIN(ZalohovaniTest)
#include "ZalohovaniTest.moc"
