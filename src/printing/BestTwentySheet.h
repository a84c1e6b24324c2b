#pragma once

#include "printing/PageUnits.h"
#include "printing/SheetSettings.h"

#include <QImage>

class TPrintPreview;

// The best-twenty sheet: the men's and women's tables as pictures of their lists, side by side on
// one A4 portrait page under the operator's logo and texts and "NEJLEPŠÍCH DVACET".
class BestTwentySheet {
public:
    static void BuildBestTwentySheet(TPrintPreview& document, TUnits units, const QImage& menPicture,
                                     const QImage& womenPicture, const SheetSettings& settings,
                                     const SheetBuildHooks& hooks = {});
};
