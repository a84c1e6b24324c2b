#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

class QProgressBar;

// The window shown while the program creates its windows: four pictures on a see-through background
// and a progress bar from 0 to 100 along the bottom.
class TSplashScreen : public QWidget {
    Q_OBJECT

public:
    explicit TSplashScreen(QWidget* parent = nullptr);

    // Sets the progress bar and paints at once: the event loop does not run during start-up.
    void setProgress(int percent);
    int progress() const;

    // Shows the window centred on the primary screen and paints it before returning.
    void showCentred();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QPixmap, 4> m_pictures;
    QProgressBar* m_progress = nullptr;
};
