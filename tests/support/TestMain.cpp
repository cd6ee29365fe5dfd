// Entry of the test programs of the engine: no widgets.
#include "support/TestEnvironment.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return support::RunTests(argc, argv);
}
