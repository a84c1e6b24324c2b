#include "hardware/ui/AutomaticPortRepair.h"

#include "hardware/PortRepair.h"
#include "hardware/ui/Restart.h"

#include <QMessageBox>

void runAutomaticPortRepair(PortRepair& repair, SystemRestart& restart, QWidget* parent) {
    const PortRepair::Result result = repair.run();
    if (!result.ok)
        QMessageBox::warning(parent, QStringLiteral("Automatická oprava portu"), result.message);
    TRestartDlg dialog(restart, parent);
    dialog.exec();
}
