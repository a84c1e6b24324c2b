#include "PageRecorder.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>

#include <climits>

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(RecordedPage& page) : QPaintEngine(QPaintEngine::AllFeatures), m_page(page) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyTransform)
            m_transform = state.transform();
        if (state.state() & QPaintEngine::DirtyPen)
            m_pen = state.pen();
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QFontMetricsF metrics(item.font());
        m_page.texts.append({item.text(), m_transform.map(QPointF(p.x(), p.y() - metrics.ascent())),
                             item.font(), m_pen.color()});
    }
    // Only outlined rectangles count: a text's white background is filled without a pen.
    void drawRects(const QRectF* rects, int count) override {
        if (m_pen.style() == Qt::NoPen)
            return;
        for (int i = 0; i < count; ++i)
            m_page.rects.append(m_transform.mapRect(rects[i]));
    }
    void drawRects(const QRect* rects, int count) override {
        if (m_pen.style() == Qt::NoPen)
            return;
        for (int i = 0; i < count; ++i)
            m_page.rects.append(m_transform.mapRect(QRectF(rects[i])));
    }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override {
        m_page.images.append(m_transform.mapRect(r));
    }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        m_page.images.append(m_transform.mapRect(r));
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
        if (count == 2)
            m_page.lines.append(QLineF(m_transform.map(points[0]), m_transform.map(points[1])));
    }
    // Outlined shapes (the frames come as paths) by their bounds; fills without a pen are a text's
    // background.
    void drawPath(const QPainterPath& path) override {
        if (m_pen.style() != Qt::NoPen)
            m_page.rects.append(m_transform.mapRect(path.boundingRect()));
    }

private:
    RecordedPage& m_page;
    QTransform m_transform;
    QPen m_pen;
};

PageRecorder::PageRecorder() : m_engine(std::make_unique<RecordingEngine>(m_page)) {}

PageRecorder::~PageRecorder() = default;

QPaintEngine* PageRecorder::paintEngine() const {
    return m_engine.get();
}

int PageRecorder::metric(PaintDeviceMetric metric) const {
    // The resolution a picture records at, so that it replays at its own scale.
    QPicture probe;
    switch (metric) {
    case PdmWidth:
    case PdmHeight:
        return 100000;
    case PdmWidthMM:
    case PdmHeightMM:
        return 100000 * 254 / 10 / probe.logicalDpiX();
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return probe.logicalDpiX();
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return probe.logicalDpiY();
    case PdmDepth:
        return 32;
    case PdmNumColors:
        return INT_MAX;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}

RecordedPage PageRecorder::record(const QPicture& page) {
    PageRecorder device;
    {
        QPainter painter(&device);
        painter.drawPicture(0, 0, page);
    }
    return device.m_page;
}

RecordedPage::Text RecordedPage::find(const QString& text) const {
    for (const Text& t : texts)
        if (t.text == text)
            return t;
    return {};
}

int RecordedPage::count(const QString& text) const {
    int n = 0;
    for (const Text& t : texts)
        n += t.text == text ? 1 : 0;
    return n;
}

QString RecordedPage::textAt(qreal x, qreal y, qreal tolerance) const {
    for (const Text& t : texts)
        if (qAbs(t.topLeft.x() - x) <= tolerance && qAbs(t.topLeft.y() - y) <= tolerance)
            return t.text;
    return {};
}
