#include "ChildProcess.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr char kChildVariable[] = "TARVOLIN_CHILD_TEST";

QString currentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info)
        return QString();
    return QString::fromStdString(std::string(info->test_suite_name()) + '.' + info->name());
}

} // namespace

namespace ChildProcess {

bool isChild() {
    const QString name = currentTestName();
    return !name.isEmpty() && qEnvironmentVariable(kChildVariable) == name;
}

Result runCurrentTest() {
    Result result;
    const QString name = currentTestName();
    if (name.isEmpty()) {
        result.output = QStringLiteral("not called from a running test");
        return result;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildVariable), name);
    // The copy runs exactly this one test: a shard setting could leave it nothing to run, and a report
    // file of its own would overwrite the parent's.
    for (const char* variable : {"GTEST_TOTAL_SHARDS", "GTEST_SHARD_INDEX", "GTEST_SHARD_STATUS_FILE",
                                 "GTEST_OUTPUT", "XML_OUTPUT_FILE", "TEST_PREMATURE_EXIT_FILE"})
        environment.remove(QString::fromLatin1(variable));

    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    // A test program killed on a time-out takes its copy with it.
    child.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + name, QStringLiteral("--gtest_color=no"),
                 QStringLiteral("--gtest_brief=0"), QStringLiteral("--gtest_print_time=1")});
    if (!child.waitForStarted(-1)) {
        result.output = QStringLiteral("the child process did not start: ") + child.errorString();
        return result;
    }
    child.waitForFinished(-1);
    result.output = QString::fromLocal8Bit(child.readAll());
    // A copy that ran nothing (a filter that matched no test) has not passed.
    const bool exitedCleanly = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    const auto reported = [&](const char* tag) {
        return result.output.contains(QString::fromLatin1(tag) + name + QStringLiteral(" ("));
    };
    result.skipped = exitedCleanly && reported("[  SKIPPED ] ");
    result.passed = exitedCleanly && (reported("[       OK ] ") || result.skipped);
    return result;
}

} // namespace ChildProcess
