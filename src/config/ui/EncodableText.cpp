#include "config/ui/EncodableText.h"

#include "config/TextCodec.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

// Chooses every page on the way up from field, so that the operator sees the field the hint is
// about, whether it sits on a tab or in a stack of pages.
void bringIntoView(QWidget* field) {
    for (QWidget* child = field; child && child->parentWidget(); child = child->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(child->parentWidget());
        if (!stack)
            continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
            tabs->setCurrentWidget(child);
        else
            stack->setCurrentWidget(child);
    }
}

} // namespace

bool EncodableText::check(QWidget* parent, const QList<QLineEdit*>& fields) {
    for (QLineEdit* field : fields) {
        if (!field)
            continue;
        const QString hint = TextCodec::unencodableHint(field->text());
        if (hint.isEmpty())
            continue;
        bringIntoView(field);
        field->setFocus();
        QMessageBox::warning(parent, QStringLiteral("Nepodporované znaky"), hint);
        field->setFocus();
        return false;
    }
    return true;
}
