#pragma once
// The entries of the message-parameter panel's two lists: the caption a
// user sees and the value the codec takes. Coding: Auto (10, this window's
// own value, resolved from the text), GSM 0, Windows 2, Unicode 1. Class:
// Unspecified 4, Flash 0, SIM 2, Mobile 1, Terminal 3.
#include <QStringList>
#include <QtGlobal>

namespace parlova {

class MessageParameters {
public:
    static QStringList CodingCaptions();
    static QStringList ClassCaptions();
    // The value of entry index (from 0); an index outside gives the first.
    static qint32 CodingAt(qint32 index);
    static qint32 ClassAt(qint32 index);
    // The entry of a value, -1 when no entry has it.
    static qint32 CodingIndex(qint32 value);
    static qint32 ClassIndex(qint32 value);
    static qint32 CodingCount();
    static qint32 ClassCount();
};

}  // namespace parlova
