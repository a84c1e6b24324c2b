#include "stats/ui/LapChartView.h"

#include <QBrush>
#include <QChart>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QXYSeries>

namespace {

constexpr int TitlePadding = 4;
constexpr int TitleGap = 6;

} // namespace

LapChartView::LapChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRubberBand(QChartView::NoRubberBand);
    setRenderHint(QPainter::Antialiasing, false);
    viewport()->setMouseTracking(true);
    setMouseTracking(true);
    m_titleFrame = new QGraphicsRectItem(chart);
    m_title = new QGraphicsSimpleTextItem(m_titleFrame);
    m_titleFrame->setBrush(Qt::NoBrush);
    m_titleFrame->setZValue(10);
    connect(chart, &QChart::geometryChanged, this, &LapChartView::placeTitle);
}

void LapChartView::setFramedTitle(const QString& text, const QFont& font, const QColor& color) {
    m_title->setText(text);
    m_title->setFont(font);
    m_title->setBrush(color);
    m_titleFrame->setPen(QPen(color, 1));
    QMargins margins = chart()->margins();
    margins.setTop(int(m_title->boundingRect().height()) + 2 * TitlePadding + 2 * TitleGap);
    chart()->setMargins(margins);
    placeTitle();
}

QString LapChartView::framedTitle() const {
    return m_title->text();
}

QColor LapChartView::framedTitleColor() const {
    return m_title->brush().color();
}

void LapChartView::placeTitle() {
    const QRectF text = m_title->boundingRect();
    const QRectF frame(0, 0, text.width() + 2 * TitlePadding, text.height() + 2 * TitlePadding);
    const QRectF bounds = chart()->boundingRect();
    m_titleFrame->setRect(frame);
    m_titleFrame->setPos(qRound(bounds.center().x() - frame.width() / 2), TitleGap);
    m_title->setPos(TitlePadding, TitlePadding);
}

QRect LapChartView::plotArea() const {
    return mapFromScene(chart()->mapToScene(chart()->plotArea())).boundingRect();
}

void LapChartView::Chart1MouseMove(const QPoint& position) {
    eraseCrossHair();
    const QRect area = plotArea();
    if (!area.contains(position))
        return;
    m_crossHair = position;
    viewport()->update(QRect(area.left(), position.y(), area.width(), 1));
    viewport()->update(QRect(position.x(), area.top(), 1, area.height()));
    const QPointF value = chart()->mapToValue(chart()->mapFromScene(mapToScene(position)), m_readingSeries);
    emit crossHairMoved(value.y(), value.x());
}

void LapChartView::eraseCrossHair() {
    if (!m_crossHair)
        return;
    const QRect area = plotArea();
    const QPoint at = *m_crossHair;
    m_crossHair.reset();
    // The scene is drawn again beneath the lines, which takes them away.
    viewport()->update(QRect(area.left(), at.y(), area.width(), 1));
    viewport()->update(QRect(at.x(), area.top(), 1, area.height()));
}

void LapChartView::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    Chart1MouseMove(event->position().toPoint());
}

bool LapChartView::viewportEvent(QEvent* event) {
    // The mouse leaves through the viewport, which covers the whole view.
    if (event->type() == QEvent::Leave)
        eraseCrossHair();
    return QChartView::viewportEvent(event);
}

void LapChartView::resizeEvent(QResizeEvent* event) {
    eraseCrossHair();
    QChartView::resizeEvent(event);
    placeTitle();
}

void LapChartView::paintEvent(QPaintEvent* event) {
    QChartView::paintEvent(event);
    if (!m_crossHair)
        return;
    // Exclusive-or with yellow turns whatever lies under the lines into its opposite, so the
    // cross-hair shows on the lines, the grid and the background alike.
    const QRect area = plotArea();
    QPainter painter(viewport());
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(QColor(255, 255, 0), 0));
    painter.drawLine(area.left(), m_crossHair->y(), area.right(), m_crossHair->y());
    painter.drawLine(m_crossHair->x(), area.top(), m_crossHair->x(), area.bottom());
}

QImage LapChartView::picture() {
    QImage image(viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderOnWhite(painter, QRectF(image.rect()));
    return image;
}

void LapChartView::renderOnWhite(QPainter& painter, const QRectF& target) {
    const QBrush background = chart()->backgroundBrush();
    chart()->setBackgroundBrush(Qt::white);
    render(&painter, target, viewport()->rect(), Qt::KeepAspectRatio);
    chart()->setBackgroundBrush(background);
}
