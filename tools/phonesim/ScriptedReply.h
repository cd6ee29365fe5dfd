#pragma once
// A reply a test puts in place of a command's handler.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace phonesim {

struct ScriptedReply {
    enum class Kind { Pieces, Error, CmeError, CmsError, Silence };

    Kind kind = Kind::Pieces;
    QStringList pieces;  // written as given, one piece per pump
    int code = 0;        // for CmeError and CmsError
    qint64 delayMs = 0;  // before the first byte, by platform::TickCount
    int times = 1;       // commands it answers; -1 for every one

    // Information lines framed CR LF text CR LF, then the final result.
    static ScriptedReply Text(const QStringList& lines, const QString& final = QStringLiteral("OK"));
    static ScriptedReply Raw(const QStringList& pieces);
    static ScriptedReply Error();
    // Numbered by the phone's CMEE mode ("ERROR" in mode 0).
    static ScriptedReply CmeError(int code);
    static ScriptedReply CmsError(int code);
    static ScriptedReply Silence();

    ScriptedReply& after(qint64 ms)
    {
        delayMs = ms;
        return *this;
    }
    ScriptedReply& always()
    {
        times = -1;
        return *this;
    }
    ScriptedReply& repeat(int n)
    {
        times = n;
        return *this;
    }
};

}  // namespace phonesim
