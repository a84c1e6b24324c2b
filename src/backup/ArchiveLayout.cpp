#include "backup/ArchiveLayout.h"

#include "backup/TBackupFile.h"
#include "config/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

// The archive ended or broke its layout.
struct Broken {};

class Reader {
public:
    explicit Reader(const QString& name) : m_file(name) {}
    bool open() { return QFileInfo(m_file.fileName()).isFile() && m_file.open(QIODevice::ReadOnly); }
    void reopen(const QString& name) {
        m_file.close();
        m_file.setFileName(name);
        if (!open())
            throw Broken{};
    }
    QByteArray read(qint64 size) {
        const QByteArray bytes = m_file.read(size);
        if (bytes.size() != size)
            throw Broken{};
        return bytes;
    }
    qint32 int32() { return qFromLittleEndian<qint32>(read(4).constData()); }
    void skip(qint64 size) {
        if (size < 0 || m_file.pos() + size > m_file.size() || !m_file.seek(m_file.pos() + size))
            throw Broken{};
    }

private:
    QFile m_file;
};

} // namespace

ArchiveLayout ArchiveLayout::read(const QString& archiveName) {
    ArchiveLayout layout;
    Reader in(archiveName);
    if (!in.open())
        return layout;
    try {
        const qint32 titleLength = in.int32();
        if (titleLength < 0 || titleLength > MaxTitleBytes)
            return layout;
        in.skip(titleLength + 8); // the title, the total size and the file count
        int volume = 1;
        bool inEntry = false;
        for (;;) {
            const qint32 nameLength = in.int32();
            if (nameLength == 0) {
                layout.m_whole = true;
                return layout;
            }
            if (nameLength < 0 || nameLength > MaxNameBytes)
                return layout;
            const QByteArray name = in.read(nameLength);
            if (nameLength == 12 && name.startsWith("NEXT:DISK")) {
                bool digits = false;
                const int wanted = name.mid(9).toInt(&digits);
                if (!inEntry || !digits || wanted != volume + 1)
                    return layout;
                volume = wanted;
                in.reopen(TBackupFile::volumeName(archiveName, volume));
            } else {
                in.int32(); // the time
                if (name != "FILE:LIST")
                    layout.m_names << TextCodec::decode(name);
                inEntry = true;
            }
            if (in.read(4) != QByteArray("EC2\0", 4))
                return layout;
            for (qint32 length = in.int32(); length != 0; length = in.int32()) {
                if (length > TBackupFile::kBlockSize || length < -TBackupFile::kBlockSize)
                    return layout;
                in.skip(length < 0 ? -qint64(length) : length);
            }
        }
    } catch (const Broken&) {
        return layout;
    }
}
