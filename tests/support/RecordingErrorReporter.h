#pragma once

#include "base/ErrorBoundary.h"

#include <QString>
#include <QStringList>

#include <functional>

// Takes the error boundary's reports for as long as it lives, instead of a message box or stderr, and
// keeps them in order; the reporter it replaced comes back when it goes. onReport, when set, runs
// inside each report, as a message box's own event loop would.
class RecordingErrorReporter {
public:
    RecordingErrorReporter()
        : m_previous(ErrorBoundary::setReporter([this](const QString& message) {
              m_messages << message;
              if (onReport)
                  onReport(message);
          })) {}
    ~RecordingErrorReporter() { ErrorBoundary::setReporter(std::move(m_previous)); }

    RecordingErrorReporter(const RecordingErrorReporter&) = delete;
    RecordingErrorReporter& operator=(const RecordingErrorReporter&) = delete;

    const QStringList& messages() const { return m_messages; }
    int count() const { return int(m_messages.size()); }

    std::function<void(const QString& message)> onReport;

private:
    QStringList m_messages;
    ErrorBoundary::Reporter m_previous;
};
