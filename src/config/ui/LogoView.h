#pragma once

#include <QFrame>
#include <QImage>

// The logo picture of the page "Tisk": scaled to fit the frame with its proportions kept, centred.
class LogoView : public QFrame {
    Q_OBJECT

public:
    explicit LogoView(QWidget* parent = nullptr);

    // False when the file is no picture; the view is then empty.
    bool loadPicture(const QString& path);
    void setPicture(const QImage& picture);
    void clear();
    const QImage& picture() const { return m_picture; }
    // Where the picture is drawn inside the frame.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
