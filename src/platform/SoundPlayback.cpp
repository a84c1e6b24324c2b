#include "platform/SoundPlayback.h"

#include "base/ErrorBoundary.h"
#include "base/UserError.h"
#include "platform/SoundPlayer.h"

bool SoundPlayback::open(SoundPlayer& player, const QString& path, const QString& note,
                         const Report& report) {
    try {
        player.close();
        player.setFileName(path);
        player.open();
        return true;
    } catch (const UserError& error) {
        const QString message = note.isEmpty() ? error.message() : error.message() + QLatin1Char('\n') + note;
        if (report)
            report(message);
        else
            ErrorBoundary::reportMessage(message);
        return false;
    }
}

bool SoundPlayback::play(SoundPlayer& player, const QString& path, const QString& note,
                         const Report& report) {
    if (!open(player, path, note, report))
        return false;
    player.play();
    return true;
}
