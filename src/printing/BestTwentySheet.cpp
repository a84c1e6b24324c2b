#include "printing/BestTwentySheet.h"

#include "base/Hooks.h"
#include "printing/TPrintPreview.h"

namespace {

// The sheet's blue (named apart from the results sheet's, which shares its unity batch).
const QColor SheetBlue(0, 0, 255);

} // namespace

void BestTwentySheet::BuildBestTwentySheet(TPrintPreview& doc, TUnits units, const QImage& menPicture,
                                           const QImage& womenPicture, const SheetSettings& settings,
                                           const SheetBuildHooks& hooks) {
    doc.setUnits(units);
    doc.StartDocument();
    const int a = doc.fromHiMetric(1000);
    const int h = a / 2;
    const int q = h / 2;
    const int W = doc.PaperWidth();
    // The page's default colour for what stands before the title: the window-text colour.
    const QColor text = doc.defaultFont().color;

    // The logo keeps to the corner left of the operator's lines and above the title.
    if (!settings.logo.isNull())
        doc.PlacePicture(
            settings.logo,
            TPrintPreview::box(2 * a, a, 10 * a - q, qMin(a + (settings.logoSize / 8) * a, 7 * a - q)),
            settings.centreLogo);
    // Lines one cell apart, so that no line's background covers the one above.
    const PageTextStyle regular = PageTextStyle::cell(h, text);
    doc.textOut(10 * a, a + h, settings.texts[0], regular);
    doc.textOut(10 * a, a + 2 * h, settings.texts[1], regular);
    doc.textOut(10 * a, a + 5 * h, settings.texts[4], regular);
    doc.textOut(10 * a, a + 3 * h, settings.texts[2], regular.withBold());
    doc.textOut(10 * a, a + 4 * h, settings.texts[3], regular.withBold());
    doc.textOut(5 * a, 7 * a, QStringLiteral("NEJLEPŠÍCH DVACET"),
                PageTextStyle::character(a, SheetBlue).withUnderline());
    const PageTextStyle blue = PageTextStyle::character(h, SheetBlue);
    doc.textOut(7 * a, 8 * a + q, settings.dateText, blue);
    doc.textOut(10 * a, 8 * a + q, settings.timeText, blue);
    doc.textOut(2 * a, 11 * a, QStringLiteral("Jezdci"), blue.withBold().withItalic());
    doc.textOut(11 * a, 11 * a, QStringLiteral("Jezdkyně"), blue.withBold().withItalic());
    doc.PlacePicture(menPicture, TPrintPreview::box(2 * a, 12 * a, W - 2 * a, 22 * a), false);
    doc.PlacePicture(womenPicture, TPrintPreview::box(11 * a, 12 * a, W - 2 * a, 22 * a), false);
    doc.textOut(3 * a, 26 * a, settings.texts[5], blue.withItalic());
    doc.textOut(3 * a, 26 * a + h, settings.texts[6], blue.withItalic());
    doc.textOut(3 * a, 27 * a, settings.texts[7], blue.withItalic());
    const PageTextStyle small = PageTextStyle::cell(q, SheetBlue).withItalic();
    doc.textOut(15 * a, 26 * a + q, QStringLiteral("  Naprogramoval:"), small);
    doc.textOut(17 * a, 26 * a + q, SheetSignature::authorLine(), small);
    doc.textOut(17 * a, 26 * a + h, SheetSignature::makerLine(), small);
    doc.textOut(17 * a, 27 * a - q, SheetSignature::contactLine(), small);
    callHook(hooks.processEvents);
    doc.FinishDocument();
}
