#pragma once

#include <QAbstractScrollArea>
#include <QPoint>

class TPrintPreview;

// The page area of a preview window: the document's shown page on a grey ground at the document's
// zoom, with scroll bars when it is larger than the area, dragged with the mouse, and the keys and
// wheel of the preview. Hidden while the document has no pages.
class PreviewPageArea : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int Margin = 10;

    explicit PreviewPageArea(TPrintPreview& document, QWidget* parent = nullptr);

    // The page's place in the viewport.
    QRect pageRect() const;

signals:
    // The area was resized (OnCanResize): a fitting zoom has been recomputed.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void updateScrollBars();
    void zoomChanged();
    void pagesChanged();
    void stepZoom(int steps);

    TPrintPreview& m_document;
    QPoint m_dragFrom;
    bool m_dragging = false;
    // Each scroll bar's place as a fraction of its range, kept across a zoom change.
    qreal m_horizontalShare = 0;
    qreal m_verticalShare = 0;
    int m_wheelTravel = 0;
};
