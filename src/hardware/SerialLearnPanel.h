#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>

class SerialSensorPort;
struct TSettings;

// The learning and test modes of the serial sensors, as the settings window's pages "COM porty" and
// "Testování" show them. Slots are 0..7 in the order 1A, 1B, 2A, 2B, 3A, 3B, 4A, 4B (the buttons
// btnNaucit1, btnNaucit11, btnNaucit2, ...). A learned burst goes straight into the live settings;
// the settings file gets it when the window is closed with OK.
class SerialLearnPanel : public QObject {
    Q_OBJECT

public:
    static constexpr int SlotCount = 8;

    SerialLearnPanel(TSettings& settings, SerialSensorPort& port, QObject* parent = nullptr);

    static QString learnButtonName(int slot);   // "btnNaucit1", "btnNaucit11", ...
    static QString sequenceFieldName(int slot); // "EdSekvence1", "EdSekvence11", ...
    static QString learnIdleCaption();          // "Naučit"
    static QString learnActiveCaption();        // "&Ukonči"
    static QString testIdleCaption();           // "Načti data"
    static QString testActiveCaption();         // "Ukonči čtení"

    bool CaptureActive() const { return m_captureActive; }
    bool LearnWaiting(int slot) const { return m_learnWaiting.at(slot); }
    QString learnCaption(int slot) const;
    bool learnEnabled(int slot) const { return m_learnEnabled.at(slot); }
    QString testCaption() const;
    bool okCancelEnabled() const { return m_okCancelEnabled; }
    const QByteArray& TestSekvence() const { return m_testSekvence; }
    QByteArray sequence(int slot) const;

    // A learn button: the first click waits for the next burst (opening the port if needed, which
    // may throw UserError after the mode has changed), the second ends the wait.
    void learnClick(int slot);
    void btnNaucit1Click() { learnClick(0); }
    void btnNaucit11Click() { learnClick(1); }
    void btnNaucit2Click() { learnClick(2); }
    void btnNaucit21Click() { learnClick(3); }
    void btnNaucit3Click() { learnClick(4); }
    void btnNaucit31Click() { learnClick(5); }
    void btnNaucit4Click() { learnClick(6); }
    void btnNaucit41Click() { learnClick(7); }
    // The test button: "Načti data" shows every burst in TestSekvence, "Ukonči čtení" closes the port.
    void btnCtiDataClick();

    // Called by the receive event: the captured text replaces TestSekvence; the first waiting slot
    // takes the text and its learn ends.
    void showCaptured(const QByteArray& text);
    void takeLearnedBurst(const QByteArray& text);

signals:
    void learnButtonChanged(int slot); // caption or enabled state
    void testButtonChanged();          // caption
    void okCancelEnabledChanged(bool enabled);
    void testSekvenceChanged(const QByteArray& text);
    void sequenceChanged(int slot, const QByteArray& text);
    void captureActiveChanged(bool active);

private:
    void setCaptureActive(bool active);
    void setLearnEnabled(int slot, bool enabled);
    void setOkCancelEnabled(bool enabled);
    void setLearning(int slot, bool learning);

    TSettings& m_settings;
    SerialSensorPort& m_port;
    bool m_captureActive = false;
    std::array<bool, SlotCount> m_learnWaiting{};
    std::array<bool, SlotCount> m_learning{}; // caption "&Ukonči"
    std::array<bool, SlotCount> m_learnEnabled{true, true, true, true, true, true, true, true};
    bool m_testing = false; // caption "Ukonči čtení"
    bool m_okCancelEnabled = true;
    QByteArray m_testSekvence;
};
