#include "config/ui/LogoView.h"

#include <QImageReader>
#include <QPainter>

LogoView::LogoView(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

bool LogoView::loadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    m_picture = path.isEmpty() ? QImage() : reader.read();
    update();
    return !m_picture.isNull();
}

void LogoView::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void LogoView::clear() {
    m_picture = QImage();
    update();
}

QRect LogoView::pictureRect() const {
    if (m_picture.isNull())
        return {};
    const QRect area = contentsRect();
    const QSize size = m_picture.size().scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2,
                 size.width(), size.height());
}

void LogoView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), m_picture);
}
