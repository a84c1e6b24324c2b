#include "StationProgram.h"

#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

StationProgram::~StationProgram() {
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
}

QString StationProgram::programPath() {
    return QStringLiteral(TARVOLIN_BINARY_DIR "/tarvolin");
}

void StationProgram::write(const QString& name, const QByteArray& bytes) {
    QFile file(data.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void StationProgram::start(const QString& scenarioFile) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(programPath(), {QStringLiteral("--data"), data.path(),
                                  QStringLiteral("--simulate=") + data.filePath(scenarioFile)});
    ASSERT_TRUE(process.waitForStarted(10000));
}
