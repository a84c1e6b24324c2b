#include "printing/TPrintPreview.h"

#include "base/UserError.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryFile>

#include <cmath>

namespace {

constexpr int MaxPaper = 32767;
// A page sent as a bitmap is rendered at most at this resolution: a whole A4 page at a printer's
// 1200 dpi would take over half a gigabyte.
constexpr int MaxBitmapDpi = 300;

QPageSize::PageSizeId pageSizeId(TPrintPreview::TPaperType type) {
    switch (type) {
    case TPrintPreview::pA3:
        return QPageSize::A3;
    case TPrintPreview::pA4:
        return QPageSize::A4;
    case TPrintPreview::pA5:
        return QPageSize::A5;
    case TPrintPreview::pB5:
        return QPageSize::B5;
    case TPrintPreview::pLetter:
        return QPageSize::Letter;
    case TPrintPreview::pLegal:
        return QPageSize::Legal;
    case TPrintPreview::pCustom:
        break;
    }
    return QPageSize::Custom;
}

int screenDpi() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return qMax(1, int(std::lround(screen->logicalDotsPerInchX())));
    return 96;
}

} // namespace

TPrintPreview::TPrintPreview(QObject* parent) : QObject(parent), m_screenPpi(screenDpi()) {
    m_defaultFont.family = QStringLiteral("Arial");
    m_defaultFont.size = 260;
    m_defaultFont.sizeKind = PageTextStyle::CharacterHeight;
    m_defaultFont.color = Qt::black;
    m_penWidth = 0;
}

TPrintPreview::~TPrintPreview() {
    if (m_painter)
        m_painter->end();
}

void TPrintPreview::setScreenPixelsPerInch(int ppi) {
    m_screenPpi = qMax(1, ppi);
}

int TPrintPreview::fromHiMetric(int value) const {
    return PageUnits::ConvertMeasure(value, mmHiMetric, m_units, m_screenPpi);
}

int TPrintPreview::devicePixels(int length, int dpi) const {
    return int(std::lround(qreal(length) * dpi / PageUnits::perInch(m_units, m_screenPpi)));
}

void TPrintPreview::setUnits(TUnits units) {
    if (units == m_units)
        return;
    const auto convert = [&](int value) {
        return PageUnits::ConvertMeasure(value, m_units, units, m_screenPpi);
    };
    m_customWidth = convert(m_customWidth);
    m_customHeight = convert(m_customHeight);
    m_defaultFont.size = convert(m_defaultFont.size);
    m_penWidth = convert(m_penWidth);
    m_units = units;
    emit OnChange();
}

void TPrintPreview::setPaperType(TPaperType type) {
    if (type == pCustom) {
        const QSizeF size = portraitSize();
        m_customWidth = int(size.width());
        m_customHeight = int(size.height());
    }
    m_paperType = type;
    recomputeFit();
    emit OnChange();
}

void TPrintPreview::setOrientation(TPrintOrientation orientation) {
    m_orientation = orientation;
    recomputeFit();
    emit OnChange();
}

QSizeF TPrintPreview::portraitSize() const {
    if (m_paperType == pCustom)
        return QSizeF(m_customWidth, m_customHeight);
    // The standard sizes in hundredths of a millimetre, then by the unit rule.
    const QSizeF mm = QPageSize::size(pageSizeId(m_paperType), QPageSize::Millimeter);
    return QSizeF(fromHiMetric(int(std::lround(mm.width() * 100))),
                  fromHiMetric(int(std::lround(mm.height() * 100))));
}

int TPrintPreview::PaperWidth() const {
    const QSizeF size = portraitSize();
    return int(m_orientation == poLandscape ? size.height() : size.width());
}

int TPrintPreview::PaperHeight() const {
    const QSizeF size = portraitSize();
    return int(m_orientation == poLandscape ? size.width() : size.height());
}

void TPrintPreview::setPaperWidth(int width) {
    const QSizeF size = portraitSize();
    m_customWidth = qBound(1, width, MaxPaper);
    m_customHeight = int(size.height());
    m_paperType = pCustom;
    recomputeFit();
    emit OnChange();
}

void TPrintPreview::setPaperHeight(int height) {
    const QSizeF size = portraitSize();
    m_customWidth = int(size.width());
    m_customHeight = qBound(1, height, MaxPaper);
    m_paperType = pCustom;
    recomputeFit();
    emit OnChange();
}

QPageLayout TPrintPreview::pageLayout() const {
    QPageSize size;
    if (m_paperType == pCustom) {
        // In tenths of a millimetre, portrait terms.
        const int width = PageUnits::ConvertMeasure(m_customWidth, m_units, mmLoMetric, m_screenPpi);
        const int height = PageUnits::ConvertMeasure(m_customHeight, m_units, mmLoMetric, m_screenPpi);
        size = QPageSize(QSizeF(width / 10.0, height / 10.0), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    } else {
        size = QPageSize(pageSizeId(m_paperType));
    }
    return QPageLayout(size, m_orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

// --- zoom ---

void TPrintPreview::setZoom(int percent) {
    m_zoomState = zsZoomOther;
    const int zoom = qBound(m_zoomMin, percent, m_zoomMax);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    emit OnZoomChange();
}

void TPrintPreview::setZoomState(TZoomState state) {
    m_zoomState = state;
    recomputeFit();
}

void TPrintPreview::setViewSize(const QSize& size) {
    m_viewSize = size;
    recomputeFit();
}

QSize TPrintPreview::pageScreenSize() const {
    return QSize(PageUnits::ConvertMeasure(PaperWidth(), m_units, mmPixel, m_screenPpi),
                 PageUnits::ConvertMeasure(PaperHeight(), m_units, mmPixel, m_screenPpi));
}

QSize TPrintPreview::zoomedPageSize() const {
    const QSize page = pageScreenSize();
    return QSize(int(std::lround(page.width() * m_zoom / 100.0)),
                 int(std::lround(page.height() * m_zoom / 100.0)));
}

void TPrintPreview::recomputeFit() {
    if (m_zoomState == zsZoomOther || m_viewSize.isEmpty())
        return;
    const QSize page = pageScreenSize();
    if (page.isEmpty())
        return;
    const qreal byWidth = 100.0 * m_viewSize.width() / page.width();
    const qreal byHeight = 100.0 * m_viewSize.height() / page.height();
    qreal zoom = byWidth;
    if (m_zoomState == zsZoomToHeight)
        zoom = byHeight;
    else if (m_zoomState == zsZoomToFit)
        zoom = qMin(byWidth, byHeight);
    const int fitted = qBound(m_zoomMin, int(std::lround(zoom)), m_zoomMax);
    if (fitted == m_zoom)
        return;
    m_zoom = fitted;
    emit OnZoomChange();
}

// --- the document ---

int TPrintPreview::PageCount() const {
    return m_tempFile ? int(m_tempPages.size()) : int(m_pages.size());
}

void TPrintPreview::ClearDocument() {
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    m_open.reset();
    m_pages.clear();
    m_tempPages.clear();
    m_tempFile.reset();
    m_mode = Idle;
    setShownPageQuietly(0);
    emit OnChange();
}

void TPrintPreview::StartDocument() {
    if (m_mode == Building)
        return;
    ClearDocument();
    if (m_useTempFile) {
        m_tempFile = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("TMPXXXXXX")));
        if (!m_tempFile->open())
            m_tempFile.reset(); // the pages stay in memory then
    }
    m_mode = Building;
    emit OnBeginDoc();
    openPage();
}

void TPrintPreview::AddPage() {
    if (m_mode != Building)
        return;
    closePage();
    openPage();
}

void TPrintPreview::FinishDocument() {
    if (m_mode != Building)
        return;
    closePage();
    emit OnEndDoc();
    m_mode = Idle;
}

void TPrintPreview::openPage() {
    m_open = std::make_unique<QPicture>();
    m_open->setBoundingRect(QRect(0, 0, PaperWidth(), PaperHeight()));
    m_painter = std::make_unique<QPainter>(m_open.get());
    QPen pen(Qt::black);
    pen.setWidth(m_penWidth);
    m_painter->setPen(pen);
    m_painter->setFont(m_defaultFont.font());
    m_painter->setBackground(Qt::white);
    emit OnNewPage();
}

void TPrintPreview::closePage() {
    if (!m_painter)
        return;
    m_painter->end();
    m_painter.reset();
    m_open->setBoundingRect(QRect(0, 0, PaperWidth(), PaperHeight()));
    appendPage(*m_open);
    m_open.reset();
}

void TPrintPreview::appendPage(const QPicture& picture) {
    const bool wasEmpty = PageCount() == 0;
    if (m_tempFile) {
        const qint64 offset = m_tempFile->size();
        m_tempFile->seek(offset);
        const QByteArray data(picture.data(), int(picture.size()));
        if (m_tempFile->write(data) != data.size())
            throw UserError(QStringLiteral("Nelze zapsat do dočasného souboru „%1“: %2")
                                .arg(m_tempFile->fileName(), m_tempFile->errorString()));
        m_tempPages.append({offset, qint64(data.size())});
    } else {
        m_pages.append(picture);
    }
    if (wasEmpty)
        setShownPageQuietly(1);
    emit OnChange();
}

QPicture TPrintPreview::page(int number) const {
    QPicture picture;
    if (number < 1 || number > PageCount())
        return picture;
    if (!m_tempFile)
        return m_pages.at(number - 1);
    const auto [offset, length] = m_tempPages.at(number - 1);
    m_tempFile->seek(offset);
    const QByteArray data = m_tempFile->read(length);
    picture.setData(data.constData(), uint(data.size()));
    return picture;
}

QString TPrintPreview::tempFileName() const {
    return m_tempFile ? m_tempFile->fileName() : QString();
}

void TPrintPreview::setShownPage(int number) {
    if (PageCount() == 0)
        return;
    setShownPageQuietly(qBound(1, number, PageCount()));
}

void TPrintPreview::setShownPageQuietly(int number) {
    if (number == m_shownPage)
        return;
    m_shownPage = number;
    emit shownPageChanged();
}

// --- drawing ---

void TPrintPreview::textOut(int x, int y, const QString& text, const PageTextStyle& style) {
    if (!m_painter || text.isEmpty())
        return;
    QPainter& painter = *m_painter;
    painter.save();
    painter.setFont(style.font());
    painter.setPen(style.color);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    const QFontMetricsF metrics(painter.font(), m_open.get());
    const QRectF cell(QPointF(x, y),
                      QSizeF(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()));
    painter.fillRect(cell, Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
    painter.restore();
}

void TPrintPreview::rectangle(const QRect& rect) {
    if (!m_painter)
        return;
    m_painter->save();
    m_painter->setBrush(Qt::white);
    m_painter->drawRect(rect);
    m_painter->restore();
}

QRect TPrintPreview::pictureRect(const QSize& pixels, const QRect& box, bool centred) const {
    // The natural size: the pixels at the screen's resolution, through thousandths of an inch.
    const auto natural = [&](int length) {
        return PageUnits::ConvertMeasure(PageUnits::ConvertMeasure(length, mmPixel, mmHiEnglish, m_screenPpi),
                                         mmHiEnglish, m_units, m_screenPpi);
    };
    const qint64 w = natural(pixels.width());
    const qint64 h = natural(pixels.height());
    const qint64 boxWidth = box.width();
    const qint64 boxHeight = box.height();
    qint64 width = w;
    qint64 height = h;
    if (w <= 0 || h <= 0)
        return {};
    if (!(boxWidth >= w && boxHeight >= h)) {
        if (qreal(boxHeight) / h <= qreal(boxWidth) / w) {
            width = w * boxHeight / h;
            height = boxHeight;
        } else {
            width = boxWidth;
            height = h * boxWidth / w;
        }
    }
    QPoint topLeft = box.topLeft();
    if (centred)
        topLeft += QPoint(int((boxWidth - width) / 2), int((boxHeight - height) / 2));
    return QRect(topLeft, QSize(int(width), int(height)));
}

void TPrintPreview::PlacePicture(const QImage& picture, const QRect& box, bool centred) {
    if (!m_painter || picture.isNull())
        return;
    const QRect where = pictureRect(picture.size(), box, centred);
    if (where.isEmpty())
        return;
    m_painter->save();
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter->drawImage(where, picture);
    m_painter->restore();
}

void TPrintPreview::paintPage(QPainter& painter, int number, const QRectF& target) const {
    if (number < 1 || number > PageCount() || PaperWidth() <= 0 || PaperHeight() <= 0)
        return;
    const QPicture picture = page(number);
    painter.save();
    painter.setClipRect(target, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter.translate(target.topLeft());
    painter.scale(target.width() / PaperWidth(), target.height() / PaperHeight());
    // A picture played on a device scales itself by the device's resolution over its own.
    if (const QPaintDevice* device = painter.device();
        device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter.scale(qreal(picture.logicalDpiX()) / device->logicalDpiX(),
                      qreal(picture.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

void TPrintPreview::renderPage(QPainter& painter, int number, const QRect& target, bool asBitmap) const {
    if (!asBitmap) {
        paintPage(painter, number, target);
        return;
    }
    const QPaintDevice* device = painter.device();
    const qreal dpi = device ? qMin(device->logicalDpiX(), MaxBitmapDpi) : MaxBitmapDpi;
    const qreal scale = device && device->logicalDpiX() > 0 ? dpi / device->logicalDpiX() : 1.0;
    QImage bitmap(qMax(1, int(target.width() * scale)), qMax(1, int(target.height() * scale)),
                  QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter onBitmap(&bitmap);
        onBitmap.setRenderHint(QPainter::Antialiasing);
        onBitmap.setRenderHint(QPainter::TextAntialiasing);
        paintPage(onBitmap, number, QRectF(QPointF(0, 0), QSizeF(bitmap.size())));
    }
    painter.drawImage(target, bitmap);
}

bool TPrintPreview::PrintAllPages(const PrintTarget& target) {
    if (m_mode != Idle || PageCount() == 0 || !target.device)
        return true;
    QPagedPaintDevice& device = *target.device;
    m_mode = Printing;
    emit OnBeforePrint();
    if (!m_usePrinterOptions)
        device.setPageLayout(pageLayout());
    if (target.setJobTitle)
        target.setJobTitle(m_jobTitle);

    const QPageLayout layout = device.pageLayout();
    const int resolution = device.logicalDpiX();
    const QRect fullRect = layout.fullRectPixels(resolution);
    // The painter starts at the printable area's corner; the page's corner belongs on the paper's.
    const QPoint offset = -layout.paintRectPixels(resolution).topLeft();
    QRect rect = fullRect;
    if (!m_usePrinterOptions)
        rect = QRect(0, 0, devicePixels(PaperWidth(), resolution),
                     devicePixels(PaperHeight(), device.logicalDpiY()));
    rect.translate(offset);

    bool aborted = false;
    bool started = false;
    {
        QPainter painter;
        if (!painter.begin(&device)) {
            aborted = true;
        } else {
            started = true;
            const int count = PageCount();
            for (int i = 1; i <= count && !aborted; ++i) {
                bool abortIt = false;
                emit OnPrintProgress(i, int(std::lround(100.0 * (i - 1) / count)), &abortIt);
                if (abortIt) {
                    aborted = true;
                    break;
                }
                renderPage(painter, i, rect, !m_fastPrint);
                emit OnPrintProgress(i, int(std::lround(100.0 * i / count)), &abortIt);
                if (abortIt) {
                    aborted = true;
                    break;
                }
                if (i < count)
                    device.newPage();
            }
            if (aborted) {
                emit OnAbort();
                if (target.cancelJob)
                    target.cancelJob();
            }
            painter.end();
        }
    }
    if (target.setJobTitle)
        target.setJobTitle(QString());
    emit OnAfterPrint();
    m_mode = Idle;
    return started;
}

void TPrintPreview::savePdf(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw UserError(QStringLiteral("Soubor PDF „%1“ nelze vytvořit. %2").arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("Tarvolin"));
        writer.setTitle(m_jobTitle);
        writer.setPageLayout(pageLayout());
        QPainter painter;
        if (!painter.begin(&writer))
            throw UserError(QStringLiteral("Soubor PDF „%1“ nelze zapsat.").arg(path));
        const QRect rect(0, 0, devicePixels(PaperWidth(), writer.resolution()),
                         devicePixels(PaperHeight(), writer.resolution()));
        const int count = qMax(1, PageCount());
        for (int i = 1; i <= count; ++i) {
            paintPage(painter, i, rect);
            if (i < count)
                writer.newPage();
        }
        painter.end();
    }
    if (!file.commit())
        throw UserError(QStringLiteral("Soubor PDF „%1“ nelze zapsat. %2").arg(path, file.errorString()));
}
