#include "config/IniFile.h"

#include "config/AtomicFile.h"
#include "config/DataFileReader.h"
#include "config/TextCodec.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool isQuoted(const QByteArray& value) {
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

// A value that reading would change (blanks at its ends, enclosing quotes) is written in quotes, so
// that every byte string but one holding a line end reads back as it was written.
QByteArray storedForm(QByteArray value) {
    for (char& c : value) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    if (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()) || isQuoted(value)))
        return '"' + value + '"';
    return value;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<int> IniFile::parseInt(const QByteArray& raw) {
    const QByteArray text = trimBlanks(raw);
    if (text.size() > 2 && text.at(0) == '0' && (text.at(1) == 'x' || text.at(1) == 'X')) {
        quint64 value = 0;
        for (qsizetype i = 2; i < text.size(); ++i) {
            const int digit = hexDigit(text.at(i));
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + quint64(digit);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        // Eight hexadecimal digits fill the 32 bits, sign included, as the stored form always did.
        return int(quint32(value));
    }
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '-' || text.at(i) == '+')) {
        negative = text.at(i) == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return int(value);
}

bool IniFile::load(const QString& path, QString* refusal) {
    m_preamble.clear();
    m_sections.clear();
    const DataFileReader::Result read = DataFileReader::read(path);
    if (read.status == DataFileReader::Status::Refused && refusal)
        *refusal = read.error;
    if (read.status == DataFileReader::Status::Refused || read.status == DataFileReader::Status::Unreadable)
        return false;
    parse(read.bytes);
    return true;
}

bool IniFile::save(const QString& path, QString* errorString) const {
    return AtomicFile::write(path, serialize(), errorString);
}

IniFile IniFile::fromBytes(const QByteArray& bytes) {
    IniFile ini;
    ini.parse(bytes);
    return ini;
}

void IniFile::parse(const QByteArray& bytes) {
    m_preamble.clear();
    m_sections.clear();
    // An editor that saved the file as UTF-8 may have put a byte-order mark before the first section,
    // which would hide that section. Our files are windows-1250, so the mark is not written back.
    static const QByteArray byteOrderMark("\xEF\xBB\xBF");
    const QByteArray content = bytes.startsWith(byteOrderMark) ? bytes.mid(byteOrderMark.size()) : bytes;
    for (const QByteArray& text : TextCodec::splitLines(content)) {
        const QByteArray trimmed = trimBlanks(text);
        if (trimmed.startsWith('[')) {
            qsizetype close = trimmed.indexOf(']');
            if (close < 0)
                close = trimmed.size();
            Section section;
            section.name = TextCodec::decode(trimBlanks(trimmed.mid(1, close - 1)));
            section.header = text;
            m_sections.append(section);
            continue;
        }
        if (m_sections.isEmpty()) {
            m_preamble.append(text);
            continue;
        }
        Line line;
        line.text = text;
        const qsizetype equals = trimmed.indexOf('=');
        if (!trimmed.startsWith(';') && equals > 0) {
            const QByteArray key = trimBlanks(trimmed.left(equals));
            if (!key.isEmpty()) {
                line.isKey = true;
                line.key = TextCodec::decode(key);
                line.value = trimBlanks(trimmed.mid(equals + 1));
                if (isQuoted(line.value))
                    line.value = line.value.mid(1, line.value.size() - 2);
            }
        }
        m_sections.last().lines.append(line);
    }
}

QByteArray IniFile::serialize() const {
    QList<QByteArray> lines = m_preamble;
    for (const Section& section : m_sections) {
        lines.append(section.header);
        for (const Line& line : section.lines) {
            if (line.written)
                lines.append(TextCodec::encode(line.key) + '=' + storedForm(line.value));
            else
                lines.append(line.text);
        }
    }
    return TextCodec::joinLines(lines);
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    for (const Section& section : m_sections) {
        if (sameName(section.name, name))
            return &section;
    }
    return nullptr;
}

const IniFile::Line* IniFile::findKey(const Section& section, const QString& key) {
    for (const Line& line : section.lines) {
        if (line.isKey && sameName(line.key, key))
            return &line;
    }
    return nullptr;
}

IniFile::Section& IniFile::sectionForWriting(const QString& name) {
    for (Section& section : m_sections) {
        if (sameName(section.name, name))
            return section;
    }
    Section section;
    section.name = name;
    section.header = '[' + TextCodec::encode(name) + ']';
    m_sections.append(section);
    return m_sections.last();
}

bool IniFile::hasSection(const QString& section) const {
    return findSection(section) != nullptr;
}

bool IniFile::contains(const QString& section, const QString& key) const {
    return value(section, key).has_value();
}

QStringList IniFile::sectionNames() const {
    QStringList names;
    for (const Section& section : m_sections)
        names.append(section.name);
    return names;
}

QStringList IniFile::keyNames(const QString& sectionName) const {
    QStringList names;
    if (const Section* section = findSection(sectionName)) {
        for (const Line& line : section->lines) {
            if (line.isKey)
                names.append(line.key);
        }
    }
    return names;
}

std::optional<QByteArray> IniFile::value(const QString& sectionName, const QString& key) const {
    const Section* section = findSection(sectionName);
    if (!section)
        return std::nullopt;
    const Line* line = findKey(*section, key);
    if (!line)
        return std::nullopt;
    return line->value.left(kMaxValueLength);
}

QByteArray IniFile::readBytes(const QString& section, const QString& key,
                              const QByteArray& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    const std::optional<QByteArray> stored = value(section, key);
    return stored ? TextCodec::decode(*stored) : defaultValue;
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QByteArray> stored = value(section, key);
    if (!stored)
        return defaultValue;
    return parseInt(*stored).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeBytes(const QString& sectionName, const QString& key, const QByteArray& value) {
    Section& section = sectionForWriting(sectionName);
    for (Line& line : section.lines) {
        if (line.isKey && sameName(line.key, key)) {
            line.value = value;
            line.written = true;
            return;
        }
    }
    // After the section's last line that is not blank, so blank lines keep separating sections.
    qsizetype position = section.lines.size();
    while (position > 0 && trimBlanks(section.lines.at(position - 1).text).isEmpty() &&
           !section.lines.at(position - 1).isKey)
        --position;
    Line line;
    line.isKey = true;
    line.key = key;
    line.value = value;
    line.written = true;
    section.lines.insert(position, line);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    writeBytes(section, key, TextCodec::encode(value));
}

void IniFile::writeInt(const QString& section, const QString& key, int value) {
    writeBytes(section, key, QByteArray::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeBytes(section, key, value ? QByteArrayLiteral("1") : QByteArrayLiteral("0"));
}

void IniFile::removeKey(const QString& sectionName, const QString& key) {
    for (Section& section : m_sections) {
        if (!sameName(section.name, sectionName))
            continue;
        section.lines.removeIf([&](const Line& line) { return line.isKey && sameName(line.key, key); });
        return;
    }
}
