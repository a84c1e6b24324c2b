#pragma once

#include <QColor>
#include <QWidget>

// A round signal lamp: the start-light lamps of the main window and the port lamp of its status bar.
// Off shows a dark shade of the lamp's colour.
class SignalLamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(bool on READ isOn WRITE setOn)

public:
    explicit SignalLamp(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    bool isOn() const { return m_on; }
    void setOn(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color = Qt::red;
    bool m_on = false;
};
