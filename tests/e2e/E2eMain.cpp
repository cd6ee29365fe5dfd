// Entry of the end-to-end tests: each run makes its own widget application
// inside the program's main(), so none is made here.
#include "support/TestEnvironment.h"

#include <QByteArray>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return support::RunTests(argc, argv);
}
