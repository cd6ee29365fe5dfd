// Entry of the test programs that show widgets: offscreen.
#include "support/TestEnvironment.h"

#include <QApplication>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return support::RunTests(argc, argv);
}
