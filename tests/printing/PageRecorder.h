#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPicture>
#include <QRectF>
#include <QString>

#include <memory>

// What a recorded page draws, in page units: each text with the top-left corner of its cell, each
// outlined rectangle, each picture's target and each line.
struct RecordedPage {
    struct Text {
        QString text;
        QPointF topLeft;
        QFont font;
        QColor colour;
    };
    QList<Text> texts;
    QList<QRectF> rects;
    QList<QRectF> images;
    QList<QLineF> lines; // underlines among them

    // The first text equal to text; a default Text (empty) when none.
    Text find(const QString& text) const;
    int count(const QString& text) const;
    // The text whose cell starts at the point (within tolerance), empty when none.
    QString textAt(qreal x, qreal y, qreal tolerance = 0.5) const;
};

// Replays a page onto a paint device that only writes down what it is asked to draw.
class PageRecorder : public QPaintDevice {
public:
    PageRecorder();
    ~PageRecorder() override;
    static RecordedPage record(const QPicture& page);

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<QPaintEngine> m_engine;
    RecordedPage m_page;
    friend class RecordingEngine;
};
