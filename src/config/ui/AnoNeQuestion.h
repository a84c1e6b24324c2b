#pragma once

#include <QString>

class QWidget;

// A question before a step that cannot be undone: buttons "Ano" and "Ne", "Ne" the default, so
// that an Enter pressed by habit keeps the data.
namespace AnoNeQuestion {

// True only when the operator answers "Ano".
bool ask(QWidget* parent, const QString& title, const QString& text);

} // namespace AnoNeQuestion
