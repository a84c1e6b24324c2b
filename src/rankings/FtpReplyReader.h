#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// One reply of an FTP server: its three-digit code and its lines as they came (the last one is the
// line that carries the code with a blank, "226 Transfer complete.").
struct FtpReply {
    int code = 0;
    QStringList lines;
    QString lastLine() const { return lines.isEmpty() ? QString() : lines.last(); }
};

// Cuts the bytes of a control connection into replies. A reply is one line "ddd text", or several
// lines from "ddd-text" up to the line beginning with the same code and a blank; lines end with CR LF
// or a bare LF. What no server would send (a line without a code, a line or a reply beyond the
// limits) makes the reader fail for good: the connection cannot be read further.
class FtpReplyReader {
public:
    static constexpr int MaxLineLength = 8 * 1024;
    static constexpr int MaxReplyLines = 1000;

    void append(const QByteArray& bytes);
    // The next complete reply, or nothing while it is incomplete (or the reader has failed).
    std::optional<FtpReply> next();
    bool failed() const { return !m_failure.isEmpty(); }
    // What went wrong, in Czech, for the operator.
    QString failure() const { return m_failure; }
    void clear();

private:
    std::optional<QString> takeLine();
    void fail(const QString& why);

    QByteArray m_buffer;
    FtpReply m_pending;
    bool m_inMultiLine = false;
    QString m_failure;
};
