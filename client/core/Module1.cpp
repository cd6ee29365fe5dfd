#include "client/core/Module1.h"

#include "client/core/Globals.h"
#include "client/core/Settings.h"

#include "common/GsmAlphabet.h"
#include "common/SmsParts.h"

#include "platform/VbError.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <algorithm>

namespace parlova {
namespace {

// The runtime's own errors of the string functions below.
[[noreturn]] void InvalidCall()
{
    platform::Raise(platform::vberr::InvalidProcedureCall, QStringLiteral("Parlova"),
                    QStringLiteral("Invalid procedure call or argument"));
}

// Mid and Left with the runtime's checks: a negative length is an error.
QString Mid(const QString& s, qsizetype start, qsizetype length)
{
    if (start < 1 || length < 0)
        InvalidCall();
    return s.mid(start - 1, length);
}

QString Left(const QString& s, qsizetype length)
{
    if (length < 0)
        InvalidCall();
    return s.left(length);
}

}  // namespace

QString GetSpecialFolderPath(QString& path, int folder, bool create)
{
    if (folder & kCsidlFlagCreate)
        create = true;
    QString found;
    switch (folder & ~kCsidlFlagCreate) {
    case kCsidlDesktop:
    case kCsidlDesktopDirectory: found = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation); break;
    case kCsidlPersonal: found = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); break;
    case kCsidlMyMusic: found = QStandardPaths::writableLocation(QStandardPaths::MusicLocation); break;
    case kCsidlMyVideo: found = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation); break;
    case kCsidlMyPictures: found = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation); break;
    case kCsidlAppData: found = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation); break;
    case kCsidlLocalAppData: found = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); break;
    case kCsidlInternetCache: found = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation); break;
    case kCsidlProfile: found = QDir::homePath(); break;
    default: return QStringLiteral("Folder is invalid");
    }
    if (found.isEmpty())
        return QStringLiteral("Unknown error occured");
    if (!QFileInfo(found).isDir()) {
        if (!create)
            return QStringLiteral("Folder does not exist");
        if (!QDir().mkpath(found))
            return QStringLiteral("Unknown error occured");
    }
    path = found;
    return QString();
}

QString FileTitle(const QString& path)
{
    const qsizetype sep = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(sep + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString TrimSet(const QString& text, QString& set)
{
    if (set.isEmpty())
        set = QStringLiteral("\r\n \b\t");
    qsizetype first = 0;
    qsizetype last = text.size() - 1;
    while (first <= last && set.contains(text[first]))
        ++first;
    while (last >= first && set.contains(text[last]))
        --last;
    return text.mid(first, last - first + 1);
}

void CountSMSParts(qint32& length, qint32& parts, float& cost, const QString& text, qint32 coding)
{
    length = 0;
    parts = 0;
    cost = 0;
    if (coding < 0 || coding > 2)
        return;
    const Settings& settings = Settings::Instance();
    // The encoder's own splitter, so the counter the user sees and the parts
    // sent never disagree (escape pairs and surrogate pairs stay whole).
    const common::SmsParts split = common::SplitSms(text, coding, settings.JoinParts());
    if (split.text.isEmpty())
        return;
    // The length the user reads is characters (CR LF as one), as sent.
    length = static_cast<qint32>(split.text.size());
    parts = split.count();
    cost = settings.Price() * float(parts);
}

QString CharsetName(qint32 charset)
{
    switch (charset) {
    case 0: return QStringLiteral("Western Europe (0)");
    case 1: return QStringLiteral("Default (1)");
    case 2: return QStringLiteral("Symbol (2)");
    case 128: return QStringLiteral("Japanese (128)");
    case 129: return QStringLiteral("Korean (129)");
    case 134: return QStringLiteral("Simplified Chinese (134)");
    case 136: return QStringLiteral("Traditional Chinese (136)");
    case 161: return QStringLiteral("Greek (161)");
    case 162: return QStringLiteral("Turkish (162)");
    case 177: return QStringLiteral("Hebrew (177)");
    case 178: return QStringLiteral("Arabic (178)");
    case 186: return QStringLiteral("Baltic (186)");
    case 204: return QStringLiteral("Russian (204)");
    case 238: return QStringLiteral("Eastern Europe (238)");
    case 255: return QStringLiteral("OEM (255)");
    default: return QStringLiteral("Unknown (") + QString::number(charset) + QLatin1Char(')');
    }
}

void InitDefaultFont() { InitDefaultFont(QLocale::system()); }

void InitDefaultFont(const QLocale& locale)
{
    Globals& g = G();
    g.DefaultFontSize = 10;
    g.DefaultFontCharset = 1;
    g.DefaultFontName.clear();
    if (locale.language() == QLocale::Korean && locale.territory() == QLocale::SouthKorea) {
        g.DefaultFontCharset = 129;
        g.DefaultFontName = QStringLiteral("\uAD74\uB9BC");
    } else if (locale.language() == QLocale::Chinese && locale.territory() == QLocale::Taiwan) {
        g.DefaultFontCharset = 136;
        g.DefaultFontName = QStringLiteral("\u65B0\u7D30\u660E\u9AD4");
    } else if (locale.language() == QLocale::Japanese && locale.territory() == QLocale::Japan) {
        g.DefaultFontCharset = 128;
        g.DefaultFontName = QStringLiteral("\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    } else if (locale.language() == QLocale::Chinese && locale.territory() == QLocale::China) {
        g.DefaultFontCharset = 134;
        g.DefaultFontName = QStringLiteral("\u5B8B\u4F53");
    }
}

QString TrimAtNull(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString NameAndAddress(QString& name, QString& address, QString& combined)
{
    try {
        if (combined.isEmpty()) {
            combined = name + QStringLiteral(" <") + address + QLatin1Char('>');
            return QString();
        }
        // 1-based positions, 0 when missing, as the runtime's InStrRev gives them.
        const qsizetype open = combined.lastIndexOf(QLatin1Char('<')) + 1;
        const qsizetype close = combined.lastIndexOf(QLatin1Char('>')) + 1;
        // Both parts first: a line that cannot be split leaves both outputs as they were.
        QString newAddress = Mid(combined, open + 1, close - open - 1);
        // A line built with an empty name reads back without one; a line
        // without "<" still cannot be split.
        QString newName = Left(combined, open < 1 ? open - 2 : std::max<qsizetype>(open - 2, 0));
        address = std::move(newAddress);
        name = std::move(newName);
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

bool IsEmailAddress(const QString& text) { return text.contains(QLatin1Char('@')); }

bool IsGsmText(const QString& text) { return common::IsGSMText(text); }

QString MenuCaption(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace parlova
