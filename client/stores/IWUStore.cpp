#include "client/stores/IWUStore.h"

#include "client/conversations/Conference.h"
#include "client/conversations/SendTalk.h"
#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Module1.h"
#include "client/core/Orders.h"
#include "client/core/PhoneProfile.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "client/orders/DeleteMessage.h"
#include "client/orders/ReadStore.h"
#include "client/orders/SendSMS.h"
#include "client/orders/WriteMessage.h"
#include "client/stores/MessageEditor.h"
#include "client/stores/MessageStoreProcedures.h"
#include "client/stores/StoreProcedureTexts.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"
#include "platform/VbError.h"

namespace parlova {

namespace {

using Texts = StoreProcedureTexts;

const QString kSource = QStringLiteral("IWUStore");

int Box(const QString& text, int style = platform::vbExclamation)
{
    return ModalQuestion::Ask(text, style, G().AppName);
}

bool Confirmed(const QString& question)
{
    return Box(question, platform::vbYesNo | platform::vbQuestion) != platform::vbNo;
}

// Runs a procedure's body; an unexpected failure ends it with one box.
template <class Body, class Prefix>
void Guarded(const Prefix& prefix, const Body& body)
{
    try {
        body();
    } catch (const std::exception& error) {
        Box(prefix() + platform::ErrorText(error));
    }
}

Orders& PhoneOrders() { return platform::Required(G().PhoneOrders, kSource); }
corvane::MessageStore& PhoneMessages() { return platform::Required(G().PhoneMessages, kSource); }

void Queue(const OrderPtr& order)
{
    const QString refused = PhoneOrders().Add(order, 0);
    if (!refused.isEmpty())
        Box(refused);
}

}  // namespace

IWUStore::IWUStore(Forms forms) : forms_(std::move(forms)) {}

QString IWUStore::Active(qint32& location, qint32& index, bool needsVisible) const
{
    MessageEditor* window = forms_.window ? forms_.window() : nullptr;
    if (!window)
        return needsVisible ? Texts::NotVisible() : Texts::NoActiveMessage();
    return window->ActiveMessage(location, index);
}

QString IWUStore::ChooseTheme(const TalkChoice& choice) const
{
    if (choice.nowhere)
        return QString();
    if (!choice.more)
        return choice.theme;
    QStringList themes;
    Conference& registry = Conferences();
    for (qint32 position = 1; position <= registry.TalksCount(); ++position)
        themes << registry.Talk(position).Theme();
    return forms_.chooseTheme ? forms_.chooseTheme(themes) : QString();
}

void IWUStore::StoreNewMessage(const QString& owner)
{
    Guarded([] { return Texts::StoreFailed(); }, [&] {
        MessageEditor* window = forms_.window ? forms_.window() : nullptr;
        const QString text = window ? window->Text().toString() : QString();
        if (text.isEmpty()) {
            Box(Texts::NothingToStore());
            return;
        }
        if (window->Coding() == 0 && !IsGsmText(text)) {
            if (Box(Texts::GsmWarning(), platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2) !=
                platform::vbYes)
                return;
            window = forms_.window();
            if (!window)
                return;
        }
        const qint32 destination = window->Destination();
        if (destination < 0) {
            Box(Texts::NowhereToStore());
            return;
        }
        auto order = std::make_shared<WriteMessage>();
        order->SetUp(text, window->CodingA(), window->Address(), PhoneMessages().LocationName(destination),
                     window->Class(),
                     SendTalk::ValidityValue(window->Validity(), window->RelativeValidity(), window->AbsoluteValidity()),
                     window->Report() != 0 ? 1 : 0, SendTalk::ServiceCentre(), owner);
        window->Storing();
        Queue(order);
    });
}

void IWUStore::DeleteStoreMessage(const QString& owner)
{
    Guarded([] { return Texts::DeleteFailed(); }, [&] {
        qint32 location = -1, index = -1;
        const QString failure = Active(location, index, true);
        if (!failure.isEmpty()) {
            Box(failure);
            return;
        }
        if (!Confirmed(Texts::DeleteQuestion(forms_.window()->Text().toString())))
            return;
        auto order = std::make_shared<DeleteMessage>();
        order->SetUp(location, index, owner);
        Queue(order);
    });
}

void IWUStore::RereadMessageStore(const QString& owner)
{
    Guarded([] { return Texts::RereadFailed(); }, [&] {
        if (!Confirmed(Texts::RereadQuestion()))
            return;
        // The store itself is emptied when the read starts, so orders queued
        // before it still find their messages.
        if (MessageStoreWindow* window = Windows().frmMessageStore())
            window->Unload();
        auto order = std::make_shared<ReadStore>();
        order->SetOwner(owner);
        Queue(order);
    });
}

void IWUStore::StartTalkFromStore(const QString&)
{
    Guarded([] { return Texts::TalkFailed(); }, [&] {
        qint32 location = -1, index = -1;
        QString theme, warnings;
        QString failure = Active(location, index, true);
        if (failure.isEmpty()) {
            failure = Conferences().AddTalk(theme, warnings, QString());
            if (failure.isEmpty())
                CopyStoreMessagesToTalk(theme, location, index, false);
        }
        if (!failure.isEmpty())
            Box(QStringLiteral("Cannot start to talk because of: ") + failure);
        if (!warnings.isEmpty())
            Box(QStringLiteral("Warning: ") + warnings);
    });
}

bool IWUStore::Chosen(const TalkChoice& choice, bool needsVisible, QString& theme, qint32& location,
                      qint32& index) const
{
    theme = ChooseTheme(choice);
    if (theme.isEmpty())
        return false;
    const QString failure = Active(location, index, needsVisible);
    if (!failure.isEmpty())
        Box(failure);
    return failure.isEmpty();
}

void IWUStore::ChooseConferenceAndSend(const TalkChoice& choice)
{
    QString theme;
    Guarded([&] { return Texts::SendToFailed(theme); }, [&] {
        qint32 location = -1, index = -1;
        if (Chosen(choice, false, theme, location, index))
            SendStoreMessageToTalk(theme, location, index);
    });
}

void IWUStore::SendStoreMessageToTalk(const QString& theme, qint32 location, qint32 index)
{
    Guarded([] { return Texts::SendFailed(); }, [&] {
        Conference& registry = Conferences();
        registry.Talk(theme);
        const PhoneProfile* phone = G().ConnectedPhone.get();
        if (!phone || !phone->PDUMode) {
            Box(Texts::NoSmsService());
            return;
        }
        QStringList recipients;
        for (qint32 position = 0; position < registry.Talk(theme).ConfereesCount(); ++position) {
            QString name, number;
            const QString failure = registry.Talk(theme).GetNameAndTelNo(name, number, position);
            if (!failure.isEmpty()) {
                Box(failure);
                // The conversation may have gone while the box was open.
                registry.Talk(theme);
                continue;
            }
            // An SMS goes to telephone numbers only; the letters are the
            // conversation's own Send.
            if (!IsEmailAddress(number))
                recipients << number;
        }
        if (recipients.isEmpty()) {
            Box(Texts::NobodyToSend(theme));
            return;
        }
        Conversation& talk = registry.Talk(theme);
        const corvane::MessageStore& store = PhoneMessages();
        auto order = std::make_shared<SendSMS>();
        order->SetUp(store.MessageData(location, index), store.MessageCoding(location, index), recipients,
                     store.MessageClass(location, index),
                     SendTalk::ValidityValue(talk.Validity(), talk.SliderValue(), talk.PickerValue()),
                     talk.ReportValue() != 0 ? 1 : 0, SendTalk::ServiceCentre(), theme);
        Queue(order);
        talk.UpdateCaption(1, 0);
    });
}

void IWUStore::ChooseConferenceAndCopy(const TalkChoice& choice)
{
    QString theme;
    Guarded([&] { return Texts::MoveToFailed(theme); }, [&] {
        qint32 location = -1, index = -1;
        if (Chosen(choice, true, theme, location, index))
            CopyStoreMessagesToTalk(theme, location, index, true);
    });
}

void IWUStore::CopyStoreMessagesToTalk(const QString& theme, qint32 location, qint32 index, bool deleteAfter)
{
    Guarded([] { return Texts::CopyFailed(); }, [&] {
        Conference& registry = Conferences();
        registry.Talk(theme);
        const corvane::MessageStore& store = PhoneMessages();
        if (!Texts::Logged(store.MessageStatus(location, index))) {
            // Asked before anything changes: No leaves the draft, and the
            // message on the phone.
            const QString draft = registry.Talk(theme).DraftText();
            if (!draft.isEmpty() && draft != store.MessageData(location, index) &&
                Box(Texts::ReplaceDraftQuestion(theme),
                    platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2) != platform::vbYes)
                return;
        }
        const QString address = store.MessageAddress(location, index);
        QString name;
        if (!address.isEmpty()) {
            name = QStringLiteral("Noname");
            const corvane::BookRecords* books = G().PhoneBooks.get();
            qint32 book = 0, entry = 0;
            if (books && books->Filled())
                books->Find(name, book, entry, address);
            if (!registry.ConfereeExist(address)) {
                const QString refused = registry.AddConferee(address, name, theme);
                if (!refused.isEmpty())
                    Box(QStringLiteral("A conferee has not been added: ") + refused);
            }
        }
        const Texts::Entry entry =
            Texts::LogEntry(store, location, index, name, address, Settings::Instance().SimplifiedLog());
        Conversation& talk = registry.Talk(theme);
        if (entry.logged) {
            talk.Log(1, entry.text);
            if (MainWindow* main = Windows().frmMDI())
                main->UpdateCaption(registry.Unread());
        } else {
            talk.SetDraft(entry.text);
        }
        if (deleteAfter) {
            auto order = std::make_shared<DeleteMessage>();
            order->SetUp(location, index, theme);
            Queue(order);
        }
    });
}

void IWUStore::SelectStoreAddress()
{
    Guarded([] { return QString(); }, [&] {
        const corvane::BookRecords* books = G().PhoneBooks.get();
        if (!books || !books->Filled()) {
            Box(Texts::BooksNotRead(), platform::vbInformation);
            return;
        }
        MessageEditor* window = forms_.window ? forms_.window() : nullptr;
        if (!window || !forms_.chooseConferee)
            return;
        const std::optional<QString> line = forms_.chooseConferee(Texts::ChooserCaption(window->WindowCaption()));
        if (!line)
            return;
        QString name, address, combined = *line;
        const QString failure = NameAndAddress(name, address, combined);
        if (!failure.isEmpty()) {
            Box(QStringLiteral("Error occurred: ") + failure);
            return;
        }
        if (MessageEditor* shown = forms_.window())
            shown->SetContact(address, name);
    });
}

void IWUStore::AddStoreAddressToPhonebook(qint32 book)
{
    Guarded([] { return QString(); }, [&] {
        MessageEditor* window = forms_.window ? forms_.window() : nullptr;
        const QString number = window ? window->Address() : QString();
        if (number.isEmpty()) {
            Box(Texts::NoTelephoneNumber());
            return;
        }
        Procs().AskAddContact(book, number, QString());
    });
}

void IWUStore::Install(Procedures& table, Forms forms)
{
    auto store = std::make_shared<IWUStore>(std::move(forms));
    table.StoreNewMessage = [store](const QString& owner) { store->StoreNewMessage(owner); };
    table.DeleteStoreMessage = [store](const QString& owner) { store->DeleteStoreMessage(owner); };
    table.StartTalkFromStore = [store](const QString& owner) { store->StartTalkFromStore(owner); };
    MessageStoreProcedures& own = StoreProcedures();
    own.RereadMessageStore = [store](const QString& owner) { store->RereadMessageStore(owner); };
    own.ChooseConferenceAndSend = [store](const TalkChoice& choice) { store->ChooseConferenceAndSend(choice); };
    own.ChooseConferenceAndCopy = [store](const TalkChoice& choice) { store->ChooseConferenceAndCopy(choice); };
    own.SelectStoreAddress = [store] { store->SelectStoreAddress(); };
    own.AddStoreAddressToPhonebook = [store](qint32 book) { store->AddStoreAddressToPhonebook(book); };
}

}  // namespace parlova
