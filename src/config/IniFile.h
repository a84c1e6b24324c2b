#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The INI files of the program (settings, kart states, best-twenty tables). Section and key names are
// matched without regard to letter case. Values are kept as the file's bytes and decoded from
// windows-1250 only when read as text, so byte values such as learned serial bursts survive a rewrite
// exactly. Rewriting keeps the file's sections, keys, comments and blank lines in their order and
// appends what is new; lines that were not changed are written back as they were read.
class IniFile {
public:
    // Longest text a read returns; longer values are cut.
    static constexpr int kMaxValueLength = 2047;

    // Loads a file. A missing file gives an empty one and true; a file that exists but cannot be read
    // gives an empty one and false. A file refused unopened (a folder, a device, a FIFO or a link to
    // one; far larger than any INI file) also gives false, and refusal says so in Czech, naming it.
    bool load(const QString& path, QString* refusal = nullptr);
    // Writes the file atomically; false (with the reason in errorString) leaves the old file whole.
    bool save(const QString& path, QString* errorString = nullptr) const;

    void parse(const QByteArray& bytes);
    static IniFile fromBytes(const QByteArray& bytes);
    QByteArray serialize() const;

    bool hasSection(const QString& section) const;
    bool contains(const QString& section, const QString& key) const;
    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

    // The value as stored: blanks around it removed, one pair of enclosing double quotes removed,
    // cut to kMaxValueLength bytes. Empty when the key is missing.
    std::optional<QByteArray> value(const QString& section, const QString& key) const;

    QByteArray readBytes(const QString& section, const QString& key, const QByteArray& defaultValue) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Decimal, or hexadecimal after "0x"/"0X"; a value that is no integer gives the default.
    int readInt(const QString& section, const QString& key, int defaultValue) const;
    // Any integer other than 0 is true; a value that is no integer gives the default.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // An existing key keeps its place and spelling; a new key goes to the end of its section, a new
    // section to the end of the file.
    void writeBytes(const QString& section, const QString& key, const QByteArray& value);
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void removeKey(const QString& section, const QString& key);

    // The integer rule of readInt on its own; nullopt for a value that is no integer.
    static std::optional<int> parseInt(const QByteArray& text);

private:
    struct Line {
        QByteArray text; // the line as read; rebuilt from key and value once written
        bool isKey = false;
        QString key;
        QByteArray value;
        bool written = false;
    };
    struct Section {
        QString name;
        QByteArray header;
        QList<Line> lines;
    };

    const Section* findSection(const QString& name) const;
    Section& sectionForWriting(const QString& name);
    static const Line* findKey(const Section& section, const QString& key);

    QList<QByteArray> m_preamble; // lines before the first section
    QList<Section> m_sections;
};
