#pragma once

#include <QList>

class QLineEdit;
class QWidget;

// The check that a window runs at OK on its fields that end up in a windows-1250 file: a text
// with a character the code page cannot hold ("Ø", an emoji) would come back as a box. The first
// such field is brought into view (its page chosen), focused, and the operator is told which
// characters to replace; nothing is stored.
namespace EncodableText {

// True when every field can be stored; otherwise shows the hint over parent and returns false.
bool check(QWidget* parent, const QList<QLineEdit*>& fields);

} // namespace EncodableText
