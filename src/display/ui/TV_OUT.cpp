#include "display/ui/TV_OUT.h"

#include "base/ErrorBoundary.h"
#include "config/TSettings.h"
#include "display/QrCode.h"
#include "display/TRaceProgress.h"
#include "rankings/BestTwentyFiles.h"
#include "timing/ui/SevenSegmentDisplay.h"

#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>

namespace {

const QColor Navy(0x00, 0x00, 0x80);
constexpr int TopTenRows = 10;
// The columns as drawn for the usual texts; the name column gives way to longer times and counts.
const QList<int> RaceColumns = {90, 420, 300, 170};
const QList<int> TopTenColumns = {40, 160, 114};
constexpr int NameColumn = 1;

// A two-place display shows the first two characters of the value in decimal with at least two
// digits: the sub-second part below 100 ms as it is, from 100 ms on its first two digits.
int twoPlaces(int value) {
    if (value < 100)
        return value;
    return QString::number(value).left(2).toInt();
}

QLabel* label(QWidget* parent, const QString& text, const QColor& color, int pixels, bool bold, bool italic) {
    auto* l = new QLabel(text, parent);
    QFont font = l->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, color);
    l->setPalette(palette);
    return l;
}

QTableWidget* list(QWidget* parent, const char* name, const QStringList& columns, int rows, int pixels,
                   const QColor& color) {
    auto* table = new QTableWidget(rows, int(columns.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setShowGrid(true);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A name too long for its column ends in "…" on one line rather than wrapping out of sight.
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    QFont font = table->font();
    font.setPixelSize(pixels);
    font.setBold(true);
    table->setFont(font);
    QPalette palette = table->palette();
    palette.setColor(QPalette::Text, color);
    table->setPalette(palette);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(pixels + pixels / 2);
    return table;
}

// Every column but the name at least as wide as drawn and as its texts and heading need; the name
// takes what is left, so that a time or a count is never cut.
void fitColumns(QTableWidget* table, const QList<int>& drawn) {
    int others = 0;
    for (int column = 0; column < drawn.size(); ++column) {
        if (column == NameColumn)
            continue;
        table->resizeColumnToContents(column);
        const int width = qMax(drawn[column], table->columnWidth(column));
        table->setColumnWidth(column, width);
        others += width;
    }
    table->setColumnWidth(NameColumn, qMax(0, table->contentsRect().width() - others));
}

void setRow(QTableWidget* table, int row, const QStringList& texts) {
    for (int column = 0; column < texts.size(); ++column) {
        QTableWidgetItem* item = table->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            table->setItem(row, column, item);
        }
        item->setText(texts.at(column));
    }
}

// The logo panel's picture when there is no page address to show.
QPixmap wordmark(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Navy);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(pixmap.rect()).adjusted(6, 30, -6, -30), 14, 14);
    QFont font;
    font.setPixelSize(44);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("TARVOLIN"));
    return pixmap;
}

} // namespace

// A title bar without buttons where the window manager honours the hints. One that still offers a
// close only hides the window: the next START shows it again.
TTV_Out_Frm::TTV_Out_Frm(const TSettings& settings, const TRaceProgress& progress, const QString& dataFolder,
                         QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_settings(settings),
      m_dataFolder(dataFolder), m_progress(progress) {
    setObjectName(QStringLiteral("TV_Out_Frm"));
    setWindowTitle(QStringLiteral("Tarvolin - průběžné info"));
    setFixedSize(ClientWidth, ClientHeight);
    buildClockPanel();
    buildLengthPanel();
    buildRacePanel();
    buildTablesPanel();
    buildLogoPanel();
    showRaceRows();
    connect(&m_progress, &TRaceProgress::changed, this, &TTV_Out_Frm::showRaceRows);
    // A window made anew while the station runs is headed as the mode asks.
    showDisplayMode(m_settings.TVOUT.TypZobrazeni);
}

QFrame* TTV_Out_Frm::addPanel(const char* name, const QRect& geometry) {
    auto* panel = new QFrame(this);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    panel->setPalette(palette);
    panel->setGeometry(geometry);
    m_panels << panel;
    return panel;
}

void TTV_Out_Frm::buildClockPanel() {
    QFrame* panel = addPanel("PanelCas", QRect(8, 8, 640, 120));
    label(panel, QStringLiteral("Čas závodu"), Navy, 32, true, true)->setGeometry(14, 6, 300, 40);
    const auto display = [panel](const char* name, int x) {
        auto* d = new SevenSegmentDisplay(panel);
        d->setObjectName(QLatin1String(name));
        d->setDigitCount(2);
        d->setFixedSize(96, 64);
        d->move(x, 48);
        return d;
    };
    m_minutes = display("LcdMinuty", 170);
    label(panel, QStringLiteral(":"), Navy, 48, true, false)->setGeometry(272, 50, 20, 60);
    m_seconds = display("LcdSekundy", 296);
    label(panel, QStringLiteral(":"), Navy, 48, true, false)->setGeometry(398, 50, 20, 60);
    m_subSeconds = display("LcdSetiny", 422);
}

void TTV_Out_Frm::buildLengthPanel() {
    QFrame* panel = addPanel("PanelDelka", QRect(656, 8, 360, 120));
    label(panel, QStringLiteral("Délka jízdy  "), Navy, 22, true, false)->setGeometry(18, 26, 180, 30);
    label(panel, QStringLiteral("v minutách  "), Navy, 22, true, false)->setGeometry(18, 62, 180, 30);
    m_length = new SevenSegmentDisplay(panel);
    m_length->setObjectName(QStringLiteral("LcdDelka"));
    m_length->setDigitCount(2);
    m_length->setFixedSize(96, 64);
    m_length->move(220, 28);
}

void TTV_Out_Frm::buildRacePanel() {
    QFrame* panel = addPanel("PanelZavod", QRect(8, 136, 1008, 300));
    m_heading = label(panel, QString(), Qt::black, 26, true, true);
    m_heading->setObjectName(QStringLiteral("NadpisZavodu"));
    m_heading->setGeometry(14, 6, 800, 34);
    m_flag = label(panel, QStringLiteral("\U0001F3C1 CÍL"), Qt::red, 26, true, false);
    m_flag->setObjectName(QStringLiteral("CilovaVlajka"));
    m_flag->setGeometry(820, 6, 176, 34);
    m_flag->hide();
    m_raceList =
        list(panel, "ZavodView",
             {QStringLiteral("#"), QStringLiteral("Jméno"), QStringLiteral("Čas"), QStringLiteral("Kola")}, 4,
             32, Qt::red);
    m_raceList->setGeometry(12, 44, 984, 246);
    m_raceList->horizontalHeader()->setFixedHeight(42);
}

void TTV_Out_Frm::buildTablesPanel() {
    QFrame* panel = addPanel("PanelTabulky", QRect(8, 444, 668, 316));
    label(panel, QStringLiteral("Tabulka nejlepších deseti"), Navy, 20, true, true)
        ->setGeometry(14, 4, 400, 26);
    label(panel, QStringLiteral("Jezdci"), Navy, 18, true, false)->setGeometry(14, 30, 200, 22);
    label(panel, QStringLiteral("Jezdkyně"), Navy, 18, true, false)->setGeometry(340, 30, 200, 22);
    const QStringList columns = {QStringLiteral("#"), QStringLiteral("Jména"), QStringLiteral("Časy")};
    m_men = list(panel, "TopTenJezdci", columns, TopTenRows, 20, Qt::black);
    m_women = list(panel, "TopTenJezdkyne", columns, TopTenRows, 20, Qt::black);
    m_men->setGeometry(10, 54, 318, 254);
    m_women->setGeometry(338, 54, 320, 254);
    for (QTableWidget* table : {m_men, m_women}) {
        table->horizontalHeader()->setFixedHeight(24);
        table->verticalHeader()->setMinimumSectionSize(18);
        table->verticalHeader()->setDefaultSectionSize(23);
        fitColumns(table, TopTenColumns);
    }
}

void TTV_Out_Frm::buildLogoPanel() {
    QFrame* panel = addPanel("PanelLogo", QRect(684, 444, 332, 316));
    m_picture = new QLabel(panel);
    m_picture->setObjectName(QStringLiteral("LogoObrazek"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setGeometry(10, 8, 312, 220);
    label(panel, QStringLiteral("Orvex Software"), Qt::blue, 22, true, true)->setGeometry(14, 232, 304, 28);
    label(panel, QStringLiteral("Časomíra Tarvolin ver. 2.0"), Qt::blue, 15, true, false)
        ->setGeometry(14, 260, 304, 22);
    m_contact = label(panel, QString(), Qt::blue, 15, true, false);
    m_contact->setObjectName(QStringLiteral("Kontakt"));
    m_contact->setGeometry(14, 284, 304, 22);
    showPageAddress(QString());
}

void TTV_Out_Frm::showRaceRows() {
    const auto& rows = m_progress.rows();
    for (int r = 0; r < 4; ++r)
        setRow(m_raceList, r, {rows[r].position, rows[r].name, rows[r].time, rows[r].laps});
    fitColumns(m_raceList, RaceColumns);
}

void TTV_Out_Frm::showClock(int millis, int seconds, int minutes) {
    m_subSeconds->setValue(twoPlaces(millis));
    if (m_seconds->value() != seconds)
        m_seconds->setValue(twoPlaces(seconds));
    if (m_minutes->value() != minutes)
        m_minutes->setValue(twoPlaces(minutes));
}

void TTV_Out_Frm::showRaceLength(int minutes) {
    m_length->setValue(twoPlaces(minutes));
}

void TTV_Out_Frm::showChequeredFlag(bool shown) {
    m_flag->setVisible(shown);
}

void TTV_Out_Frm::showDisplayMode(int mode) {
    m_heading->setText(mode == TRaceProgress::MinimumTimes
                           ? QStringLiteral("Průběh závodu - minimální časy")
                           : QStringLiteral("Průběh závodu - jednotlivá kola"));
}

void TTV_Out_Frm::showTopTen(QTableWidget* list, const QList<BestTwentyRow>& rows) {
    list->clearContents();
    for (int r = 0; r < rows.size() && r < TopTenRows; ++r)
        setRow(list, r, {rows[r].rank(), rows[r].name(), rows[r].time()});
    fitColumns(list, TopTenColumns);
}

void TTV_Out_Frm::FormActivate() {
    // Each list changes only once its file has been read.
    showTopTen(m_men, BestTwentyFiles::firstRows(m_dataFolder, BestTwentyFiles::Men, TopTenRows));
    showTopTen(m_women, BestTwentyFiles::firstRows(m_dataFolder, BestTwentyFiles::Women, TopTenRows));
}

QRegion TTV_Out_Frm::panelShape() const {
    QRegion shape;
    for (const QFrame* panel : m_panels)
        shape += panel->geometry();
    return shape;
}

void TTV_Out_Frm::PruhlednyForm() {
    // The title bar and the frame are the window manager's, outside this shape: they stay as they are.
    setMask(panelShape());
    repaint();
}

void TTV_Out_Frm::showPageAddress(const QString& url) {
    // Whole pixels per module, as large as the picture allows: a scaled code blurs its edges.
    const QImage unit = url.isEmpty() ? QImage() : qrCodeImage(url, 1);
    const QImage code = unit.isNull() ? QImage() : qrCodeImage(url, qMax(1, 220 / unit.width()));
    if (code.isNull()) {
        m_picture->setPixmap(wordmark(m_picture->size()));
        m_contact->setText(QStringLiteral("Časomíra pro motokárové tratě"));
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(code));
    m_contact->setText(QStringLiteral("Živě: ") + url);
}

bool TTV_Out_Frm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        ErrorBoundary::guarded([this] { FormActivate(); });
    return QWidget::event(event);
}
