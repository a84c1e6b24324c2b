#pragma once

#include "printing/PageTextStyle.h"
#include "printing/PageUnits.h"

#include <QImage>
#include <QObject>
#include <QPageLayout>
#include <QPainter>
#include <QPicture>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QTemporaryFile;

// The page document of the printed sheets: pages recorded as resolution-independent drawings in the
// page unit, one of them shown at a zoom, all of them printed or written as PDF. The drawing surface
// of the open page takes every length in the page unit, from the paper's top-left corner.
class TPrintPreview : public QObject {
    Q_OBJECT

public:
    enum TPaperType { pA3, pA4, pA5, pB5, pLetter, pLegal, pCustom };
    enum TPrintOrientation { poPortrait, poLandscape };
    enum TZoomState { zsZoomOther, zsZoomToWidth, zsZoomToHeight, zsZoomToFit };
    enum Mode { Idle, Building, Printing };

    // Where pages go when printed: a paged device (a printer, a PDF writer) and what only a printer
    // has. An empty member does nothing.
    struct PrintTarget {
        QPagedPaintDevice* device = nullptr;
        std::function<void(const QString& title)> setJobTitle;
        std::function<void()> cancelJob; // the job is dropped, not finished
    };

    explicit TPrintPreview(QObject* parent = nullptr);
    ~TPrintPreview() override;

    // --- properties ---
    TUnits Units() const { return m_units; }
    // Converts the paper size, the default font's height and the pen width to the new unit.
    void setUnits(TUnits units);
    TPaperType PaperType() const { return m_paperType; }
    void setPaperType(TPaperType type);
    TPrintOrientation Orientation() const { return m_orientation; }
    void setOrientation(TPrintOrientation orientation);
    // In the page unit, orientation applied.
    int PaperWidth() const;
    int PaperHeight() const;
    // In portrait terms: both make the paper pCustom, limited to 1..32767.
    void setPaperWidth(int width);
    void setPaperHeight(int height);
    // The paper and orientation as a page layout without margins (for printers and PDF writers).
    QPageLayout pageLayout() const;

    int Zoom() const { return m_zoom; }
    // Clamps to ZoomMin..ZoomMax and sets the state zsZoomOther.
    void setZoom(int percent);
    int ZoomMin() const { return m_zoomMin; }
    int ZoomMax() const { return m_zoomMax; }
    int ZoomStep() const { return m_zoomStep; }
    TZoomState ZoomState() const { return m_zoomState; }
    void setZoomState(TZoomState state);
    bool ZoomSavePos() const { return m_zoomSavePos; }
    void setZoomSavePos(bool on) { m_zoomSavePos = on; }
    // The page area's inner size in screen pixels (its margins already taken off); a fitting zoom
    // state recomputes the zoom from it.
    void setViewSize(const QSize& size);
    // The page's true size on the screen, in pixels, and at the current zoom.
    QSize pageScreenSize() const;
    QSize zoomedPageSize() const;

    bool FastPrint() const { return m_fastPrint; }
    void setFastPrint(bool on) { m_fastPrint = on; }
    bool UsePrinterOptions() const { return m_usePrinterOptions; }
    void setUsePrinterOptions(bool on) { m_usePrinterOptions = on; }
    bool UseTempFile() const { return m_useTempFile; }
    // Takes effect at the next StartDocument.
    void setUseTempFile(bool on) { m_useTempFile = on; }
    QString PrintJobTitle() const { return m_jobTitle; }
    void setPrintJobTitle(const QString& title) { m_jobTitle = title; }
    // The font a new page starts with ("Arial", 2.6 mm character height, black).
    const PageTextStyle& defaultFont() const { return m_defaultFont; }
    int penWidth() const { return m_penWidth; }
    // The screen's pixels per inch, for the unit mmPixel and the pictures' natural size.
    int screenPixelsPerInch() const { return m_screenPpi; }
    void setScreenPixelsPerInch(int ppi);
    // A length given in hundredths of a millimetre, in the page unit.
    int fromHiMetric(int value) const;
    // A length in the page unit on a device of the given resolution.
    int devicePixels(int length, int dpi) const;

    // --- the document ---
    Mode mode() const { return m_mode; }
    void ClearDocument();
    void StartDocument();
    void AddPage();
    void FinishDocument();
    int PageCount() const;
    // 1-based; an empty picture outside the document.
    QPicture page(int number) const;
    // 0 without pages.
    int ShownPage() const { return m_shownPage; }
    // Clamps to 1..PageCount; nothing without pages.
    void setShownPage(int number);
    // The temporary file holding the pages (empty when they are kept in memory).
    QString tempFileName() const;

    // --- the drawing surface of the open page (only while building) ---
    QPainter* Canvas() { return m_painter.get(); }
    // A text with the top-left corner of its first character cell at (x, y), on an opaque white
    // background.
    void textOut(int x, int y, const QString& text, const PageTextStyle& style);
    // The box from corner (x1, y1) to corner (x2, y2), x2 - x1 wide.
    static QRect box(int x1, int y1, int x2, int y2) { return QRect(x1, y1, x2 - x1, y2 - y1); }
    // A rectangle in the default thin black pen with a white fill.
    void rectangle(const QRect& rect);
    // The picture into box: its natural size, shrunk proportionally where it does not fit, centred in
    // the box or at its top-left corner.
    void PlacePicture(const QImage& picture, const QRect& box, bool centred);
    // Where PlacePicture puts a picture of the given pixel size.
    QRect pictureRect(const QSize& pixels, const QRect& box, bool centred) const;

    // Draws page number (1-based) scaled into target on any painter.
    void paintPage(QPainter& painter, int number, const QRectF& target) const;

    // Sends every page to the target as the printer side asks: nothing unless idle with pages.
    // OnPrintProgress's handler may set abortIt to stop the job.
    // False only when the device would not start the job (no print went out).
    bool PrintAllPages(const PrintTarget& target);
    // Every page into a PDF file, vector text, the document's paper and orientation. Throws UserError
    // when the file cannot be written; an existing file is replaced only by a whole new one.
    void savePdf(const QString& path) const;

signals:
    void OnBeginDoc();
    void OnEndDoc();
    void OnNewPage();
    void OnAbort();
    void OnChange();
    void OnPrintProgress(int pageNum, int progress, bool* abortIt);
    void OnBeforePrint();
    void OnAfterPrint();
    void OnZoomChange();
    // The shown page changed (or the page area is to be shown or hidden).
    void shownPageChanged();

private:
    QSizeF portraitSize() const;
    void openPage();
    void closePage();
    void appendPage(const QPicture& picture);
    void setShownPageQuietly(int number);
    void recomputeFit();
    void renderPage(QPainter& painter, int number, const QRect& target, bool asBitmap) const;

    TUnits m_units = mmHiMetric;
    TPaperType m_paperType = pA4;
    TPrintOrientation m_orientation = poPortrait;
    int m_customWidth = 0; // portrait terms, page unit
    int m_customHeight = 0;
    int m_zoom = 100;
    int m_zoomMin = 10;
    int m_zoomMax = 500;
    int m_zoomStep = 10;
    TZoomState m_zoomState = zsZoomToFit;
    bool m_zoomSavePos = true;
    QSize m_viewSize;
    bool m_fastPrint = true;
    bool m_usePrinterOptions = false;
    bool m_useTempFile = false;
    QString m_jobTitle;
    PageTextStyle m_defaultFont;
    int m_penWidth = 0;
    int m_screenPpi = 96;

    Mode m_mode = Idle;
    // Pages in memory, or their places in the temporary file.
    QVector<QPicture> m_pages;
    std::unique_ptr<QTemporaryFile> m_tempFile;
    QVector<QPair<qint64, qint64>> m_tempPages; // offset and length of each page
    int m_shownPage = 0;
    std::unique_ptr<QPicture> m_open;
    std::unique_ptr<QPainter> m_painter;
};
