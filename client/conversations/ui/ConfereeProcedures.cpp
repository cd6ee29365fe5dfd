#include "client/conversations/ui/ConfereeProcedures.h"

#include "client/conversations/ConfereeTexts.h"
#include "client/conversations/Conference.h"
#include "client/conversations/SendTalk.h"
#include "client/conversations/ui/TalkWindows.h"
#include "client/conversations/ui/frmConf.h"
#include "client/conversations/ui/frmNewConf.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Module1.h"
#include "client/core/ui/frmAllItems.h"

#include "hub/messages/BookRecords.h"
#include "platform/VbError.h"
#include "platform/ui/DialogRelease.h"
#include "platform/ui/ModalForm.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

#include <optional>

namespace parlova {

namespace {

const QString kCRLF = QStringLiteral("\r\n");
constexpr int kEntryLimit = 50;

void Warn(const QString& text) { ModalQuestion::Ask(text, platform::vbExclamation); }

bool Agreed(const QString& question)
{
    return ModalQuestion::Ask(question, platform::vbYesNo | platform::vbQuestion) == platform::vbYes;
}

// The window over which a form of this conversation opens; none for a
// conversation without a window.
QWidget* OwnerOf(Conversation& talk)
{
    auto* widget = dynamic_cast<QWidget*>(&talk);
    return widget ? widget->window() : nullptr;
}

// The conversation behind a window, or none.
Conversation* TalkOf(QWidget* window) { return TalkWindows::Of(window); }

// The theme the user chose: a menu's theme, or one picked from the other
// open conversations; none for "[nowhere]", a cancelled picker or an empty
// choice.
std::optional<QString> Destination(const QString& theme, const TalkChoice& choice)
{
    if (choice.nowhere)
        return std::nullopt;
    QString chosen = choice.theme;
    if (choice.more) {
        Conference& conferences = Conferences();
        QPointer<frmAllItems> picker = new frmAllItems(OwnerOf(conferences.Talk(theme)));
        const platform::DialogRelease<frmAllItems> release(picker);
        picker->setWindowTitle(ConfereeTexts::AllConferencesCaption());
        for (qint32 i = 1; i <= conferences.TalksCount(); ++i) {
            const QString other = conferences.Talk(i).Theme();
            if (other.compare(theme, Qt::CaseInsensitive) != 0)
                picker->List1->addItem(other);
        }
        platform::ShowModalForm(picker);
        if (!picker || !picker->IsSelectionOK() || picker->ListIndex() < 0)
            return std::nullopt;
        chosen = picker->SelectedText();
    }
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

// Shows the dialog with its caption, the limits and the starting texts;
// the two entries without blanks at their ends when confirmed.
std::optional<std::pair<QString, QString>> AskNameAndAddress(QWidget* owner, const QString& caption,
                                                             const QString& name, const QString& address)
{
    QPointer<frmNewConf> form = new frmNewConf(owner);
    const platform::DialogRelease<frmNewConf> release(form);
    form->setWindowTitle(caption);
    frmNewConf::SetMaxLength(form->txtUserName, kEntryLimit);
    frmNewConf::SetMaxLength(form->txtPassword, kEntryLimit);
    form->txtUserName->setText(name);
    form->txtPassword->setText(address);
    platform::ShowModalForm(form);
    if (!form || !form->IsSelectionOK())
        return std::nullopt;
    return std::make_pair(ConfereeTexts::Blankless(form->txtUserName->text()),
                          ConfereeTexts::Blankless(form->txtPassword->text()));
}

// A run-time error of the registry or a vanished conversation, as text.
void ShowIfFailed(const QString& error)
{
    if (!error.isEmpty())
        Warn(error);
}

}  // namespace

void ConfereeProcedures::Install(Procedures& procedures)
{
    procedures.SendTalkMessage = [](const QString& theme, bool selectedOnly, const QString& oneAddress,
                                    const QString& text) {
        return SendTalk::SendTalkMessage(theme, selectedOnly, oneAddress, text);
    };
    procedures.AddConfereesFromPhonebooks = &ConfereeProcedures::AddConfereesFromPhonebooks;
    procedures.AskAddConferee = &ConfereeProcedures::AskAddConferee;
    procedures.AskEditConferee = &ConfereeProcedures::AskEditConferee;
    procedures.AskRemoveConferees = &ConfereeProcedures::AskRemoveConferees;
    procedures.AskMoveConferees = &ConfereeProcedures::AskMoveConferees;
    procedures.AskJoinTalks = &ConfereeProcedures::AskJoinTalks;
}

void ConfereeProcedures::AddConfereesFromPhonebooks(QWidget* window)
{
    ShowIfFailed(platform::TextOrError([&] {
        Conversation* talk = TalkOf(window);
        if (!talk)
            return QString();
        const auto& books = G().PhoneBooks;
        if (!books || !books->Filled()) {
            ModalQuestion::Ask(ConfereeTexts::BooksNotRead(), platform::vbInformation);
            return QString();
        }
        const QString theme = talk->Theme();
        QPointer<frmConf> picker = new frmConf(*books, OwnerOf(*talk));
        const platform::DialogRelease<frmConf> release(picker);
        picker->setWindowTitle(ConfereeTexts::SelectCaption(talk->Caption()));
        platform::ShowModalForm(picker);
        if (!picker || !picker->IsSelectionOK())
            return QString();
        QString collected;
        for (QString line : picker->ChosenLines()) {
            QString name, address;
            QString error = NameAndAddress(name, address, line);
            if (error.isEmpty())
                error = Conferences().AddConferee(address, name, theme);
            if (!error.isEmpty())
                collected += kCRLF + error;
        }
        if (!collected.isEmpty())
            Warn(ConfereeTexts::AddingErrors(collected));
        return QString();
    }));
}

void ConfereeProcedures::AskAddConferee(QWidget* window)
{
    ShowIfFailed(platform::TextOrError([&] {
        Conversation* talk = TalkOf(window);
        if (!talk)
            return QString();
        const QString theme = talk->Theme();
        const auto entries = AskNameAndAddress(OwnerOf(*talk), ConfereeTexts::AddCaption(talk->Caption()),
                                               talk->LastConfereeName, talk->LastConfereeAddress);
        if (!entries)
            return QString();
        Conference& conferences = Conferences();
        Conversation& again = conferences.Talk(theme);
        // Remembered for the next Add, whatever becomes of this one.
        again.LastConfereeName = entries->first;
        again.LastConfereeAddress = entries->second;
        const QString result = conferences.AddConferee(entries->second, entries->first, theme);
        if (!result.isEmpty())
            Warn(ConfereeTexts::NotAdded(result));
        return QString();
    }));
}

void ConfereeProcedures::AskEditConferee(const QString& theme, qint32 position)
{
    const QString error = platform::TextOrError([&] {
        Conference& conferences = Conferences();
        Conversation& talk = conferences.Talk(theme);
        if (talk.ConfereesCount() == 0) {
            Warn(ConfereeTexts::NoConfereeToEdit());
            return QString();
        }
        QString oldName, oldAddress;
        const QString split = talk.GetNameAndTelNo(oldName, oldAddress, position);
        if (!split.isEmpty())
            return split;
        const auto entries = AskNameAndAddress(OwnerOf(talk), ConfereeTexts::EditCaption(theme), oldName, oldAddress);
        if (!entries)
            return QString();
        const auto& [name, address] = *entries;
        // An address of another conversation is refused before anything is
        // removed: the registry says so and changes nothing.
        const QString holder = conferences.LocateConferee(address);
        if (!holder.isEmpty() && holder.compare(theme, Qt::CaseInsensitive) != 0)
            return conferences.AddConferee(address, name, theme);
        const QString oldLine = conferences.Talk(theme).GetConfName(oldAddress);
        const QString removed = conferences.RemoveConferee(oldLine, theme);
        if (!removed.isEmpty())
            return removed;
        const QString added = conferences.AddConferee(address, name, theme);
        if (!added.isEmpty())
            conferences.AddConferee(oldAddress, oldName, theme);
        return added;
    });
    if (!error.isEmpty())
        Warn(ConfereeTexts::NotEdited(error));
}

void ConfereeProcedures::AskRemoveConferees(const QString& theme)
{
    ShowIfFailed(platform::TextOrError([&] {
        const QStringList lines = Conferences().Talk(theme).SelectedConferees();
        if (lines.isEmpty() || !Agreed(ConfereeTexts::RemoveQuestion(lines, theme)))
            return QString();
        for (const QString& line : lines) {
            const QString error = Conferences().RemoveConferee(line, theme);
            if (!error.isEmpty())
                Warn(ConfereeTexts::NotRemoved(line, error));
        }
        return QString();
    }));
}

void ConfereeProcedures::AskMoveConferees(const QString& theme, const TalkChoice& choice)
{
    ShowIfFailed(platform::TextOrError([&] {
        const QStringList lines = Conferences().Talk(theme).SelectedConferees();
        if (lines.isEmpty()) {
            Warn(ConfereeTexts::SelectSome());
            return QString();
        }
        const std::optional<QString> destination = Destination(theme, choice);
        if (!destination || !Agreed(ConfereeTexts::MoveQuestion(lines, *destination)))
            return QString();
        for (const QString& line : lines) {
            const QString error = Conferences().MoveConferee(line, theme, *destination);
            if (!error.isEmpty())
                Warn(ConfereeTexts::NotMoved(line, error));
        }
        return QString();
    }));
}

void ConfereeProcedures::AskJoinTalks(const QString& theme, const TalkChoice& choice)
{
    ShowIfFailed(platform::TextOrError([&] {
        const std::optional<QString> destination = Destination(theme, choice);
        if (!destination || !Agreed(ConfereeTexts::JoinQuestion(theme, *destination)))
            return QString();
        const QString error = Conferences().JoinTalks(*destination, theme);
        if (!error.isEmpty())
            Warn(ConfereeTexts::NotJoined(error));
        return QString();
    }));
}

}  // namespace parlova
