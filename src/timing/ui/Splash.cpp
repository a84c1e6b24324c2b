#include "timing/ui/Splash.h"

#include "timing/ui/SplashArtwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 300;

} // namespace

TSplashScreen::TSplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashScreen"));
    // Black is the see-through colour: the pictures float over the desktop.
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWidth, kHeight);

    m_pictures = {SplashArtwork::title(QSize(360, 110)), SplashArtwork::kart(QSize(240, 120)),
                  SplashArtwork::flag(QSize(100, 100)), SplashArtwork::stopwatch(QSize(100, 100))};

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setGeometry(40, kHeight - 34, kWidth - 80, 14);
    m_progress->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid #202020; border-radius: 4px; background: #e8e8e8; }"
        "QProgressBar::chunk { border-radius: 3px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #6080ff, stop:1 #1030a0); }"));
}

void TSplashScreen::setProgress(int percent) {
    m_progress->setValue(qBound(0, percent, 100));
    if (isVisible())
        repaint();
}

int TSplashScreen::progress() const {
    return m_progress->value();
}

void TSplashScreen::showCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - rect().center());
    }
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplashScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawPixmap(80, 8, m_pictures[0]);
    painter.drawPixmap(140, 124, m_pictures[1]);
    painter.drawPixmap(20, 140, m_pictures[2]);
    painter.drawPixmap(400, 140, m_pictures[3]);
}
