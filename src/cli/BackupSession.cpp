#include "cli/BackupSession.h"

#include "cli/CliCommand.h"
#include "config/DataFolderChoice.h"

#include <QTextStream>

#include <cstdio>

BackupSession::BackupSession(CliStreams& streams) : m_streams(streams) {
    m_backup.setLetEventsRun(false);
    m_backup.OnError = [this](int, const QString& text) { m_streams.err << text << Qt::endl; };
    m_backup.OnNeedDisk = [this](quint16 disk, bool& go) { go = askForDisk(disk); };
}

QString BackupSession::dataFolder(const QString& given) {
    return DataFolderChoice(given, DataFolderChoice::Environment::current()).folder();
}

bool BackupSession::askForDisk(quint16 disk) {
    // Writing, the volumes simply follow each other in the archive's folder.
    if (!m_asking)
        return true;
    m_streams.err << QStringLiteral("Please insert disk %1 and click OK to continue.").arg(disk) << Qt::endl;
    m_streams.err << QStringLiteral("(Enter: OK, konec vstupu: Storno)") << Qt::endl;
    QTextStream standardInput(stdin);
    QTextStream& in = m_streams.in ? *m_streams.in : standardInput;
    QString line;
    return in.readLineInto(&line);
}
