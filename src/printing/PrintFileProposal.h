#pragma once

#include <QDate>
#include <QString>

// The file a print or a PDF of one sheet or chart proposes: "stem_YYYY-MM-DD.pdf" in folder, with
// "_2", "_3", … before the suffix while that name is taken, so that no print silently replaces
// another's file.
QString proposePdfFile(const QString& folder, const QString& stem, const QDate& day);
