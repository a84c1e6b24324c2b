#include "stats/ui/Statistika.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "base/UserError.h"
#include "config/AtomicFile.h"
#include "config/FileMessages.h"
#include "stats/AxisScale.h"
#include "stats/ChartLabels.h"
#include "stats/ui/ColorBox.h"
#include "stats/ui/LapChartView.h"
#include "timing/LapList.h"
#include "timing/ui/LapFileDialogs.h"

#include <QAreaSeries>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineSeries>
#include <QLinearGradient>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <functional>

namespace {

constexpr int SmallChartWidth = 204;
constexpr int SmallChartHeight = 180;
constexpr int LargeChartWidth = 834;
constexpr int LargeChartHeight = 400;
// Room per lap label on the axis before the lap step widens.
constexpr int LapLabelRoom = 22;

const std::array<QColor, TStat_Dlg::KartCount> DefaultColours = {QColor(0xff0000), QColor(0x008000),
                                                                 QColor(0x808000), QColor(0x000080)};
// In black and white the karts differ by their lines.
const std::array<Qt::PenStyle, TStat_Dlg::KartCount> MonochromeStyles = {Qt::SolidLine, Qt::DashLine,
                                                                         Qt::DotLine, Qt::DashDotLine};

// A diagonal cross, drawn at every point of the large chart.
QImage crossMarker(const QColor& colour) {
    QImage image(9, 9, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QPen(colour, 1));
    painter.drawLine(0, 0, 8, 8);
    painter.drawLine(0, 8, 8, 0);
    return image;
}

QFont chartFont(int pointSize, bool bold = false) {
    QFont font;
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

void setLapAxis(QValueAxis* axis, double first, int last, int maxSteps) {
    const AxisScale scale = AxisScale::around(first, std::max<double>(last, first + 1), maxSteps);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(scale.step == 1 ? first : 0);
    axis->setTickInterval(scale.step);
    axis->setRange(first, std::max(scale.maximum, first + 1));
}

// Without values the axis stays bare rather than label times nobody drove.
void setTimeAxis(QCategoryAxis* axis, bool anyValues, qint64 low, qint64 high, int maxSteps,
                 const std::function<QString(double)>& label) {
    const QStringList old = axis->categoriesLabels();
    for (const QString& text : old)
        axis->remove(text);
    if (!anyValues) {
        // One blank label: an axis without any would lose its title's place.
        axis->setStartValue(0);
        axis->append(QStringLiteral(" "), 1);
        axis->setRange(0, 1);
        return;
    }
    const AxisScale scale = AxisScale::around(double(low), double(high), maxSteps);
    // Each label sits at the end of its category; the first category starts below the axis, so the
    // lowest tick has its label too.
    axis->setStartValue(scale.minimum - scale.step);
    for (int i = 0; i <= scale.stepCount(); ++i) {
        const double value = scale.minimum + i * scale.step;
        axis->append(label(value), value);
    }
    axis->setRange(scale.minimum, scale.maximum);
}

QCategoryAxis* makeTimeAxis(const QFont& labels) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setTitleText(QStringLiteral("čas"));
    axis->setLabelsFont(labels);
    return axis;
}

QValueAxis* makeLapAxis(const QFont& labels) {
    auto* axis = new QValueAxis;
    axis->setTitleText(QStringLiteral("kola"));
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setLabelsFont(labels);
    return axis;
}

} // namespace

TStat_Dlg::TStat_Dlg(const std::array<const LapList*, KartCount>& lapLists, QWidget* parent)
    : QDialog(parent), m_lapLists(lapLists) {
    setObjectName(QStringLiteral("Stat_Dlg"));
    setWindowTitle(QStringLiteral("Statistika"));
    setModal(true);
    // A fixed border without title-bar buttons: the window closes with "&Zavřít".
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    buildLargeChart();
    for (int kart = 1; kart <= KartCount; ++kart)
        buildSmallChart(kart);
    buildControls();
    applyColours();
    drawSeries();
}

TStat_Dlg::~TStat_Dlg() = default;

QPrinter& TStat_Dlg::printer() {
    if (m_printer)
        return *m_printer;
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_ownPrinter;
}

void TStat_Dlg::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* group = new QGroupBox(QStringLiteral("Vyber motokáru"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    // Two karts a row, each box followed by its colour.
    auto* karts = new QGridLayout(group);
    karts->setColumnMinimumWidth(2, 24);
    const std::array<const char*, KartCount> names = {"Prvni", "Druha", "Treti", "Ctvrta"};
    const std::array<QString, KartCount> captions = {
        QStringLiteral("první motokára"), QStringLiteral("druhá motokára"), QStringLiteral("třetí motokára"),
        QStringLiteral("čtvrtá motokára")};
    for (int k = 0; k < KartCount; ++k) {
        m_karts[k] = new QCheckBox(captions[k], group);
        m_karts[k]->setObjectName(QLatin1String(names[k]));
        connect(m_karts[k], &QCheckBox::toggled, this,
                ErrorBoundary::guardedSlot(this, &TStat_Dlg::PrvniClick));
        m_colorBoxes[k] = new ColorBox(group);
        m_colorBoxes[k]->setObjectName(QStringLiteral("ColorBox%1").arg(k + 1));
        m_colorBoxes[k]->setColor(DefaultColours[k]);
        connect(m_colorBoxes[k], &ColorBox::colorChanged, this,
                ErrorBoundary::guardedSlot(this, &TStat_Dlg::PrvniClick));
        karts->addWidget(m_karts[k], k / 2, (k % 2) * 3);
        karts->addWidget(m_colorBoxes[k], k / 2, (k % 2) * 3 + 1);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(group);
    top->addStretch();
    layout->addLayout(top);

    m_blackAndWhite = new QCheckBox(QStringLiteral("Zobrazit černobíle"), this);
    m_blackAndWhite->setObjectName(QStringLiteral("CheckBox1"));
    connect(m_blackAndWhite, &QCheckBox::toggled, this,
            ErrorBoundary::guardedSlot(this, &TStat_Dlg::CheckBox1Click));
    layout->addWidget(m_blackAndWhite);

    auto button = [this](const QString& caption, const char* name, void (TStat_Dlg::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, ErrorBoundary::guardedSlot(this, handler));
        return b;
    };
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("Tisk &celého formuláře"), "BitBtn9", &TStat_Dlg::BitBtn9Click));
    buttons->addWidget(button(QStringLiteral("Tisk jednotlivých &kol"), "BitBtn2", &TStat_Dlg::BitBtn2Click));
    buttons->addWidget(
        button(QStringLiteral("Nejlepších dvacet časů"), "TopTen10", &TStat_Dlg::TopTen10Click));
    buttons->addStretch();
    buttons->addWidget(button(QStringLiteral("&Zavřít"), "BitBtn1", &TStat_Dlg::BitBtn1Click));
    layout->addLayout(buttons);

    auto* small = new QHBoxLayout;
    for (QChartView* view : m_smallViews)
        small->addWidget(view);
    layout->addLayout(small);
    layout->addWidget(m_chart1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Změřené hodnoty( čas / kola):"), this));
    m_readout = new QLabel(this);
    m_readout->setObjectName(QStringLiteral("Hodnoty"));
    m_readout->setMinimumWidth(160);
    QFont bold = m_readout->font();
    bold.setBold(true);
    m_readout->setFont(bold);
    bottom->addWidget(m_readout);
    bottom->addStretch();
    bottom->addWidget(button(QStringLiteral("Ulož graf do souboru"), "UlozBMP", &TStat_Dlg::UlozBMP));
    bottom->addWidget(
        button(QStringLiteral("Ulož graf do schránky"), "UlozDOClipb", &TStat_Dlg::UlozDOClipb));
    layout->addLayout(bottom);
}

void TStat_Dlg::buildLargeChart() {
    m_largeChart = new QChart;
    m_largeChart->legend()->hide();
    m_largeChart->setAnimationOptions(QChart::NoAnimation);
    m_largeChart->setBackgroundRoundness(0);
    m_largeChart->setPlotAreaBackgroundVisible(true);
    m_lapAxis = makeLapAxis(chartFont(8));
    m_timeAxis = makeTimeAxis(chartFont(8));
    m_largeChart->addAxis(m_lapAxis, Qt::AlignBottom);
    m_largeChart->addAxis(m_timeAxis, Qt::AlignLeft);
    for (int k = 0; k < KartCount; ++k) {
        m_lines[k] = new QLineSeries;
        m_lines[k]->setPointsVisible(true);
        m_lines[k]->setMarkerSize(9);
        m_largeChart->addSeries(m_lines[k]);
        m_lines[k]->attachAxis(m_lapAxis);
        m_lines[k]->attachAxis(m_timeAxis);
    }
    m_chart1 = new LapChartView(m_largeChart, this);
    m_chart1->setObjectName(QStringLiteral("Chart1"));
    m_chart1->setFixedSize(LargeChartWidth, LargeChartHeight);
    m_chart1->setReadingSeries(m_lines[0]);
    connect(m_chart1, &LapChartView::crossHairMoved, this, &TStat_Dlg::showReadout);
}

void TStat_Dlg::buildSmallChart(int kart) {
    const int k = kart - 1;
    const std::array<QString, KartCount> titles = {
        QStringLiteral("První motokára"), QStringLiteral("Druhá motokára"), QStringLiteral("Třetí motokára"),
        QStringLiteral("Čtvrtá motokára")};
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setTitle(titles[k]);
    chart->setTitleFont(chartFont(8, true));
    chart->setMargins(QMargins(2, 2, 2, 2));
    m_smallLapAxes[k] = makeLapAxis(chartFont(6));
    m_smallTimeAxes[k] = makeTimeAxis(chartFont(6));
    m_smallLapAxes[k]->setTitleFont(chartFont(7));
    m_smallTimeAxes[k]->setTitleFont(chartFont(7));
    chart->addAxis(m_smallLapAxes[k], Qt::AlignBottom);
    chart->addAxis(m_smallTimeAxes[k], Qt::AlignLeft);
    m_smallLines[k] = new QLineSeries(chart);
    m_smallAreas[k] = new QAreaSeries(m_smallLines[k]);
    chart->addSeries(m_smallAreas[k]);
    m_smallAreas[k]->attachAxis(m_smallLapAxes[k]);
    m_smallAreas[k]->attachAxis(m_smallTimeAxes[k]);
    m_smallViews[k] = new QChartView(chart, this);
    m_smallViews[k]->setObjectName(QStringLiteral("Chart%1").arg(kart + 1));
    m_smallViews[k]->setFixedSize(SmallChartWidth, SmallChartHeight);
    m_smallViews[k]->setRenderHint(QPainter::Antialiasing);
}

QColor TStat_Dlg::kartColour(int kart) const {
    return m_blackAndWhite && m_blackAndWhite->isChecked() ? QColor(Qt::black)
                                                           : m_colorBoxes[kart - 1]->color();
}

void TStat_Dlg::applyColours() {
    const bool monochrome = m_blackAndWhite && m_blackAndWhite->isChecked();
    const QColor titleColour = monochrome ? QColor(Qt::black) : QColor(Qt::blue);
    QFont titleFont = chartFont(12, true);
    titleFont.setItalic(true);
    m_chart1->setFramedTitle(QStringLiteral("Časy jednotlivých kol"), titleFont, titleColour);
    m_largeChart->setBackgroundBrush(monochrome ? QBrush(Qt::white) : palette().window());
    m_largeChart->setPlotAreaBackgroundBrush(Qt::white);
    for (int k = 0; k < KartCount; ++k) {
        const QColor colour = kartColour(k + 1);
        QPen pen(colour, 2);
        pen.setStyle(monochrome ? MonochromeStyles[k] : Qt::SolidLine);
        m_lines[k]->setPen(pen);
        m_lines[k]->setLightMarker(crossMarker(colour));

        QChart* chart = m_smallViews[k]->chart();
        if (monochrome) {
            chart->setBackgroundBrush(Qt::white);
            m_smallAreas[k]->setBrush(QBrush(Qt::black, Qt::Dense6Pattern));
            m_smallAreas[k]->setPen(QPen(Qt::black, 1));
        } else {
            QLinearGradient shading(0, 0, 0, 1);
            shading.setCoordinateMode(QGradient::ObjectBoundingMode);
            shading.setColorAt(0, Qt::yellow);
            shading.setColorAt(1, Qt::white);
            chart->setBackgroundBrush(shading);
            m_smallAreas[k]->setBrush(QColor(0x008000));
            m_smallAreas[k]->setPen(QPen(QColor(0x006000), 1));
        }
    }
}

void TStat_Dlg::drawSeries() {
    qint64 low = m_series.lowestValue();
    qint64 high = m_series.highestValue();
    for (int k = 0; k < KartCount; ++k) {
        QList<QPointF> points;
        qint64 kartLow = 0;
        qint64 kartHigh = 0;
        for (const LapChartPoint& point : m_series.points(k + 1)) {
            if (point.gap)
                continue;
            points.append(QPointF(point.lap, double(point.value)));
            kartLow = points.size() == 1 ? point.value : std::min(kartLow, point.value);
            kartHigh = std::max(kartHigh, point.value);
        }
        m_lines[k]->replace(points);
        m_smallLines[k]->replace(points);
        const int kartLast = points.isEmpty() ? 1 : int(points.constLast().x());
        setLapAxis(m_smallLapAxes[k], 1, kartLast, 6);
        setTimeAxis(m_smallTimeAxes[k], !points.isEmpty(), kartLow, kartHigh, 5,
                    &ChartLabels::smallTimeLabel);
    }
    setLapAxis(m_lapAxis, 0, m_series.lastLap(), std::max(1, (LargeChartWidth - 100) / LapLabelRoom));
    setTimeAxis(m_timeAxis, !m_series.empty(), low, high, 8, &ChartLabels::largeTimeLabel);
}

void TStat_Dlg::PrvniClick() {
    LapChartSeries::Laps laps;
    LapChartSeries::Shown shown{};
    for (int k = 0; k < KartCount; ++k) {
        laps[k] = m_lapLists[k] ? m_lapLists[k]->entries() : QStringList();
        shown[k] = m_karts[k]->isChecked();
    }
    applyColours();
    // What was built before a stray entry is drawn all the same.
    const auto draw = qScopeGuard([this] { drawSeries(); });
    m_series.rebuild(laps, shown);
}

void TStat_Dlg::FormActivate() {
    // One rebuild for all the boxes ticked here, so that a stray entry is reported once.
    for (int k = 0; k < KartCount; ++k) {
        if (m_lapLists[k] && m_lapLists[k]->count() > 0) {
            const QSignalBlocker blocker(m_karts[k]);
            m_karts[k]->setChecked(true);
        }
    }
    PrvniClick();
}

void TStat_Dlg::FormClose() {
    for (QCheckBox* box : m_karts) {
        const QSignalBlocker blocker(box);
        box->setChecked(false);
    }
    m_chart1->eraseCrossHair();
    m_series.clear();
    drawSeries();
}

void TStat_Dlg::CheckBox1Click() {
    applyColours();
}

void TStat_Dlg::showReadout(double time, double lap) {
    m_readout->setText(ChartLabels::crossHairReadout(time, lap));
}

QImage TStat_Dlg::chartPicture() {
    return m_chart1->picture();
}

void TStat_Dlg::saveChartPicture(const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(chartPicture()))
        throw UserError(cannotCreateFileMessage(path, writer.errorString()));
    QString reason;
    if (!AtomicFile::write(path, bytes, &reason))
        throw UserError(cannotCreateFileMessage(path, reason));
}

void TStat_Dlg::UlozBMP() {
    if (!m_saveDialogs)
        return;
    QString path = m_saveDialogs->askSaveBitmap(QStringLiteral("graf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".bmp");
    saveChartPicture(path);
}

void TStat_Dlg::UlozDOClipb() {
    QGuiApplication::clipboard()->setImage(chartPicture());
}

void TStat_Dlg::printWholeWindow(QPrinter& printer) {
    const QImage image = grab().toImage();
    QPainter painter;
    if (!painter.begin(&printer))
        throw UserError(QStringLiteral("Tisk nelze zahájit: tiskárna úlohu nepřijala."));
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), size), image);
}

void TStat_Dlg::printChart(QPrinter& printer) {
    const QPageLayout::Orientation previous = printer.pageLayout().orientation();
    const auto restore = qScopeGuard([&printer, previous] { printer.setPageOrientation(previous); });
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        throw UserError(QStringLiteral("Tisk nelze zahájit: tiskárna úlohu nepřijala."));
    m_chart1->renderOnWhite(painter, QRectF(painter.viewport()));
}

void TStat_Dlg::BitBtn9Click() {
    if (m_hooks.setUpPrinter && m_hooks.setUpPrinter(printer()))
        printWholeWindow(printer());
}

void TStat_Dlg::BitBtn2Click() {
    if (m_hooks.setUpPrinter && m_hooks.setUpPrinter(printer()))
        printChart(printer());
}

void TStat_Dlg::TopTen10Click() {
    callHook(m_hooks.showBestTwenty);
    PrvniClick();
}

void TStat_Dlg::BitBtn1Click() {
    close();
}

void TStat_Dlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());
    ErrorBoundary::guarded([this] { FormActivate(); });
}

void TStat_Dlg::done(int result) {
    FormClose();
    QDialog::done(result);
}
