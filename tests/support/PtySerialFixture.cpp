#include "PtySerialFixture.h"

void PtySerialFixture::SetUp() {
    if (!SocatPtyPair::socatAvailable())
        GTEST_SKIP() << "socat is not installed";
    QString why;
    ASSERT_TRUE(pty.start(&why)) << why.toStdString();
    SerialParameters parameters;
    parameters.Port = pty.portA();
    comPort.setParameters(parameters);
}
