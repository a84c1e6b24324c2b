#include "rankings/FtpReplyReader.h"

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The code of a line that opens or closes a reply: three digits followed by a blank, a hyphen or
// nothing; -1 for any other line.
int codeOf(const QString& line, QChar* separator) {
    if (line.size() < 3 || !isDigit(line[0]) || !isDigit(line[1]) || !isDigit(line[2]))
        return -1;
    const QChar after = line.size() > 3 ? line[3] : QLatin1Char(' ');
    if (after != QLatin1Char(' ') && after != QLatin1Char('-'))
        return -1;
    *separator = after;
    return line.left(3).toInt();
}

// A line as it may appear in a message: without control characters, and not endless.
QString shown(const QString& line) {
    QString text = line.left(80);
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    }
    return line.size() > 80 ? text + QStringLiteral("…") : text;
}

} // namespace

void FtpReplyReader::append(const QByteArray& bytes) {
    if (failed())
        return;
    m_buffer += bytes;
}

void FtpReplyReader::clear() {
    m_buffer.clear();
    m_pending = FtpReply();
    m_inMultiLine = false;
    m_failure.clear();
}

void FtpReplyReader::fail(const QString& why) {
    m_failure = why;
    m_buffer.clear();
}

std::optional<QString> FtpReplyReader::takeLine() {
    const int end = m_buffer.indexOf('\n');
    if (end < 0) {
        if (m_buffer.size() > MaxLineLength)
            fail(QStringLiteral("server poslal příliš dlouhý řádek odpovědi"));
        return std::nullopt;
    }
    if (end > MaxLineLength) {
        fail(QStringLiteral("server poslal příliš dlouhý řádek odpovědi"));
        return std::nullopt;
    }
    QByteArray line = m_buffer.left(end);
    m_buffer.remove(0, end + 1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

std::optional<FtpReply> FtpReplyReader::next() {
    while (!failed()) {
        const std::optional<QString> line = takeLine();
        if (!line)
            return std::nullopt;
        QChar separator;
        const int code = codeOf(*line, &separator);
        if (!m_inMultiLine) {
            if (code < 100) {
                fail(QStringLiteral("odpověď serveru nemá platný kód: „%1“").arg(shown(*line)));
                return std::nullopt;
            }
            m_pending = FtpReply{code, {*line}};
            if (separator == QLatin1Char('-')) {
                m_inMultiLine = true;
                continue;
            }
        } else {
            m_pending.lines << *line;
            if (code != m_pending.code || separator != QLatin1Char(' ')) {
                if (m_pending.lines.size() > MaxReplyLines)
                    fail(QStringLiteral("odpověď serveru má příliš mnoho řádků"));
                continue;
            }
            m_inMultiLine = false;
        }
        FtpReply reply = m_pending;
        m_pending = FtpReply();
        return reply;
    }
    return std::nullopt;
}
