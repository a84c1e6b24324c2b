#pragma once

#include "base/UserError.h"
#include "hardware/SerialSensorPort.h"

// A serial sensor port that only counts its openings and closings.
class FakeSerialSensorPort : public SerialSensorPort {
public:
    bool isOpen() const override { return m_open; }
    void open() override {
        ++opens;
        if (failOnOpen)
            throw UserError(QStringLiteral("Unable to open com port (win error code: 2)"));
        m_open = true;
    }
    void close() override {
        ++closes;
        m_open = false;
    }

    bool failOnOpen = false;
    int opens = 0;
    int closes = 0;

private:
    bool m_open = false;
};
