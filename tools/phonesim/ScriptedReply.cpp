#include "tools/phonesim/ScriptedReply.h"

namespace phonesim {

ScriptedReply ScriptedReply::Text(const QStringList& lines, const QString& final)
{
    QString text;
    for (const QString& line : lines)
        text += QStringLiteral("\r\n") + line + QStringLiteral("\r\n");
    if (!final.isEmpty())
        text += QStringLiteral("\r\n") + final + QStringLiteral("\r\n");
    return Raw({text});
}

ScriptedReply ScriptedReply::Raw(const QStringList& pieces)
{
    ScriptedReply r;
    r.pieces = pieces;
    return r;
}

ScriptedReply ScriptedReply::Error()
{
    ScriptedReply r;
    r.kind = Kind::Error;
    return r;
}

ScriptedReply ScriptedReply::CmeError(int code)
{
    ScriptedReply r;
    r.kind = Kind::CmeError;
    r.code = code;
    return r;
}

ScriptedReply ScriptedReply::CmsError(int code)
{
    ScriptedReply r;
    r.kind = Kind::CmsError;
    r.code = code;
    return r;
}

ScriptedReply ScriptedReply::Silence()
{
    ScriptedReply r;
    r.kind = Kind::Silence;
    return r;
}

}  // namespace phonesim
