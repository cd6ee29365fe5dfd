#pragma once
// The one byte/text conversion of the program: Windows-1252, with its five
// unassigned bytes mapped to the control characters of the same number, so
// every byte value survives a round trip.
#include <QByteArray>
#include <QString>

namespace platform {

QString AnsiToText(const QByteArray& bytes);
QString AnsiToText(const char* data, qsizetype length);
// Characters outside the code page become "?".
QByteArray TextToAnsi(const QString& text);
// The byte for one character, or -1 when the code page lacks it.
int AnsiCode(QChar c);
QChar AnsiChar(unsigned char byte);

}  // namespace platform
