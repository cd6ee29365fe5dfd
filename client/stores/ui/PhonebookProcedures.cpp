#include "client/stores/ui/PhonebookProcedures.h"

#include "client/conversations/BookNames.h"
#include "client/conversations/Conference.h"
#include "client/conversations/ui/TalkWindows.h"
#include "client/conversations/ui/frmNewConf.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Order.h"
#include "client/core/Orders.h"
#include "client/core/ui/frmAllItems.h"
#include "client/orders/ReadBook.h"
#include "client/orders/WriteBookEntry.h"
#include "client/stores/PhonebookTexts.h"
#include "client/stores/ui/PhonebookHandle.h"
#include "client/stores/ui/frmPhonebook.h"
#include "hub/messages/BookRecords.h"
#include "platform/VbError.h"
#include "platform/ui/ModalForm.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

#include <optional>

namespace parlova {

namespace {

void Say(const QString& text) { ModalQuestion::Ask(text, platform::vbExclamation); }

bool Confirmed(const QString& question) { return ModalQuestion::Ask(question, 36) != platform::vbNo; }

// Runs a procedure; an unexpected error ends it with the lead-in's box.
template <class F>
void Guarded(const F& body, const std::function<QString()>& leadIn)
{
    try {
        body();
    } catch (const std::exception& error) {
        Say(leadIn() + QLatin1Char('\r') + platform::ErrorText(error));
    }
}

void GuardedAs(BookProcedure procedure, const std::function<void()>& body)
{
    Guarded(body, [procedure] { return PhonebookTexts::LeadIn(procedure); });
}

struct Contact {
    QString name;
    QString number;
    qint32 book = 0;
    qint32 index = 0;
};

// The window's active contact; the failure text when there is none (also
// while the window is not loaded).
QString ActiveContact(Contact& contact)
{
    frmPhonebook* window = PhonebookHandle::CurrentWindow();
    if (!window)
        return QStringLiteral("No active contact");
    return window->ActiveContact(contact.name, contact.number, contact.book, contact.index);
}

// The active contact while the window shows; empty otherwise.
Contact VisibleContact()
{
    Contact contact;
    if (PhonebookHandle::CurrentWindow())
        ActiveContact(contact);
    return contact;
}

QWidget* FormOwner()
{
    const PhonebookHandle* handle = PhonebookHandle::Current();
    return handle ? handle->Owner() : nullptr;
}

void Queue(const OrderPtr& order) { platform::Required(G().PhoneOrders, QStringLiteral("Parlova")).Add(order, 0); }

// A write the chain would refuse is said now and never queued.
void QueueWrite(const BookWrite& w)
{
    auto order = std::make_shared<WriteBookEntry>();
    const QString refused = order->SetUp(w.location, w.index, w.name, w.number, BookWrite::Owner(), w.update,
                                         w.remove, w.fromLocation, w.fromIndex);
    if (!refused.isEmpty()) {
        Say(refused);
        return;
    }
    Queue(order);
}

struct Entered {
    QString name;
    QString number;
};

// The contact dialog with its caption, limits (0: none) and texts; the
// typed name and number when confirmed.
std::optional<Entered> AskContact(const QString& caption, qint32 nameLen, qint32 numberLen, const QString& name,
                                  const QString& number)
{
    QPointer<frmNewConf> form = new frmNewConf(FormOwner());
    form->setWindowTitle(caption);
    frmNewConf::SetMaxLength(form->txtUserName, nameLen);
    form->txtUserName->setText(PhonebookTexts::Cut(name, nameLen));
    frmNewConf::SetMaxLength(form->txtPassword, numberLen);
    form->txtPassword->setText(PhonebookTexts::Cut(number, numberLen));
    platform::ShowModalForm(form);
    std::optional<Entered> typed;
    if (form && form->IsSelectionOK())
        typed = Entered{form->txtUserName->text(), form->txtPassword->text()};
    delete form.data();
    return typed;
}

void ReportTalkErrors(const QString& error, const QString& warnings)
{
    if (!error.isEmpty())
        Say(QStringLiteral("Error occured: ") + error);
    if (!warnings.isEmpty())
        Say(QStringLiteral("Warning: ") + warnings);
}

const QString kChooseContact = QStringLiteral("Choose contact from the phonebooks");

}  // namespace

void StartTalkWithContacts()
{
    Contact contact;
    Guarded(
        [&] {
            contact = VisibleContact();
            if (contact.number.isEmpty()) {
                Say(kChooseContact);
                return;
            }
            Conference& registry = Conferences();
            QString theme = registry.LocateConferee(contact.number);
            QString error;
            QString warnings;
            if (theme.isEmpty()) {
                error = registry.AddTalk(theme, warnings, QString());
                if (error.isEmpty())
                    error = registry.AddConferee(contact.number, contact.name, theme);
            } else {
                registry.Talk(theme).TakeFocus();
            }
            ReportTalkErrors(error, warnings);
        },
        [&] { return PhonebookTexts::LeadIn(BookProcedure::Talk, contact.name); });
}

void IncludeContactsInTalk(const TalkChoice& choice)
{
    QString conference;
    Contact contact;
    Guarded(
        [&] {
            if (choice.nowhere)
                return;
            Conference& registry = Conferences();
            if (choice.more) {
                QPointer<frmAllItems> picker = new frmAllItems(FormOwner());
                for (qint32 i = 1; i <= registry.TalksCount(); ++i)
                    picker->List1->addItem(registry.Talk(i).Theme());
                picker->setWindowTitle(QStringLiteral("All conferences"));
                platform::ShowModalForm(picker);
                if (picker && picker->IsSelectionOK())
                    conference = picker->SelectedText();
                delete picker.data();
            } else {
                conference = choice.theme;
            }
            if (conference.isEmpty())
                return;
            contact = VisibleContact();
            if (contact.number.isEmpty()) {
                Say(kChooseContact);
                return;
            }
            const QString theme = registry.LocateConferee(contact.number);
            if (!theme.isEmpty()) {
                Say(PhonebookTexts::TakingPart(contact.name, contact.number, registry.Talk(theme).Theme()));
                return;
            }
            const QString error = registry.AddConferee(contact.number, contact.name, conference);
            ReportTalkErrors(error, QString());
        },
        [&] { return PhonebookTexts::LeadIn(BookProcedure::Include, contact.name, conference); });
}

void AskAddContact(qint32 book, const QString& number, const QString& name)
{
    GuardedAs(BookProcedure::Add, [&] {
        const corvane::BookRecords& books = PhoneBooksRef();
        if (!books.Filled()) {
            Say(PhonebookTexts::NotRead());
            return;
        }
        if (!books.IsActual(book)) {
            Say(QStringLiteral("The book does not exist"));
            return;
        }
        const std::optional<Entered> typed = AskContact(QStringLiteral("Add contact to ") + GetBookName(books, book),
                                                        books.NameLen(book), books.NumberLen(book), name, number);
        if (typed)
            QueueWrite(PhonebookTexts::Add(PhoneBooksRef(), book, typed->name, typed->number));
    });
}

void AskEditContact()
{
    GuardedAs(BookProcedure::Edit, [] {
        Contact contact;
        if (const QString failure = ActiveContact(contact); !failure.isEmpty()) {
            Say(failure);
            return;
        }
        const corvane::BookRecords& books = PhoneBooksRef();
        if (!books.IsSafeToEdit(contact.book) &&
            ModalQuestion::Ask(PhonebookTexts::EditQuestion(), 49) == platform::vbCancel)
            return;
        const bool filled = books.Filled();
        const std::optional<Entered> typed =
            AskContact(QStringLiteral("Edit contact in ") + GetBookName(books, contact.book),
                       filled ? books.NameLen(contact.book) : 50, filled ? books.NumberLen(contact.book) : 50,
                       contact.name, contact.number);
        if (typed)
            QueueWrite(PhonebookTexts::Edit(PhoneBooksRef(), contact.book, contact.index, typed->name, typed->number));
    });
}

void AskRereadPhonebooks()
{
    GuardedAs(BookProcedure::Reread, [] {
        if (!Confirmed(PhonebookTexts::RereadQuestion()))
            return;
        // The read empties the records when it starts, after the orders
        // queued before it have run on them.
        if (PhonebookWindow* window = Windows().frmPhonebook())
            window->Unload();
        Queue(std::make_shared<ReadBook>());
    });
}

void AskDeleteContact()
{
    GuardedAs(BookProcedure::Delete, [] {
        Contact contact;
        if (const QString failure = ActiveContact(contact); !failure.isEmpty()) {
            Say(failure);
            return;
        }
        if (!Confirmed(PhonebookTexts::DeleteQuestion(GetBookName(contact.book), contact.name, contact.number)))
            return;
        QueueWrite(PhonebookTexts::Delete(PhoneBooksRef(), contact.book, contact.index));
    });
}

void ShowPhonebook()
{
    GuardedAs(BookProcedure::Show, [] {
        if (PhoneBooksRef().Filled()) {
            PhonebookWin().SetFocus();
            return;
        }
        if (Confirmed(PhonebookTexts::ShowQuestion()))
            Queue(std::make_shared<ReadBook>());
    });
}

void CopyConfereesToBook(QWidget* talk, qint32 book)
{
    try {
        const frmTalk* window = TalkWindows::Of(talk);
        if (!window)
            return;
        if (window->ConfereesCount() == 0) {
            Say(QStringLiteral("No conferees"));
            return;
        }
        QString name;
        QString address;
        if (const QString error = window->GetNameAndTelNo(name, address, window->ListIndex()); !error.isEmpty()) {
            Say(error);
            return;
        }
        AskAddContact(book, address, name);
    } catch (const std::exception& error) {
        Say(platform::ErrorText(error));
    }
}

void AskCopyMoveContact(bool move)
{
    GuardedAs(BookProcedure::CopyMove, [move] {
        if (!PhoneBooksRef().Filled()) {
            Say(PhonebookTexts::NotRead());
            return;
        }
        Contact contact;
        if (const QString failure = ActiveContact(contact); !failure.isEmpty()) {
            Say(failure);
            return;
        }
        const corvane::BookRecords& books = PhoneBooksRef();
        const CopyDestination to = PhonebookTexts::Destination(books, contact.book);
        if (!to.error.isEmpty()) {
            Say(to.error);
            return;
        }
        const QString caption = (move ? QStringLiteral("Move contact to ") : QStringLiteral("Copy contact to ")) + to.text;
        const std::optional<Entered> typed =
            AskContact(caption, books.NameLen(to.book), books.NumberLen(to.book), contact.name, contact.number);
        if (typed)
            QueueWrite(PhonebookTexts::CopyMove(PhoneBooksRef(), to.book, contact.book, contact.index, typed->name,
                                                typed->number, move));
    });
}

void InstallPhonebookProcedures(Procedures& procedures)
{
    procedures.ShowPhonebook = [] { ShowPhonebook(); };
    procedures.AskAddContact = [](qint32 book, const QString& number, const QString& name) {
        AskAddContact(book, number, name);
    };
    procedures.AskEditContact = [] { AskEditContact(); };
    procedures.AskDeleteContact = [] { AskDeleteContact(); };
    procedures.AskCopyMoveContact = [](bool move) { AskCopyMoveContact(move); };
    procedures.StartTalkWithContacts = [] { StartTalkWithContacts(); };
    procedures.CopyConfereesToBook = [](QWidget* talk, qint32 book) { CopyConfereesToBook(talk, book); };
}

}  // namespace parlova
