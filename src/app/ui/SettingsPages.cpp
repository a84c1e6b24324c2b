#include "app/ui/SettingsPages.h"

#include "config/ui/SoundPage.h"
#include "config/ui/nastaveni.h"
#include "display/ui/AudiencePage.h"
#include "hardware/ui/ComPortsPage.h"
#include "hardware/ui/HwControlPage.h"
#include "hardware/ui/LightsPage.h"
#include "hardware/ui/PortTestPage.h"
#include "hardware/ui/StartupPage.h"
#include "printing/ui/PrintPage.h"
#include "publish/ui/MqttPage.h"
#include "rankings/ui/FtpPage.h"
#include "timing/ui/RacePage.h"
#include "voice/ui/HlasPage.h"

SettingsPages::SettingsPages(TSettings& settings, const Services& services, QWidget* parent)
    : m_window(std::make_unique<TNastavDlg>(settings, services.dataFolder, parent)) {
    StartupPage::Services startup;
    startup.parallelPort = services.parallelPort;
    startup.sensorSource = services.sensorSource;
    startup.startEntry = services.startEntry;
    startup.desktopShortcut = services.desktopShortcut;
    startup.shell = services.shell;
    startup.portRepair = services.portRepair;
    startup.systemRestart = services.systemRestart;
    startup.programPath = services.programPath;
    // Each page is in the window before the next is made, so that pages that follow another see it
    // showing the settings.
    TNastavDlg& window = *m_window;
    window.addPage(m_startup = new StartupPage(settings, startup));
    window.addPage(m_lights = new LightsPage(settings, *m_startup));
    window.addPage(m_sound = new SoundPage(settings, services.soundPlayer, services.dataFolder));
    window.addPage(m_print = new PrintPage(settings, services.dataFolder));
    window.addPage(m_audience = new AudiencePage(settings));
    window.addPage(m_hwControl = new HwControlPage(settings, services.controlPulse));
    window.addPage(m_comPorts = new ComPortsPage(settings, services.comPort, services.learnPanel));
    window.addPage(m_ftp = new FtpPage(settings, services.ftpSend));
    window.addPage(m_portTest = new PortTestPage(settings, *m_startup, services.parallelPort, services.timers,
                                                 services.learnPanel));
    window.addPage(m_race = new RacePage(settings));
    window.addPage(m_hlas = new HlasPage(settings));
    window.addPage(new MqttPage(settings));
}

SettingsPages::~SettingsPages() = default;
