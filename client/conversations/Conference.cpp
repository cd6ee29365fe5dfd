#include "client/conversations/Conference.h"
#include "client/conversations/TalkFile.h"

#include "client/core/Globals.h"
#include "client/core/LogTime.h"
#include "client/core/Module1.h"
#include "client/core/Orders.h"
#include "client/core/Procedures.h"
#include "client/core/Settings.h"

#include "email/EmailLetter.h"
#include "hub/messages/BookRecords.h"

#include "platform/Clock.h"
#include "platform/VbError.h"

#include <QCoreApplication>

#include <limits>

namespace parlova {

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kBlanks = QStringLiteral("     ");
const QString kRule = QString(30, QLatin1Char('_'));
const QString kSource = QStringLiteral("Conference");

bool SameTheme(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A remote party's name may hold line breaks; a conferee line holds none.
QString OneLine(QString text)
{
    for (QChar& c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            c = QLatin1Char(' ');
    return text;
}

QString SplitAddress(const QString& line, QString& name, QString& address)
{
    QString combined = line;
    return NameAndAddress(name, address, combined);
}

}  // namespace

Conference& Conferences()
{
    return platform::Required(dynamic_cast<Conference*>(G().Conferences.get()), kSource);
}

Conference::Conference(TalkMaker maker) : maker_(std::move(maker)) {}

Conference::~Conference()
{
    for (Conversation* talk : talks_)
        talk->SetRegistry(nullptr);
}

QString Conference::NewTheme()
{
    // Generated themes skip those a file of an earlier run took.
    QString theme;
    do {
        if (themeCounter_ == std::numeric_limits<qint32>::max())
            platform::Raise(platform::vberr::Overflow, kSource, QStringLiteral("Overflow"));
        ++themeCounter_;
        theme = QStringLiteral("Conference%1").arg(themeCounter_);
    } while (talks_.Exists(theme));
    return theme;
}

QString Conference::AddTalk(QString& theme, QString& warnings, const QString& pathname, OpenedBy by)
{
    Conversation* talk = nullptr;
    bool registered = false;
    const QString error = platform::TextOrError([&] {
        if (maker_)
            talk = maker_();
        if (!talk)
            platform::RaiseObjectNotSet(kSource);
        Settings& settings = Settings::Instance();
        talk->SetCoding(settings.Coding());
        talk->SetClass(settings.Class());
        talk->SetValidity(settings.ValidityType());
        talk->SetSliderValue(settings.RelativeValidity());
        talk->SetReportValue(settings.RequestReport() ? 1 : 0);
        // Styles 0 to 2 are the conferees, the new message and the log.
        for (int area : {kConfereeArea, kNewMessageArea, kLogArea})
            talk->SetArea(area, TalkArea{settings.StyleFont(area), settings.StyleForeColor(area),
                                         settings.StyleBackColor(area)});

        if (pathname.isEmpty()) {
            talk->SetTheme(NewTheme());
        } else {
            const QString refused = talk->OpenFromFile(warnings, pathname);
            if (!refused.isEmpty())
                return refused;
        }

        theme = talk->Theme();
        talks_.Add(talk, theme);
        talk->SetRegistry(this);
        registered = true;
        if (by == OpenedBy::Arrival)
            talk->ShowQuietly();
        else
            talk->TakeFocus();

        QString local;
        talk->SetRegistering(true);
        for (qint32 p = talk->ConfereesCount() - 1; p >= 0; --p) {
            QString name, number;
            const QString split = talk->GetNameAndTelNo(name, number, p);
            if (!split.isEmpty()) {
                local += kCRLF + QStringLiteral("Can`t parse name and telno for conferee %1 because of : ").arg(p) +
                         split;
                continue;
            }
            QString lineWarning;
            if (!number.isEmpty() && conferees_.Exists(number)) {
                lineWarning = QStringLiteral("Number ") + number + QStringLiteral(" is taking part in conference ") +
                              conferees_.Item(number)->Theme;
            } else {
                lineWarning = platform::TextOrError([&] {
                    if (number.isEmpty())
                        platform::Raise(platform::vberr::InvalidProcedureCall, kSource,
                                        QStringLiteral("Invalid procedure call or argument"));
                    conferees_.Add(std::make_shared<parlova::Conferee>(parlova::Conferee{name, number, theme}),
                                   number);
                    return QString();
                });
                if (!lineWarning.isEmpty())
                    lineWarning = QStringLiteral("When adding ") + number + QStringLiteral(" error occured: ") +
                                  lineWarning;
            }
            if (!lineWarning.isEmpty()) {
                talk->RemoveConfereeByPosition(p);
                local += kCRLF + lineWarning;
            }
        }
        talk->SetRegistering(false);
        warnings += local;
        return QString();
    });
    if (talk) {
        QCoreApplication::processEvents();
        talk->SetDirty(false);
        if (!registered)
            talk->Discard();
    }
    return error;
}

bool Conference::TalkExist(const QString& theme) { return talks_.Exists(theme); }

void Conference::RemoveTalk(const QString& theme)
{
    platform::TextOrError([&] {
        for (qsizetype i = conferees_.Count(); i >= 1; --i)
            if (SameTheme(conferees_.Item(i)->Theme, theme))
                conferees_.Remove(i);
        if (talks_.Exists(theme)) {
            talks_.Item(theme)->SetRegistry(nullptr);
            talks_.Remove(theme);
        }
        return QString();
    });
}

void Conference::Forget(Conversation* talk)
{
    // By the window, not by its key: nothing may keep a closed window.
    for (qsizetype i = talks_.Count(); i >= 1; --i) {
        if (talks_.Item(i) != talk)
            continue;
        RemoveTalk(talks_.KeyAt(i));
        if (i <= talks_.Count() && talks_.Item(i) == talk)
            talks_.Remove(i);
        talk->SetRegistry(nullptr);
    }
}

bool Conference::ConfereeExist(const QString& number) { return conferees_.Exists(number); }

QString Conference::AddConferee(const QString& number, const QString& name, const QString& theme)
{
    return platform::TextOrError([&] {
        Conversation& talk = Talk(theme);
        if (conferees_.Exists(number))
            return QStringLiteral("The number ") + number + QStringLiteral(" is taking part in conference ") +
                   conferees_.Item(number)->Theme;
        if (number.isEmpty())
            platform::Raise(platform::vberr::InvalidProcedureCall, kSource,
                            QStringLiteral("Invalid procedure call or argument"));
        const QString clean = OneLine(name);
        conferees_.Add(std::make_shared<parlova::Conferee>(parlova::Conferee{clean, number, talk.Theme()}), number);
        return talk.AddConferee(number, clean);
    });
}

QString Conference::RemoveConferee(const QString& line, const QString& theme)
{
    return platform::TextOrError([&] {
        QString name, address;
        const QString split = SplitAddress(line, name, address);
        if (!split.isEmpty())
            return split;
        Conversation& talk = Talk(theme);
        conferees_.Remove(address);
        return talk.RemoveConferee(address);
    });
}

QString Conference::MoveConferee(const QString& line, const QString& source, const QString& destination)
{
    return platform::TextOrError([&] {
        QString name, address;
        const QString split = SplitAddress(line, name, address);
        if (!split.isEmpty())
            return split;
        Conversation& from = Talk(source);
        Conversation& to = Talk(destination);
        QString result = from.RemoveConferee(address);
        if (!result.isEmpty())
            return result;
        result = to.AddConferee(address, name);
        if (!result.isEmpty())
            return result;
        conferees_.Item(address)->Theme = to.Theme();
        return QString();
    });
}

QString Conference::JoinTalks(const QString& destination, const QString& source)
{
    return platform::TextOrError([&] {
        Conversation& from = Talk(source);
        Conversation& to = Talk(destination);
        for (const QString& line : from.AllConferees()) {
            const QString moved = MoveConferee(line, source, destination);
            if (!moved.isEmpty())
                return QStringLiteral("When moving ") + line + QStringLiteral(", ") + moved;
        }
        to.Log(2, from.Log());
        // What the source still has in flight reports to the destination.
        RenameOwners(from.Theme(), to.Theme());
        to.UpdateCaption(from.Sending(), 0);
        from.UpdateCaption(-from.Sending(), 0);
        from.CloseWindow();
        return QString();
    });
}

QString Conference::LocateConferee(const QString& number)
{
    if (!conferees_.Exists(number))
        return QString();
    return conferees_.Item(number)->Theme;
}

Conversation& Conference::Talk(const QString& theme) { return *talks_.Item(theme); }

Conversation& Conference::Talk(qint32 position) { return *talks_.Item(position); }

const Conferee* Conference::Conferee(const QString& number) const
{
    return conferees_.Exists(number) ? conferees_.Item(number).get() : nullptr;
}

QString Conference::ConfereeName(const QString& number)
{
    const parlova::Conferee* c = Conferee(number);
    return c ? c->Name : QString();
}

qint32 Conference::TalksCount() { return qint32(talks_.Count()); }

void Conference::RenameOwners(const QString& oldTheme, const QString& newTheme)
{
    for (const std::shared_ptr<Orders>& queue : {G().PhoneOrders, G().MailOrders}) {
        if (!queue)
            continue;
        for (const OrderPtr& order : *queue)
            if (order && SameTheme(order->Owner(), oldTheme))
                order->SetOwner(newTheme);
        if (const OrderPtr active = queue->ActiveOrder(); active && SameTheme(active->Owner(), oldTheme))
            active->SetOwner(newTheme);
    }
}

void Conference::Rename(Conversation& talk, const QString& oldTheme, const QString& newTheme)
{
    talks_.Remove(oldTheme);
    talks_.Add(&talk, newTheme);
    for (const std::shared_ptr<parlova::Conferee>& c : conferees_)
        if (SameTheme(c->Theme, oldTheme))
            c->Theme = newTheme;
    RenameOwners(oldTheme, newTheme);
}

QString Conference::SaveFile(const QString& theme, const QString& pathname)
{
    return platform::TextOrError([&] {
        if (const QString refused = TalkFile::NameRefusal(pathname); !refused.isEmpty())
            return refused;
        const QString newTheme = FileTitle(pathname);
        Conversation& talk = Talk(theme);
        const QString oldTheme = talk.Theme();
        if (newTheme == oldTheme) {
            talk.SaveToFile(pathname);
            return QString();
        }
        if (!SameTheme(newTheme, oldTheme) && talks_.Exists(newTheme))
            return QStringLiteral("Conference '") + newTheme + QStringLiteral("' already exists");
        talk.SaveToFile(pathname);
        Rename(talk, oldTheme, talk.Theme());
        return QString();
    });
}

QString Conference::PutMessage(const QString& number, const QString& text, bool isStatusReport, qint32 mr,
                               const QDateTime& dischargeTime)
{
    return platform::TextOrError([&] {
        QString theme = LocateConferee(number);
        if (theme.isEmpty()) {
            QString warnings;
            QString error = AddTalk(theme, warnings, QString(), OpenedBy::Arrival);
            if (!error.isEmpty())
                return error;
            QString name = QStringLiteral("Noname");
            const std::shared_ptr<corvane::BookRecords>& books = G().PhoneBooks;
            if (books && books->Filled()) {
                qint32 location = 0, index = 0;
                books->Find(name, location, index, number);
            }
            error = AddConferee(number, name, theme);
            if (!error.isEmpty())
                return error;
        }
        Conversation& talk = Talk(theme);
        const Settings& settings = Settings::Instance();
        const QString now = LogTime(platform::Now());
        QString entry;
        if (!settings.SimplifiedLog()) {
            const QString name = talk.GetConfName(number);
            if (isStatusReport)
                entry = QStringLiteral("TO:") + kBlanks + name + kCRLF + QStringLiteral("MR:") + kBlanks +
                        QString::number(mr) + kCRLF + QStringLiteral("STATUS TIME:") + kBlanks +
                        LogTime(dischargeTime) + kCRLF + QStringLiteral("STATUS REPORT:") + kBlanks + text + kCRLF +
                        kRule;
            else
                entry = QStringLiteral("TEXT:") + kBlanks + text + kCRLF + QStringLiteral("AT:") + kBlanks + now +
                        kCRLF + QStringLiteral("FROM:") + kBlanks + name + kCRLF + kRule;
        } else {
            const QString name = ConfereeName(number);
            if (isStatusReport)
                entry = name + QStringLiteral(", ") + now + QStringLiteral(", #") + QString::number(mr) +
                        QStringLiteral("<<< Report: ") + text + QStringLiteral(", at ") + LogTime(dischargeTime);
            else
                entry = name + QStringLiteral(", ") + now + QStringLiteral(">>> ") + text;
        }
        talk.Log(1, entry);
        MainWin().UpdateCaption(Unread());
        return QString();
    });
}

QString Conference::PutEmailMessage(const quenby::EmailLetter& letter)
{
    return platform::TextOrError([&] {
        QString sender = letter.Originator.Address;
        const qsizetype colon = sender.indexOf(QLatin1Char(':'));
        if (colon >= 0)
            sender = sender.mid(colon + 1);
        QString theme = LocateConferee(sender);
        if (theme.isEmpty()) {
            QString warnings;
            QString error = AddTalk(theme, warnings, QString(), OpenedBy::Arrival);
            if (!error.isEmpty())
                return error;
            const QString name =
                letter.Originator.Name.isEmpty() ? QStringLiteral("Noname") : letter.Originator.Name;
            error = AddConferee(sender, name, theme);
            if (!error.isEmpty())
                return error;
        }
        QString attachments;
        if (letter.Message.Flags == 0)
            for (qsizetype i = 0; i < letter.Message.FileCount && i < letter.Attachments.size(); ++i)
                attachments += kCRLF + QStringLiteral("ATTACHMENT: ") + letter.Attachments[i].PathName;
        Conversation& talk = Talk(theme);
        const QString now = LogTime(platform::Now());
        const QString body = letter.Message.NoteText;
        QString entry;
        if (!Settings::Instance().SimplifiedLog())
            entry = QStringLiteral("TEXT:") + kBlanks + body + attachments + kCRLF + QStringLiteral("FROM:") +
                    kBlanks + talk.GetConfName(sender) + kCRLF + QStringLiteral("AT:") + kBlanks + now + kCRLF +
                    kRule;
        else
            entry = ConfereeName(sender) + QStringLiteral(", ") + now + QStringLiteral(">>> ") + body + attachments;
        talk.Log(1, entry);
        MainWin().UpdateCaption(Unread());
        return QString();
    });
}

void Conference::Read(const QString& theme)
{
    platform::TextOrError([&] {
        Talk(theme).Read();
        MainWin().UpdateCaption(Unread());
        return QString();
    });
}

qint32 Conference::Unread()
{
    qint32 total = 0;
    for (Conversation* talk : talks_)
        total += talk->Unread();
    return total;
}

QStringList Conference::Themes(const QString& first, bool backwards) const
{
    QStringList themes;
    const qsizetype n = talks_.Count();
    for (qsizetype i = 1; i <= n; ++i)
        themes << talks_.Item(backwards ? n - i + 1 : i)->Theme();
    // Rotated at the whole item: A,B,C from B is B,C,A.
    for (qsizetype i = 0; i < themes.size() && !first.isEmpty(); ++i)
        if (SameTheme(themes[i], first))
            return themes.mid(i) + themes.mid(0, i);
    return themes;
}

void Conference::TalksList(QString& list, const QString& first, bool backwards)
{
    list = Themes(first, backwards).join(QLatin1Char(','));
}

QStringList Conference::ParseMenuPath(const QString& selection)
{
    // A digit at an item's start is an item by itself; a name runs to the next ".".
    QString path;
    bool itemStart = true;
    for (const QChar c : selection) {
        if (itemStart) {
            if (c == QLatin1Char('.'))
                break;
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
                path += c + QLatin1Char('.');
                continue;
            }
            itemStart = false;
            path += c;
        } else {
            path += c;
            if (c == QLatin1Char('.'))
                itemStart = true;
        }
    }
    if (path.endsWith(QLatin1Char('.')))
        path.chop(1);
    if (path.isEmpty())
        return {};
    return path.split(QLatin1Char('.'));
}

namespace {

// "theme>text" or "address>text"; without ">" all of it is the first part.
void SplitArgument(const QString& argument, QString& target, QString& text)
{
    const qsizetype at = argument.indexOf(QLatin1Char('>'));
    target = at < 0 ? argument : argument.left(at);
    text = at < 0 ? QString() : argument.mid(at + 1);
}

}  // namespace

QString Conference::RunExtenderFunction(qint32 function, const QString& argument)
{
    // The send procedure shows its own refusals to the local user; the
    // remote party only learns whether anything was queued.
    const auto sent = [](const QString& theme, const QString& address, const QString& text) {
        return Procs().SendTalkMessage(theme, false, address, text) ? QStringLiteral("OK")
                                                                     : QStringLiteral("Error: not sent");
    };
    QString target, text;
    switch (function) {
    case 1:
        return QStringLiteral("Conferences:") + kCRLF + Themes().join(kCRLF);
    case 2:
        SplitArgument(argument, target, text);
        if (!TalkExist(target))
            return QStringLiteral("Error: no conference");
        if (text.isEmpty())
            return QStringLiteral("Error: nothing to send");
        return sent(Talk(target).Theme(), QString(), text);
    case 3: {
        QString list = QStringLiteral("Conferees:");
        for (const std::shared_ptr<parlova::Conferee>& c : conferees_) {
            QString name = c->Name, address = c->Number, line;
            NameAndAddress(name, address, line);
            list += kCRLF + line;
        }
        return list;
    }
    case 4: {
        SplitArgument(argument, target, text);
        if (!ConfereeExist(target))
            return QStringLiteral("Error: no conferee");
        if (text.isEmpty())
            return QStringLiteral("Error: nothing to send");
        const QString theme = LocateConferee(target);
        if (theme.isEmpty() || !TalkExist(theme))
            return QStringLiteral("Error: no conference");
        return sent(theme, target, text);
    }
    case 5:
        return QStringLiteral("Error: function not implemented");
    default:
        return QStringLiteral("Error: Unknown function");
    }
}

}  // namespace parlova
