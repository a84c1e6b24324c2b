#pragma once

#include "base/MessageText.h"

#include <QString>

#include <exception>
#include <string>

// A failure that ends the current user action. The boundary of the handler that started the action
// (ErrorBoundary) catches it and shows message() to the operator; whatever the action had done before
// the throw stays done.
class UserError : public std::exception {
public:
    explicit UserError(QString message) : m_message(std::move(message)), m_utf8(m_message.toStdString()) {}

    const char* what() const noexcept override { return m_utf8.c_str(); }
    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
    std::string m_utf8;
};

// A text that should have been an integer: "'%s' is not a valid integer value".
class ConversionError : public UserError {
public:
    explicit ConversionError(const QString& text)
        : UserError(QStringLiteral("'%1' is not a valid integer value").arg(shortenedForMessage(text))),
          m_text(text) {}

    const QString& text() const noexcept { return m_text; }

private:
    QString m_text;
};
