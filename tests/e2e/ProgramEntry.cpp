// The headers the program's main() includes come first, so that renaming
// main touches nothing but its definition.
#include <QApplication>

#define main RunParlova
#include "client/main/main.cpp"
#undef main
