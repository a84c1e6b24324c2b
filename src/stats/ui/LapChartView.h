#pragma once

#include <QChartView>
#include <QImage>

#include <optional>

class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QXYSeries;

// The large lap chart's view: its framed title, the cross-hair that follows the mouse over the
// plotting area, and its picture on white.
class LapChartView : public QChartView {
    Q_OBJECT

public:
    explicit LapChartView(QChart* chart, QWidget* parent = nullptr);

    // The title above the chart in a frame of the text's colour.
    void setFramedTitle(const QString& text, const QFont& font, const QColor& color);
    QString framedTitle() const;
    QColor framedTitleColor() const;
    // The series whose axes turn the mouse position into values.
    void setReadingSeries(QXYSeries* series) { m_readingSeries = series; }

    // Chart1MouseMove: the cross-hair through position (viewport coordinates) when it lies inside
    // the plotting area, else none; emits the values there.
    void Chart1MouseMove(const QPoint& position);
    void eraseCrossHair();
    std::optional<QPoint> crossHair() const { return m_crossHair; }
    // The plotting area in viewport coordinates.
    QRect plotArea() const;

    // The chart as shown, without the cross-hair, on a white background at the view's size.
    QImage picture();
    // The same into a painter's rectangle (a printer page).
    void renderOnWhite(QPainter& painter, const QRectF& target);

signals:
    // The time (vertical) and lap (horizontal) values under the cross-hair.
    void crossHairMoved(double time, double lap);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeTitle();

    QXYSeries* m_readingSeries = nullptr;
    QGraphicsRectItem* m_titleFrame = nullptr;
    QGraphicsSimpleTextItem* m_title = nullptr;
    std::optional<QPoint> m_crossHair;
};
