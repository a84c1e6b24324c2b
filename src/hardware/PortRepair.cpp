#include "hardware/PortRepair.h"

#include "hardware/TSmallPort.h"
#include "platform/KernelModules.h"

PortRepair::Result PortRepair::run() {
    const bool wasOpen = m_port && m_port->Opened();
    if (wasOpen)
        m_port->setOpened(false);
    const QString error = m_modules.reloadParallelPortModules();
    if (wasOpen)
        m_port->setOpened(true);
    if (error.isEmpty())
        return {};
    return {false, QStringLiteral("Automatická oprava portu se nezdařila: ovladače paralelního portu "
                                  "(parport_pc, ppdev) se nepodařilo znovu zavést. K tomu jsou potřeba "
                                  "práva správce (root); spusťte opravu jako správce, nebo ovladače "
                                  "zaveďte ručně.\n\n") +
                       error};
}
