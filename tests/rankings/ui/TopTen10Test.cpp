// The best-twenty window over real table files: what it shows, its pictures, and the row operations
// through its menus and the edit window.
#include "MessageBoxAnswerer.h"
#include "RecordingErrorReporter.h"
#include "TempDataFolder.h"

#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "rankings/BestTwentyTables.h"
#include "rankings/TablePicture.h"
#include "rankings/ui/TopTen10.h"
#include "rankings/ui/UpravDlg.h"
#include "rankings/ui/UpravDlg1.h"
#include "timing/ui/LapFileDialogs.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

QByteArray menFile() {
    QStringList lines;
    lines << QStringLiteral("1\tkara2\t00:41:250\t2026-12-09")
          << QStringLiteral("2\tTomáš Šťastný\t00:42:000") << QStringLiteral("3\tBroken\tsoon");
    for (int rank = 4; rank <= 20; ++rank)
        lines << QStringLiteral("%1\tnoname\t59:59:999").arg(rank);
    return TextCodec::encodeLines(lines);
}

QStringList texts(QTableWidget* list, int row) {
    return {list->item(row, 0)->text(), list->item(row, 1)->text(), list->item(row, 2)->text()};
}

// The share of pixels of two pictures of one size whose colours differ by more than tolerance in
// some channel.
double differingShare(const QImage& a, const QImage& b, int tolerance) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            if (qAbs(qRed(p) - qRed(q)) > tolerance || qAbs(qGreen(p) - qGreen(q)) > tolerance ||
                qAbs(qBlue(p) - qBlue(q)) > tolerance)
                ++differing;
        }
    }
    return double(differing) / (x.width() * x.height());
}

// Counts the windows shown while it lives.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow())
            shown << widget->objectName();
        return false;
    }
};

// Runs action once the next modal window is up.
void whenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        action(QApplication::activeModalWidget());
    });
}

} // namespace

class TopTen10Test : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_data = std::make_unique<TempDataFolder>();
        m_data->writeFile(QStringLiteral("TopDeset.ini"), menFile());
        m_tables = std::make_unique<BestTwentyTables>(m_data->path(), m_settings);
        m_menEdit = std::make_unique<TUpravDlg>();
        m_womenEdit = std::make_unique<TUpravDlg1>();
        m_window = std::make_unique<TTopTen10Frm>(*m_tables, *m_menEdit, *m_womenEdit);
        m_dialogs = std::make_unique<LapFileDialogs>(m_window.get());
        m_window->setSaveDialogs(m_dialogs.get());
        m_window->setDataFolder(m_data->path());
    }
    void cleanup() {
        m_window.reset();
        m_tables.reset();
        m_data.reset();
    }

    void opensWithBothTablesAndNamesARowWithoutATime() {
        RecordingErrorReporter errors;
        m_window->show();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Nejlepších dvacet časů"));
        QTableWidget* men = m_window->list(BestTwentyTables::Men);
        QTableWidget* women = m_window->list(BestTwentyTables::Women);
        QCOMPARE(men->objectName(), QStringLiteral("TopTenList"));
        QCOMPARE(women->objectName(), QStringLiteral("TopTenList1"));
        QCOMPARE(men->rowCount(), 20);
        QCOMPARE(women->rowCount(), 20);
        QCOMPARE(texts(men, 1), QStringList({"2", "Tomáš Šťastný", "00:42:000"}));
        QCOMPARE(texts(women, 19), QStringList({"20", "noname", "59:59:999"}));
        QCOMPARE(men->horizontalHeaderItem(2)->text(), QStringLiteral("Nejkratší časy"));
        QCOMPARE(men->toolTip(),
                 QStringLiteral("      Další volby vyvoláte\r\n stiskem pravého tlačítka myši."));
        QCOMPARE(men->item(0, 1)->toolTip(), QStringLiteral("Zajeto 9. 12. 2026"));
        QCOMPARE(men->item(0, 3)->text(), QStringLiteral("9.12.2026"));
        QVERIFY(men->item(1, 3)->text().isEmpty());
        // The date column stands beside the picture's columns, which keep the picture's widths.
        QCOMPARE(men->columnViewportPosition(3), TablePicture::width(BestTwentyTables::Men) - 2);
        // The women's file was missing: it is made, and the window says nothing of it.
        QVERIFY(m_data->exists(QStringLiteral("TopDeset1.ini")));
        QCOMPARE(errors.messages().size(), 1);
        QVERIFY(errors.messages().first().contains(QStringLiteral("řádek 3: \u201e3\tBroken\tsoon\u201c")));

        const auto menu = [&](const char* name) {
            QStringList items;
            for (QAction* action : m_window->findChild<QMenu*>(QLatin1String(name))->actions())
                items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            return items;
        };
        // Beside the dates the window still fits a screen 1024 pixels wide.
        QVERIFY(m_window->width() <= 1024);
        QCOMPARE(menu("TopDesetPopup"),
                 QStringList({"Upravit záznam", "Přesunout vpravo", "-", "Smazat záznam"}));
        QCOMPARE(menu("TopDesetPopup2"),
                 QStringList({"Upravit záznam", "Přesunout vlevo", "-", "Smazat záznam"}));
        auto* quality = m_window->findChild<QSpinBox*>(QStringLiteral("SpinKvalita2"));
        QCOMPARE(quality->value(), 10);
        QCOMPARE(quality->minimum(), 1);
        QCOMPARE(quality->maximum(), 100);
    }

    // The rows the last race entered stand out, named or not, until the next race.
    void marksTheRowsTheLastRaceEntered() {
        RecordingErrorReporter errors;
        std::array<KartEntry, 4> karts{};
        karts[0].laps = QStringList{QStringLiteral("00:43:000"), QStringLiteral("00:41:500")};
        m_tables->TopTenDeset(karts, QDate(2027, 3, 5));
        m_window->show();
        QTableWidget* men = m_window->list(BestTwentyTables::Men);
        QCOMPARE(texts(men, 1), QStringList({"2", "kara1", "00:41:500"}));
        const auto marked = [men](int row) { return men->item(row, 0)->background().style() != Qt::NoBrush; };
        QVERIFY(marked(1));
        QVERIFY(!marked(0) && !marked(2));
        m_tables->editName(BestTwentyTables::Men, 1, QStringLiteral("Jan"));
        m_window->showTables();
        QVERIFY(marked(1));
        m_tables->TopTenDeset({}, QDate(2027, 3, 6));
        m_window->showTables();
        QVERIFY(!marked(1));
    }

    void picturesShowTheWholeListAtItsSize() {
        m_window->show();
        QTableWidget* men = m_window->list(BestTwentyTables::Men);
        men->selectRow(1);
        // All twenty rows fit: nothing is scrolled out of the picture.
        QVERIFY(men->viewport()->rect().contains(men->visualItemRect(men->item(19, 2))));
        QCOMPARE(m_window->tablePicture(BestTwentyTables::Men).size(), QSize(355, 449));
        QCOMPARE(m_window->tablePicture(BestTwentyTables::Women).size(), QSize(354, 449));
        for (int quality : {1, 10, 100}) {
            m_window->setQuality(BestTwentyTables::Women, quality);
            const QString path = m_data->filePath(QStringLiteral("zeny%1.jpg").arg(quality));
            m_window->SaveTablePicture(BestTwentyTables::Women, path);
            QCOMPARE(QImage(path).size(), QSize(354, 449));
        }
    }

    void thePictureIsOneDrawingWhereverItIsMade() {
        // The command line draws the tables from their files alone.
        const auto fromFile = [&](BestTwentyTables::Table table) {
            TBestTwentyTable file;
            file.load(m_tables->filePath(table));
            return TablePicture::draw(file, table);
        };
        // A window never shown draws the same picture, and exports it.
        for (BestTwentyTables::Table table : {BestTwentyTables::Men, BestTwentyTables::Women})
            QCOMPARE(m_window->tablePicture(table), fromFile(table));
        QVERIFY(!m_window->isVisible());
        const QImage men = fromFile(BestTwentyTables::Men);
        m_window->setQuality(BestTwentyTables::Men, 100);
        const QString path = m_data->filePath(QStringLiteral("muzi.jpg"));
        m_window->SaveTablePicture(BestTwentyTables::Men, path);
        QVERIFY(differingShare(QImage(path), men, 48) < 0.001);

        // The list shows what is drawn; a selected row is drawn highlighted, and nothing else changes.
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTableWidget* list = m_window->list(BestTwentyTables::Men);
        list->selectRow(2);
        const QImage selected = m_window->tablePicture(BestTwentyTables::Men);
        QVERIFY(differingShare(list->grab(selected.rect()).toImage(), selected, 26) < 0.02);
        const int top = TablePicture::FrameWidth + TablePicture::HeaderHeight + 2 * TablePicture::RowHeight;
        const QRect band(0, top, men.width(), TablePicture::RowHeight);
        QCOMPARE(selected.copy(0, 0, men.width(), top), men.copy(0, 0, men.width(), top));
        QCOMPARE(selected.copy(0, band.bottom() + 1, men.width(), men.height() - band.bottom() - 1),
                 men.copy(0, band.bottom() + 1, men.width(), men.height() - band.bottom() - 1));
        QCOMPARE(selected.pixelColor(band.left() + 2, band.top() + 1),
                 TablePicture::palette().color(QPalette::Highlight));
    }

    void theFtpPicturesOpenNoWindow() {
        ShownWindows windows;
        const QString men = m_data->filePath(QStringLiteral("t_muzi.jpg"));
        const QString women = m_data->filePath(QStringLiteral("t_zeny.jpg"));
        m_window->saveFtpPictures(men, women);
        QCOMPARE(windows.shown, QStringList());
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
        QCOMPARE(QImage(men).size(), QSize(355, 449));
        QCOMPARE(QImage(women).size(), QSize(354, 449));
        QCOMPARE(m_window->quality(BestTwentyTables::Men), 15);
        QCOMPARE(m_window->quality(BestTwentyTables::Women), 15);
    }

    void theSaveDialogIsBorrowedAndGivenBack() {
        m_window->show();
        QFileDialog* dialog = m_dialogs->saveDialog();
        whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        m_window->btnUlozMuziClick();
        QCOMPARE(dialog->nameFilters(), QStringList({LapFileDialogs::filter()}));
        QVERIFY(QDir(m_data->path()).entryList({QStringLiteral("*.jpg")}).isEmpty());

        QStringList filtersShown;
        whenModal([&](QWidget* modal) {
            auto* shown = static_cast<QFileDialog*>(modal);
            filtersShown = shown->nameFilters();
            // Typed without an extension.
            shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("tabulka"));
            static_cast<QDialog*>(shown)->accept();
        });
        m_window->BitBbtnUlozZenyClick();
        QCOMPARE(filtersShown, QStringList({LapFileDialogs::pictureFilter()}));
        QCOMPARE(QDir(m_data->path()).entryList({QStringLiteral("*.jpg")}), QStringList({"tabulka.jpg"}));
        QCOMPARE(QImage(m_data->filePath(QStringLiteral("tabulka.jpg"))).size(), QSize(354, 449));
        QCOMPARE(dialog->nameFilters(), QStringList({LapFileDialogs::filter()}));
    }

    void rowsAreEditedDeletedAndMovedThroughTheMenus() {
        m_window->show();
        QTableWidget* men = m_window->list(BestTwentyTables::Men);
        men->selectRow(1);
        QString editor;
        QString timeShown;
        bool nameFocused = false;
        whenModal([&](QWidget* modal) {
            editor = modal->objectName();
            auto* name = modal->findChild<QLineEdit*>(QStringLiteral("jmeno"));
            nameFocused = modal->focusWidget() == name;
            timeShown = modal->findChild<QLineEdit*>(QStringLiteral("cas"))->text();
            name->setText(QStringLiteral("Tomáš"));
            static_cast<QDialog*>(modal)->accept();
        });
        emit men->cellDoubleClicked(1, 1);
        QCOMPARE(editor, QStringLiteral("UpravDlg"));
        QVERIFY(nameFocused);
        QCOMPARE(timeShown, QStringLiteral("00:42:000"));
        QCOMPARE(TextCodec::decodeLines(m_data->readFile(QStringLiteral("TopDeset.ini"))).at(1),
                 QStringLiteral("2\tTomáš\t00:42:000"));

        men->selectRow(0);
        m_window->findChild<QMenu*>(QStringLiteral("TopDesetPopup"))->actions().at(1)->trigger();
        QCOMPARE(texts(m_window->list(BestTwentyTables::Women), 0), QStringList({"1", "kara2", "00:41:250"}));
        QCOMPARE(texts(men, 0), QStringList({"1", "Tomáš", "00:42:000"}));

        // "Smazat záznam" asks first; Enter ("Ne") keeps the row.
        QAction* remove = m_window->findChild<QMenu*>(QStringLiteral("TopDesetPopup"))->actions().at(3);
        men->selectRow(0);
        {
            MessageBoxAnswerer answerer;
            remove->trigger();
            QCOMPARE(answerer.defaults(), QStringList({QStringLiteral("Ne")}));
        }
        QCOMPARE(texts(men, 0), QStringList({"1", "Tomáš", "00:42:000"}));
        men->selectRow(0);
        MessageBoxAnswerer answerer(QStringLiteral("Ano"));
        remove->trigger();
        // Kart 2's old place became an empty row, which sorted above the row without a time.
        QCOMPARE(texts(men, 0), QStringList({"1", "noname", "59:59:999"}));
        QCOMPARE(texts(men, 1), QStringList({"2", "Broken", "soon"}));
        QCOMPARE(TextCodec::decodeLines(m_data->readFile(QStringLiteral("TopDeset.ini"))).last(),
                 QStringLiteral("20\tnoname\t59:59:999"));
    }

private:
    TSettings m_settings;
    std::unique_ptr<TempDataFolder> m_data;
    std::unique_ptr<BestTwentyTables> m_tables;
    std::unique_ptr<TUpravDlg> m_menEdit;
    std::unique_ptr<TUpravDlg1> m_womenEdit;
    std::unique_ptr<TTopTen10Frm> m_window;
    std::unique_ptr<LapFileDialogs> m_dialogs;
};

QTEST_MAIN(TopTen10Test)
#include "TopTen10Test.moc"
