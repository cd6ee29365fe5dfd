#include "client/conversations/ConfereeTexts.h"

#include "client/core/Module1.h"

namespace parlova {

namespace {

const QString kCR = QStringLiteral("\r");
const QString kCRLF = QStringLiteral("\r\n");

QString Bullets(const QStringList& lines)
{
    QString out;
    for (const QString& line : lines)
        out += ConfereeTexts::BulletLine(line);
    return out;
}

}  // namespace

QString ConfereeTexts::Counter(qint32 length, qint32 limit)
{
    return QStringLiteral("(%1/%2)").arg(length).arg(limit > 0 ? limit : 0);
}

QString ConfereeTexts::BothFieldsRequired()
{
    return QStringLiteral("Both fields are required.") + kCR + QStringLiteral("Try again or press Cancel!");
}

QString ConfereeTexts::SelectCaption(const QString& talkCaption)
{
    return QStringLiteral("Select Conferees for ") + talkCaption;
}

QString ConfereeTexts::AddCaption(const QString& talkCaption) { return QStringLiteral("Add Conferee to ") + talkCaption; }

QString ConfereeTexts::EditCaption(const QString& theme) { return QStringLiteral("Edit Conferee from ") + theme; }

QString ConfereeTexts::AllConferencesCaption() { return QStringLiteral("All conferences"); }

QString ConfereeTexts::BooksNotRead()
{
    return QStringLiteral("Phonebooks have not been read from the phone.") + kCRLF +
           QStringLiteral("To do that, choose 'Tools->Phonebook' from menu.");
}

QString ConfereeTexts::AddingErrors(const QString& texts)
{
    return QStringLiteral("While adding, some error(s) occurred: ") + texts;
}

QString ConfereeTexts::NotAdded(const QString& error)
{
    return QStringLiteral("Conferee was not added because of:") + kCRLF + error;
}

QString ConfereeTexts::NoConfereeToEdit()
{
    return QStringLiteral("There is no conferee to edit. To add a conferee go to 'Conferee->Add' menu item");
}

QString ConfereeTexts::NotEdited(const QString& error)
{
    return QStringLiteral("Conferee was not edited because of:") + kCRLF + error;
}

QString ConfereeTexts::SelectSome() { return QStringLiteral("Select some conferee(s)"); }

QString ConfereeTexts::RemoveQuestion(const QStringList& lines, const QString& theme)
{
    return QStringLiteral("You are about to delete following conferees:") + Bullets(lines) + kCR +
           QStringLiteral("from ") + theme + QStringLiteral(". Are you sure?");
}

QString ConfereeTexts::NotRemoved(const QString& line, const QString& error)
{
    return QStringLiteral("Conferee ") + line + QStringLiteral(" was not removed because of:") + kCRLF + error;
}

QString ConfereeTexts::MoveQuestion(const QStringList& lines, const QString& destination)
{
    return QStringLiteral("You are about to move following conferees:") + Bullets(lines) + kCR +
           QStringLiteral("to ") + destination + QStringLiteral(". Are you sure?");
}

QString ConfereeTexts::NotMoved(const QString& line, const QString& error)
{
    return QStringLiteral("Conferee ") + line + QStringLiteral(" was not moved because of:") + kCRLF + error;
}

QString ConfereeTexts::JoinQuestion(const QString& a, const QString& b)
{
    return QStringLiteral("You are about to join conference ") + a + QStringLiteral(" with conference ") + b +
           QStringLiteral(".") + kCR + QStringLiteral("All conferees from ") + a + QStringLiteral(" will be moved to ") +
           b + QStringLiteral(".") + kCR + QStringLiteral("Archive of ") + a +
           QStringLiteral(" will be added to archive of ") + b + QStringLiteral(".") + kCR +
           QStringLiteral("After that conference ") + a + QStringLiteral(" will be closed.") + kCR +
           QStringLiteral("Do you want to continue?");
}

QString ConfereeTexts::NotJoined(const QString& error)
{
    return QStringLiteral("Conferences did not join because of:") + kCRLF + error;
}

QString ConfereeTexts::Blankless(const QString& entry)
{
    QString set = QStringLiteral(" ");
    return TrimSet(entry, set);
}

QString ConfereeTexts::BulletLine(const QString& line)
{
    return kCR + QStringLiteral("    ") + QChar(0x2022) + QLatin1Char(' ') + line;
}

}  // namespace parlova
