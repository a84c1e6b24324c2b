#pragma once

#include "backup/TBackupFile.h"

#include <QString>

struct CliStreams;

// The archive component as the backup commands use it: without a display and without questions,
// except for a volume that is not beside the first, which is asked for on the input stream (Enter
// goes on, the end of the input cancels). The component's own errors go to the error stream.
class BackupSession {
public:
    explicit BackupSession(CliStreams& streams);

    TBackupFile& backup() { return m_backup; }
    // From now on a missing volume is asked for; writing puts the volumes beside each other.
    void askForVolumes() { m_asking = true; }

    // The data folder given by --data (empty when none), else the tool's own folder.
    static QString dataFolder(const QString& given);

private:
    bool askForDisk(quint16 disk);

    CliStreams& m_streams;
    bool m_asking = false;
    TBackupFile m_backup;
};
