#pragma once

#include "SocatPtyPair.h"

#include "hardware/TComPort.h"

#include <gtest/gtest.h>

// Tests that play a serial sensor device: a socat pseudo-terminal pair whose end A is the station's
// serial port. Skipped where socat is missing. Derived fixtures call SetUp() first and return when
// it skipped or failed.
class PtySerialFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { comPort.close(); }
    bool ready() const { return !IsSkipped() && !HasFatalFailure(); }

    SocatPtyPair pty;
    TComPort comPort;
};
