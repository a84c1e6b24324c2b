#include "config/ui/HintDuration.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

void HintDuration::installOnApplication(int ms) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<HintDuration*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new HintDuration(ms, app));
}

bool HintDuration::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->toolTipDuration() < 0)
            widget->setToolTipDuration(m_ms);
    }
    return QObject::eventFilter(watched, event);
}
