#pragma once
// What every test program sets up before its first test: timers that never
// fire by themselves, a settings store in a folder of its own, and a home
// and XDG folders of its own, so that nothing a test does (the working
// folder's default creates the documents folder) reaches the user's.
#include <QTemporaryDir>

namespace support {

class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

private:
    QTemporaryDir settings_;
    QTemporaryDir home_;
};

// Runs the tests in argv under a TestEnvironment; the caller has made the
// application object.
int RunTests(int& argc, char** argv);

}  // namespace support
