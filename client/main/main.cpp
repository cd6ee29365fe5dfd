#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << "Parlova: SMS through a phone on a serial cable, e-mail, and conversations.\n"
                           "The desktop window is not part of this build yet.\n";
    return 0;
}
