#include "app/CommandLineOptions.h"
#include "app/ui/ProgramWindows.h"
#include "app/ui/TarvolinApplication.h"
#include "base/MessageText.h"
#include "base/UserError.h"
#include "platform/CzechDialogDates.h"
#include "platform/EventLoopChoice.h"
#include "platform/ThreadSlice.h"

#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    // Before the application object exists: the timers' hand-overs are cheaper on Qt's own event
    // dispatcher than on GLib's.
    EventLoopChoice::preferPlainUnixDispatcher();
    // The main thread closes each lap the sensor worker hands over: on a busy machine it should get
    // the processor at once, not after another program's slice.
    ThreadSlice::requestForCurrentThread(ThreadSlice::ShortMicroseconds);
    // Qt's standard dialogs show dates the Czech way, whatever the machine's own locale.
    auto dialogDates = std::make_unique<CzechDialogDates>();
    TarvolinApplication app(argc, argv);
    dialogDates.reset();
    std::unique_ptr<ProgramWindows> windows;
    try {
        CommandLineOptions::requireTextArguments(argc, argv);
        const CommandLineOptions options = CommandLineOptions::parse(app.arguments());
        // A mistyped option is said, not guessed at; the station starts without it.
        for (const QString& argument : options.unknown)
            std::fprintf(stderr, "Neznámý parametr „%s“ se nepoužije.\n",
                         qUtf8Printable(shortenedForMessage(argument)));
        windows = std::make_unique<ProgramWindows>(options);
    } catch (const UserError& error) {
        TarvolinApplication::reportStartFailure(error.message());
        return 1;
    }
    windows->show();
    return app.exec();
}
