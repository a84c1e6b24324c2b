#pragma once

#include <QString>

#include <gtest/gtest.h>

// Runs one GoogleTest case again in a fresh copy of its test program. A test that changes what belongs
// to the whole process (its nice value, its scheduling class) does so in the copy: the change ends with
// it, and the program that goes on with the other tests keeps the priority it had. An ordinary user
// could not undo such a change anyway, since going back up needs the privilege to raise priority.
namespace ChildProcess {

struct Result {
    bool passed = false;
    bool skipped = false;
    QString output; // what the copy printed, stdout and stderr together
};

// True inside the copy that runs the current test.
bool isChild();
// Runs the current test in a copy and waits for it to end.
Result runCurrentTest();

} // namespace ChildProcess

// The first statement of such a test: in the test program it hands the test to a copy and reports the
// copy's outcome, in the copy it lets the body run.
#define RUN_IN_CHILD_PROCESS()                                                                               \
    do {                                                                                                     \
        if (!ChildProcess::isChild()) {                                                                      \
            const ChildProcess::Result childResult = ChildProcess::runCurrentTest();                         \
            if (childResult.skipped)                                                                         \
                GTEST_SKIP() << "skipped in the child process";                                              \
            ASSERT_TRUE(childResult.passed) << "the child process failed:\n"                                 \
                                            << childResult.output.toStdString();                             \
            return;                                                                                          \
        }                                                                                                    \
    } while (false)
