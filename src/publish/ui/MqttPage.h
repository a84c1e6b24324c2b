#pragma once

#include "config/ui/SettingsPage.h"

class QLabel;
class QPushButton;

// The settings page "MQTT": whether and where the race goes to an MQTT broker, and a button that
// tries the connection as the fields say and tells what happened.
class MqttPage : public SettingsPage {
    Q_OBJECT

public:
    explicit MqttPage(TSettings& settings, QWidget* parent = nullptr);

private:
    void tryConnection();

    QPushButton* m_tryButton;
    QLabel* m_answer;
};
