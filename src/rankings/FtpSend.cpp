#include "rankings/FtpSend.h"

#include "base/ErrorBoundary.h"
#include "base/Hooks.h"
#include "config/TSettings.h"

#include <QFileInfo>

#include <algorithm>

FtpSend::FtpSend(TSettings& settings, FtpClient& client, QObject* parent)
    : QObject(parent), m_settings(settings), m_client(client) {
    connect(&m_client, &FtpClient::finished, this, &FtpSend::requestFinished);
    connect(&m_client, &FtpClient::stateChanged, this, &FtpSend::clientStateChanged);
    connect(&m_client, &FtpClient::closed, this, &FtpSend::connectionClosed);
    connect(&m_client, &FtpClient::progress, this, &FtpSend::showProgress);
}

std::pair<QString, quint16> FtpSend::hostAndPort(const QString& text, quint16 defaultPort) {
    const QString host = text.trimmed();
    const auto portOf = [defaultPort](QStringView digits, bool* ok) {
        const uint port = digits.toUInt(ok);
        *ok = *ok && port > 0 && port <= 65535;
        return *ok ? quint16(port) : defaultPort;
    };
    bool ok = false;
    if (host.startsWith(QLatin1Char('['))) {
        const int close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return {host, defaultPort};
        const QString address = host.mid(1, close - 1);
        if (host.mid(close + 1).startsWith(QLatin1Char(':')))
            return {address, portOf(QStringView(host).mid(close + 2), &ok)};
        return {address, defaultPort};
    }
    if (host.count(QLatin1Char(':')) == 1) {
        const int colon = host.indexOf(QLatin1Char(':'));
        const quint16 port = portOf(QStringView(host).mid(colon + 1), &ok);
        if (ok)
            return {host.left(colon), port};
    }
    return {host, defaultPort};
}

QString FtpSend::localPath(Step step) const {
    const auto& files = m_settings.Ftp.Soubor;
    switch (step) {
    case MenTable:
        return files[3] + QStringLiteral("_muzi.jpg");
    case WomenTable:
        return files[3] + QStringLiteral("_zeny.jpg");
    default:
        return files[step];
    }
}

QString FtpSend::remoteName(Step step) const {
    const QString name = QFileInfo(localPath(step)).fileName();
    return step == MenTable || step == WomenTable ? name : name.toLower();
}

int FtpSend::markOf(int step) {
    return step <= MenTable ? qMin(step, int(Entry4)) : step - 1;
}

bool FtpSend::stepWanted(int step) const {
    return m_settings.Ftp.Posilat[qMin(step, int(MenTable))];
}

// --- the send ---------------------------------------------------------------------------------------

void FtpSend::send(const QString& password) {
    if (m_sending)
        return;
    m_sending = true;
    m_password = password;
    setConfirmEnabled(false);
    setSendEnabled(false);
    if (m_client.isConnected() || m_client.isBusy()) {
        m_phase = Phase::QuittingOld;
        m_request = m_client.quit();
        return;
    }
    afterOldConnection();
}

void FtpSend::afterOldConnection() {
    setWaitCursor(true);
    if (m_settings.Ftp.Posilat[4]) {
        const std::exception_ptr failure = ErrorBoundary::capture(
            [this] { callHook(m_hooks.makeTablePictures, localPath(MenTable), localPath(WomenTable)); });
        if (failure) {
            // Nothing has been sent; the page is usable again for another try.
            setWaitCursor(false);
            endSend();
            setConfirmEnabled(true);
            setSendEnabled(true);
            ErrorBoundary::report(failure);
            return;
        }
    }
    m_done.fill(false);
    m_client.setPassive(m_settings.Ftp.Pasivni);
    m_client.setTls(m_settings.Ftp.TLS);
    const auto [host, port] = hostAndPort(m_settings.Ftp.Hostitel, m_defaultPort);
    m_phase = Phase::Connecting;
    m_request = m_client.connectToServer(host, port, m_settings.Ftp.Jmeno, m_password);
}

void FtpSend::requestFinished(int request, const QString& error) {
    if (request != m_request || m_request == 0)
        return;
    m_request = 0;
    const Phase phase = m_phase;
    if (phase == Phase::StepStore)
        setInfoText(QString::number(m_client.bytesSent()));
    if (!error.isEmpty())
        callHook(m_hooks.showError, QStringLiteral("Chyba ") + error);
    // Cancelled or aborted while the message was up.
    if (!m_sending || m_phase != phase)
        return;
    switch (phase) {
    case Phase::QuittingOld:
        afterOldConnection();
        break;
    case Phase::Connecting:
        if (!error.isEmpty()) {
            // Without a login every later command would only be refused in turn: one message is enough,
            // and the page is ready for another try.
            m_client.quitAndClose();
            endSendAtOnce();
        } else if (!m_settings.Ftp.FtpAdr[0].isEmpty()) {
            m_phase = Phase::ChangingDirectory;
            m_request = m_client.changeDirectory(m_settings.Ftp.FtpAdr[0]);
        } else {
            afterLogin();
        }
        break;
    case Phase::ChangingDirectory:
        m_phase = Phase::PrintingDirectory;
        m_request = m_client.printDirectory();
        break;
    case Phase::PrintingDirectory:
        afterLogin();
        break;
    case Phase::SettingType:
    case Phase::StepStore:
        nextStep();
        break;
    case Phase::StepType:
        m_phase = Phase::StepStore;
        m_request = m_client.store(localPath(Step(m_step)), remoteName(Step(m_step)));
        emit stepStarted(Step(m_step));
        break;
    case Phase::Idle:
        break;
    }
}

void FtpSend::afterLogin() {
    setWaitCursor(false);
    if (!m_client.isConnected()) {
        endSend();
        setConfirmEnabled(true);
        setSendEnabled(true);
        return;
    }
    m_phase = Phase::SettingType;
    m_request = m_client.setBinaryType();
}

void FtpSend::nextStep() {
    for (int step = 0; step < StepCount; ++step) {
        if (!stepWanted(step) || m_done[markOf(step)])
            continue;
        m_done[markOf(step)] = true;
        m_step = step;
        m_phase = Phase::StepType;
        m_request = m_client.setBinaryType();
        return;
    }
    // Every step has been tried; the connection stays open until the next send or Cancel.
    endSend();
    setConfirmEnabled(true);
}

void FtpSend::endSend() {
    m_sending = false;
    m_phase = Phase::Idle;
    m_request = 0;
    m_step = -1;
    emit sendEnded();
}

void FtpSend::cancel() {
    m_done.fill(false);
    const bool wasSending = m_sending;
    m_request = 0;
    m_client.quitAndClose();
    // The send ends here: the steps not yet taken are not tried on a connection that is going.
    if (wasSending)
        endSendAtOnce();
}

void FtpSend::abort() {
    const bool wasSending = m_sending;
    m_client.abort();
    if (wasSending)
        endSendAtOnce();
}

void FtpSend::endSendAtOnce() {
    setWaitCursor(false);
    endSend();
    setConfirmEnabled(true);
    setSendEnabled(true);
}

// --- what the page shows ---------------------------------------------------------------------------

void FtpSend::clientStateChanged(FtpClient::State state) {
    QString text;
    switch (state) {
    case FtpClient::State::Ready:
        text = QStringLiteral("Připraven");
        break;
    case FtpClient::State::Lookup:
        text = QStringLiteral("Připojuji");
        break;
    case FtpClient::State::Connected:
        text = QStringLiteral("Připojen");
        break;
    default:
        return;
    }
    if (text == m_stateText)
        return;
    m_stateText = text;
    emit stateTextChanged(text);
}

void FtpSend::connectionClosed() {
    if (!m_sending)
        setConfirmEnabled(true);
}

void FtpSend::showProgress(qint64 bytes) {
    if (m_infoShown.isValid() && m_infoShown.elapsed() < 1000)
        return;
    m_infoShown.start();
    setInfoText(QString::number(bytes));
}

void FtpSend::boxClicked(int box) {
    auto& boxes = m_settings.Ftp.Posilat;
    if (box == 4 && boxes[3] && boxes[4]) {
        boxes[4] = false;
        emit boxesChanged();
    } else if (box == 5 && boxes[4] && boxes[3]) {
        boxes[3] = false;
        emit boxesChanged();
    }
    setSendEnabled(true);
}

void FtpSend::pageShown() {
    for (int box = 1; box <= 5; ++box)
        boxClicked(box);
}

void FtpSend::setSendEnabled(bool enabled) {
    const auto& boxes = m_settings.Ftp.Posilat;
    // Never while a send runs: a second one would interleave with it on the same connection.
    enabled = enabled && !m_sending && std::find(boxes.begin(), boxes.end(), true) != boxes.end();
    if (enabled == m_sendEnabled)
        return;
    m_sendEnabled = enabled;
    emit sendEnabledChanged(enabled);
}

void FtpSend::setConfirmEnabled(bool enabled) {
    if (enabled == m_confirmEnabled)
        return;
    m_confirmEnabled = enabled;
    emit confirmEnabledChanged(enabled);
}

void FtpSend::setWaitCursor(bool on) {
    if (on == m_waitCursor)
        return;
    m_waitCursor = on;
    emit waitCursorChanged(on);
}

void FtpSend::setInfoText(const QString& text) {
    if (text == m_infoText)
        return;
    m_infoText = text;
    emit infoTextChanged(text);
}
