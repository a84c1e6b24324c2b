#include "rankings/ui/TopTen10.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "base/UserError.h"
#include "config/ui/AnoNeQuestion.h"
#include "rankings/JpegWriter.h"
#include "rankings/ui/UpravDlg.h"
#include "timing/ui/LapFileDialogs.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QColor EnteredByLastRace(0xff, 0xf0, 0x96);
// The record dates stand right of what the table picture draws, so the list stays the picture; in
// the short form the window still fits a screen 1024 pixels wide.
int dateColumnWidth() {
    return QFontMetrics(TablePicture::font()).horizontalAdvance(QStringLiteral("28.12.2026")) + 10;
}

QString listHint() {
    return QStringLiteral("      Další volby vyvoláte\r\n stiskem pravého tlačítka myši.");
}

// The date a row was driven; invalid for rows without one.
QDate recordDate(const BestTwentyRow& row) {
    return QDate::fromString(row.date(), Qt::ISODate);
}

} // namespace

TTopTen10Frm::TTopTen10Frm(BestTwentyTables& tables, TUpravDlg& menEdit, TUpravDlg& womenEdit,
                           QWidget* parent)
    : QDialog(parent), m_tables(tables), m_edits{&menEdit, &womenEdit} {
    setObjectName(QStringLiteral("TopTen10Frm"));
    setWindowTitle(QStringLiteral("Nejlepších dvacet časů"));
    setModal(true);
    // No title-bar buttons: the window closes with "&Zavřít".
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    const std::array<QString, 2> headings = {QStringLiteral("Jezdci"), QStringLiteral("Jezdkyně")};
    for (Table table : {BestTwentyTables::Men, BestTwentyTables::Women}) {
        const int column = table == BestTwentyTables::Men ? 0 : 2;
        auto* heading = new QLabel(headings[table], this);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid->addWidget(heading, 0, column);
        m_lists[table] = makeList(table);
        m_menus[table] = makeMenu(table);
        grid->addWidget(m_lists[table], 1, column);

        auto* save = new QPushButton(QStringLiteral("Ulož do souboru"), this);
        save->setObjectName(table == BestTwentyTables::Men ? QStringLiteral("btnUlozMuzi")
                                                           : QStringLiteral("BitBbtnUlozZeny"));
        connect(save, &QPushButton::clicked, this, ErrorBoundary::guardedSlot([this, table] {
                    table == BestTwentyTables::Men ? btnUlozMuziClick() : BitBbtnUlozZenyClick();
                }));
        m_qualities[table] = new QSpinBox(this);
        m_qualities[table]->setObjectName(table == BestTwentyTables::Men ? QStringLiteral("SpinKvalita1")
                                                                         : QStringLiteral("SpinKvalita2"));
        m_qualities[table]->setRange(1, 100);
        m_qualities[table]->setValue(10);
        auto* row = new QHBoxLayout;
        row->addWidget(save);
        row->addStretch();
        row->addWidget(new QLabel(QStringLiteral("Kvalita"), this));
        row->addWidget(m_qualities[table]);
        row->addWidget(new QLabel(QStringLiteral("%"), this));
        grid->addLayout(row, 2, column);
    }

    auto* middle = new QVBoxLayout;
    const auto addButton = [&](const QString& text, const QString& name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        middle->addWidget(button);
        return button;
    };
    middle->addStretch();
    connect(addButton(QStringLiteral("&Ftp"), QStringLiteral("FtpButton")), &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this] { callHook(m_hooks.showFtpSettings); }));
    connect(addButton(QStringLiteral("&Tisk"), QStringLiteral("TiskButton")), &QPushButton::clicked, this,
            ErrorBoundary::guardedSlot([this] { callHook(m_hooks.showPrintPreview); }));
    QPushButton* close = addButton(QStringLiteral("&Zavřít"), QStringLiteral("ZavritButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    middle->addStretch();
    grid->addLayout(middle, 1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

QTableWidget* TTopTen10Frm::makeList(Table table) {
    auto* list = new QTableWidget(0, 4, this);
    list->setObjectName(table == BestTwentyTables::Men ? QStringLiteral("TopTenList")
                                                       : QStringLiteral("TopTenList1"));
    // Measures, font and colours are the table picture's, so that the list shows what is drawn;
    // the dates follow in a column of their own.
    list->setFixedSize(TablePicture::width(table) + dateColumnWidth(), TablePicture::Height);
    list->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Jméno"),
                                     QStringLiteral("Nejkratší časy"), QStringLiteral("Zajeto")});
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setShowGrid(true);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setMinimumSectionSize(TablePicture::RowHeight);
    list->verticalHeader()->setDefaultSectionSize(TablePicture::RowHeight);
    list->horizontalHeader()->setFixedHeight(TablePicture::HeaderHeight);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setMinimumSectionSize(1);
    list->setColumnWidth(0, TablePicture::FixedColumnWidths[0]);
    list->setColumnWidth(1, TablePicture::FixedColumnWidths[1]);
    list->setColumnWidth(2, TablePicture::width(table) - 2 * TablePicture::FrameWidth -
                                TablePicture::FixedColumnWidths[0] - TablePicture::FixedColumnWidths[1]);
    list->horizontalHeader()->setStretchLastSection(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFont(TablePicture::font());
    list->setPalette(TablePicture::palette());
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, table, list](const QPoint& at) {
        m_menus[table]->popup(list->viewport()->mapToGlobal(at));
    });
    connect(list, &QTableWidget::cellDoubleClicked, this,
            ErrorBoundary::guardedSlot([this, table](int, int) { editSelected(table); }));
    return list;
}

QMenu* TTopTen10Frm::makeMenu(Table table) {
    const bool men = table == BestTwentyTables::Men;
    auto* menu = new QMenu(this);
    menu->setObjectName(men ? QStringLiteral("TopDesetPopup") : QStringLiteral("TopDesetPopup2"));
    connect(menu->addAction(QStringLiteral("Upravit záznam")), &QAction::triggered, this,
            ErrorBoundary::guardedSlot([this, table] { editSelected(table); }));
    connect(menu->addAction(men ? QStringLiteral("Přesunout vpravo") : QStringLiteral("Přesunout vlevo")),
            &QAction::triggered, this, ErrorBoundary::guardedSlot([this, table] { moveSelected(table); }));
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Smazat záznam")), &QAction::triggered, this,
            ErrorBoundary::guardedSlot([this, table] { deleteSelected(table); }));
    return menu;
}

void TTopTen10Frm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ErrorBoundary::guarded([this] { FormActivate(); });
}

void TTopTen10Frm::FormActivate() {
    m_tables.loadBoth();
    showTables();
    QStringList odd;
    for (Table table : {BestTwentyTables::Men, BestTwentyTables::Women}) {
        const QStringList rows = m_tables.table(table).rowsWithoutLapTime();
        if (!rows.isEmpty())
            odd << QStringLiteral("%1 (%2):")
                       .arg(table == BestTwentyTables::Men ? QStringLiteral("Jezdci")
                                                           : QStringLiteral("Jezdkyně"),
                            QFileInfo(m_tables.filePath(table)).fileName())
                << rows;
    }
    if (!odd.isEmpty())
        throw UserError(QStringLiteral("Tyto řádky tabulek nemají platný čas; řadí se jako prázdné:\n") +
                        odd.join(QLatin1Char('\n')));
}

void TTopTen10Frm::showTables() {
    m_loaded = true;
    for (Table table : {BestTwentyTables::Men, BestTwentyTables::Women})
        fillList(table);
}

void TTopTen10Frm::fillList(Table table) {
    QTableWidget* list = m_lists[table];
    const QList<BestTwentyRow>& rows = m_tables.table(table).rows();
    list->setToolTip(listHint());
    list->clearSelection();
    list->setRowCount(int(rows.size()));
    const QList<bool> newRows = m_tables.enteredByLastRace(table);
    for (int r = 0; r < rows.size(); ++r) {
        const BestTwentyRow& row = rows.at(r);
        const QDate driven = recordDate(row);
        const QString date = driven.toString(QStringLiteral("d.M.yyyy"));
        const std::array<QString, 4> texts = {row.rank(), row.name(), row.time(), date};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (driven.isValid())
                item->setToolTip(QStringLiteral("Zajeto ") + driven.toString(QStringLiteral("d. M. yyyy")));
            if (newRows.value(r))
                item->setBackground(EnteredByLastRace);
            list->setItem(r, c, item);
        }
    }
}

int TTopTen10Frm::selectedRow(Table table) const {
    const QList<QTableWidgetSelectionRange> ranges = m_lists[table]->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

int TTopTen10Frm::quality(Table table) const {
    return m_qualities[table]->value();
}

void TTopTen10Frm::setQuality(Table table, int percent) {
    m_qualities[table]->setValue(percent);
}

TablePicture::View TTopTen10Frm::view(Table table) const {
    const QTableWidget* list = m_lists[table];
    TablePicture::View view;
    view.selectedRow = selectedRow(table);
    view.firstRow = qMax(0, list->rowAt(0));
    return view;
}

QImage TTopTen10Frm::tablePicture(Table table) {
    if (!m_loaded) {
        m_tables.loadBoth();
        showTables();
    }
    return TablePicture::draw(m_tables.table(table), table, view(table));
}

void TTopTen10Frm::SaveTablePicture(Table table, const QString& path) {
    JpegWriter::write(tablePicture(table), path, quality(table));
}

void TTopTen10Frm::saveFtpPictures(const QString& menPath, const QString& womenPath) {
    setQuality(BestTwentyTables::Men, 15);
    setQuality(BestTwentyTables::Women, 15);
    if (!isVisible()) {
        m_tables.loadBoth();
        showTables();
    }
    SaveTablePicture(BestTwentyTables::Men, menPath);
    SaveTablePicture(BestTwentyTables::Women, womenPath);
}

void TTopTen10Frm::btnUlozMuziClick() {
    savePictureAsked(BestTwentyTables::Men, QStringLiteral("Top20_Muzi"));
}

void TTopTen10Frm::BitBbtnUlozZenyClick() {
    savePictureAsked(BestTwentyTables::Women, QStringLiteral("Top20_Zeny"));
}

void TTopTen10Frm::savePictureAsked(Table table, const QString& proposal) {
    if (!m_saveDialogs)
        return;
    QString path = m_saveDialogs->askSavePicture(proposal, m_dataFolder);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".jpg");
    SaveTablePicture(table, path);
}

void TTopTen10Frm::editSelected(Table table) {
    const int row = selectedRow(table);
    if (row < 0 || row >= m_tables.table(table).rowCount())
        return;
    const BestTwentyRow& current = m_tables.table(table).rows().at(row);
    const std::optional<QString> name = m_edits[table]->editRow(current.name(), current.time());
    if (!name)
        return;
    m_tables.editName(table, row, *name);
    fillList(table);
    m_lists[table]->selectRow(row);
}

void TTopTen10Frm::deleteSelected(Table table) {
    const int row = selectedRow(table);
    if (row < 0 || row >= m_tables.table(table).rowCount())
        return;
    // A deleted row has no way back: the operator says so first.
    const BestTwentyRow& current = m_tables.table(table).rows().at(row);
    if (!AnoNeQuestion::ask(this, QStringLiteral("Smazat záznam"),
                            QStringLiteral("Opravdu smazat záznam %1. %2 (%3)?")
                                .arg(current.rank(), current.name(), current.time())))
        return;
    m_tables.deleteRow(table, row);
    fillList(table);
}

void TTopTen10Frm::moveSelected(Table table) {
    const int row = selectedRow(table);
    if (row < 0)
        return;
    m_tables.moveRow(table, row);
    showTables();
}
