#include "printing/ui/PreviewPageArea.h"

#include "printing/TPrintPreview.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

qreal share(const QScrollBar* bar) {
    return bar->maximum() > 0 ? qreal(bar->value()) / bar->maximum() : 0.0;
}

} // namespace

PreviewPageArea::PreviewPageArea(TPrintPreview& document, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document) {
    setObjectName(QStringLiteral("PrintPreview"));
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Dark);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::OpenHandCursor);
    connect(&m_document, &TPrintPreview::OnZoomChange, this, &PreviewPageArea::zoomChanged);
    connect(&m_document, &TPrintPreview::shownPageChanged, this, &PreviewPageArea::pagesChanged);
    connect(&m_document, &TPrintPreview::OnChange, this, [this] {
        updateScrollBars();
        viewport()->update();
    });
    setVisible(false);
}

QRect PreviewPageArea::pageRect() const {
    const QSize page = m_document.zoomedPageSize();
    const QSize view = viewport()->size();
    // Centred while it fits, else from the margin at the scrolled place.
    const int x = page.width() + 2 * Margin <= view.width() ? (view.width() - page.width()) / 2
                                                            : Margin - horizontalScrollBar()->value();
    const int y = page.height() + 2 * Margin <= view.height() ? (view.height() - page.height()) / 2
                                                              : Margin - verticalScrollBar()->value();
    return QRect(QPoint(x, y), page);
}

void PreviewPageArea::paintEvent(QPaintEvent*) {
    if (m_document.ShownPage() == 0)
        return;
    QPainter painter(viewport());
    const QRect page = pageRect();
    // The paper: white, a black border of one pixel and a shadow of three.
    painter.fillRect(page.translated(3, 3), palette().color(QPalette::Shadow));
    painter.fillRect(page, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_document.paintPage(painter, m_document.ShownPage(), page);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(page.adjusted(-1, -1, 0, 0));
}

void PreviewPageArea::scrollContentsBy(int, int) {
    viewport()->update();
}

void PreviewPageArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const QSize view = viewport()->size() - QSize(2 * Margin, 2 * Margin);
    m_document.setViewSize(view.expandedTo(QSize(1, 1)));
    updateScrollBars();
    emit resized();
}

void PreviewPageArea::updateScrollBars() {
    const QSize page = m_document.zoomedPageSize() + QSize(2 * Margin, 2 * Margin);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, qMax(0, page.width() - view.width()));
    verticalScrollBar()->setRange(0, qMax(0, page.height() - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void PreviewPageArea::zoomChanged() {
    const qreal horizontal = share(horizontalScrollBar());
    const qreal vertical = share(verticalScrollBar());
    updateScrollBars();
    if (m_document.ZoomSavePos()) {
        horizontalScrollBar()->setValue(qRound(horizontal * horizontalScrollBar()->maximum()));
        verticalScrollBar()->setValue(qRound(vertical * verticalScrollBar()->maximum()));
    }
    viewport()->update();
}

void PreviewPageArea::pagesChanged() {
    setVisible(m_document.ShownPage() > 0);
    updateScrollBars();
    viewport()->update();
}

void PreviewPageArea::stepZoom(int steps) {
    m_document.setZoom(m_document.Zoom() + steps * m_document.ZoomStep());
}

void PreviewPageArea::keyPressEvent(QKeyEvent* event) {
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const auto scroll = [&](QScrollBar* bar, int direction) {
        const int step = shift  ? 1
                         : ctrl ? (bar == horizontal ? viewport()->width() : viewport()->height())
                                : bar->singleStep();
        bar->setValue(bar->value() + direction * step);
    };
    switch (event->key()) {
    case Qt::Key_Home:
        ctrl ? vertical->setValue(vertical->minimum()) : horizontal->setValue(horizontal->minimum());
        break;
    case Qt::Key_End:
        ctrl ? vertical->setValue(vertical->maximum()) : horizontal->setValue(horizontal->maximum());
        break;
    case Qt::Key_Left:
        scroll(horizontal, -1);
        break;
    case Qt::Key_Right:
        scroll(horizontal, 1);
        break;
    case Qt::Key_Up:
        scroll(vertical, -1);
        break;
    case Qt::Key_Down:
        scroll(vertical, 1);
        break;
    case Qt::Key_PageDown:
        m_document.setShownPage(ctrl ? m_document.PageCount() : m_document.ShownPage() + 1);
        break;
    case Qt::Key_PageUp:
        m_document.setShownPage(ctrl ? 1 : m_document.ShownPage() - 1);
        break;
    case Qt::Key_Plus:
        if (!event->modifiers().testFlag(Qt::KeypadModifier))
            return QAbstractScrollArea::keyPressEvent(event);
        stepZoom(1);
        break;
    case Qt::Key_Minus:
        if (!event->modifiers().testFlag(Qt::KeypadModifier))
            return QAbstractScrollArea::keyPressEvent(event);
        stepZoom(-1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PreviewPageArea::wheelEvent(QWheelEvent* event) {
    m_wheelTravel += event->angleDelta().y();
    const int notches = m_wheelTravel / 120;
    m_wheelTravel -= notches * 120;
    event->accept();
    if (notches == 0)
        return;
    // Away from the user is a positive travel.
    if (event->modifiers().testFlag(Qt::ShiftModifier) || event->buttons().testFlag(Qt::MiddleButton))
        m_document.setShownPage(m_document.ShownPage() - notches);
    else if (event->modifiers().testFlag(Qt::ControlModifier))
        stepZoom(notches);
    else
        verticalScrollBar()->setValue(verticalScrollBar()->value() -
                                      notches * verticalScrollBar()->singleStep());
}

void PreviewPageArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_dragging = true;
    m_dragFrom = event->position().toPoint();
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void PreviewPageArea::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return QAbstractScrollArea::mouseMoveEvent(event);
    const QPoint now = event->position().toPoint();
    const QPoint moved = now - m_dragFrom;
    m_dragFrom = now;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
}

void PreviewPageArea::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    viewport()->setCursor(Qt::OpenHandCursor);
    QAbstractScrollArea::mouseReleaseEvent(event);
}
