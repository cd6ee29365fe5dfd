#include "client/conversations/SendTalk.h"

#include "client/conversations/Conference.h"
#include "client/conversations/Conversation.h"
#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Module1.h"
#include "client/core/Orders.h"
#include "client/core/PhoneProfile.h"
#include "client/core/Settings.h"
#include "client/orders/SendEmail.h"
#include "client/orders/SendSMS.h"

#include "email/EmailGate.h"
#include "platform/VbError.h"

namespace parlova {

namespace {

constexpr qint32 kCodingGsm = 0;
constexpr qint32 kCodingUnicode = 1;
constexpr qint32 kCodingAuto = 10;
constexpr qint32 kRelative = 2;
constexpr qint32 kAbsolute = 3;
const QString kCR = QStringLiteral("\r");

void Refuse(const QString& text) { ModalQuestion::Ask(text, platform::vbExclamation); }

bool MailReady()
{
    const auto& gate = G().MailGate;
    return gate && gate->Ready();
}

bool PduMode()
{
    const auto& phone = G().ConnectedPhone;
    return phone && phone->PDUMode;
}

QList<quenby::MapiRecip> Letters(const QStringList& addresses)
{
    QList<quenby::MapiRecip> out;
    const Conference& conferences = Conferences();
    for (const QString& address : addresses) {
        quenby::MapiRecip r;
        r.RecipClass = quenby::kRecipTo;
        // An address that belongs to no conversation has no name to give.
        if (const Conferee* known = conferences.Conferee(address))
            r.Name = known->Name;
        r.Address = address;
        out << r;
    }
    return out;
}

}  // namespace

QStringList SendTalk::Recipients(const Conversation& talk, bool selectedOnly, const QString& oneAddress)
{
    if (!selectedOnly && !oneAddress.isEmpty())
        return {oneAddress};
    QStringList out;
    const QList<bool> selection = talk.Selection();
    const qint32 count = talk.ConfereesCount();
    for (qint32 i = 0; i < count; ++i) {
        if (selectedOnly && !selection.value(i))
            continue;
        QString name, address;
        const QString error = talk.GetNameAndTelNo(name, address, i);
        if (!error.isEmpty())
            Refuse(error);
        else
            out << address;
    }
    return out;
}

QString SendTalk::ServiceRefusal(const QStringList& recipients, bool mailReady, bool pduMode)
{
    for (const QString& r : recipients) {
        if (IsEmailAddress(r)) {
            if (!mailReady)
                return NoEmailService();
        } else if (!pduMode) {
            return NoSMSService();
        }
    }
    return QString();
}

qint32 SendTalk::ResolveCoding(qint32 coding, const QString& text)
{
    if (coding == kCodingAuto)
        return IsGsmText(text) ? kCodingGsm : kCodingUnicode;
    return coding;
}

QVariant SendTalk::ValidityValue(qint32 validity, qint32 slider, const QDateTime& picker)
{
    if (validity == kRelative)
        return QVariant(double(slider));
    if (validity == kAbsolute)
        return QVariant(picker);
    return QVariant();
}

bool SendTalk::SendTalkMessage(const QString& theme, bool selectedOnly, const QString& oneAddress,
                               const QString& text)
{
    bool queued = false;
    const QString error = platform::TextOrError([&] {
        Conference& conferences = Conferences();
        const QStringList recipients =
            Recipients(conferences.Talk(theme), selectedOnly, oneAddress);
        if (recipients.isEmpty()) {
            Refuse(Nobody());
            return QString();
        }
        const QString refusal = ServiceRefusal(recipients, MailReady(), PduMode());
        if (!refusal.isEmpty()) {
            Refuse(refusal);
            return QString();
        }
        // Looked up again after every box: the conversation may have gone.
        const QString body = text.isEmpty() ? conferences.Talk(theme).Text() : text;
        if (body.isEmpty()) {
            Refuse(NothingToSend());
            return QString();
        }
        const qint32 coding = ResolveCoding(conferences.Talk(theme).Coding(), body);
        if (coding == kCodingGsm && !IsGsmText(body) &&
            ModalQuestion::Ask(GsmWarning(), platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2) !=
                platform::vbYes)
            return QString();

        QStringList numbers, addresses;
        for (const QString& r : recipients)
            (IsEmailAddress(r) ? addresses : numbers) << r;

        if (!numbers.isEmpty()) {
            Conversation& talk = conferences.Talk(theme);
            auto order = std::make_shared<SendSMS>();
            order->SetUp(body, coding, numbers, talk.Class(),
                         ValidityValue(talk.Validity(), talk.SliderValue(), talk.PickerValue()),
                         talk.ReportValue() != 0 ? 1 : 0, ServiceCentre(), theme);
            const QString added = platform::Required(G().PhoneOrders, QStringLiteral("SendTalk")).Add(order, 0);
            if (!added.isEmpty())
                return added;
            queued = true;
            talk.UpdateCaption(1, 0);
        }
        if (!addresses.isEmpty()) {
            quenby::MAPIMessage letter;
            letter.Subject = theme;
            letter.NoteText = body;
            letter.RecipCount = qint32(addresses.size());
            auto order = std::make_shared<SendEmail>();
            order->SetUp(Letters(addresses), letter, theme);
            const QString added = platform::Required(G().MailOrders, QStringLiteral("SendTalk")).Add(order, 0);
            if (!added.isEmpty())
                return added;
            queued = true;
            conferences.Talk(theme).UpdateCaption(1, 0);
        }
        return QString();
    });
    if (!error.isEmpty())
        Refuse(Unexpected(error));
    return queued;
}

QString SendTalk::ServiceCentre()
{
    const Settings& settings = Settings::Instance();
    return settings.SCNumberFromPhone() ? QString() : settings.SCNumber();
}

QString SendTalk::Nobody() { return QStringLiteral("There is nobody to send to. Please add a conferee"); }

QString SendTalk::NoEmailService() { return QStringLiteral("Can not send. Email service is not available"); }

QString SendTalk::NoSMSService() { return QStringLiteral("Can not send. SMS service is not available"); }

QString SendTalk::NothingToSend() { return QStringLiteral("There is nothing to send. Please type some text"); }

QString SendTalk::GsmWarning()
{
    return QStringLiteral("Your text contains characters, that are not part of the GSM code page. ") + kCR +
           QStringLiteral("To send it you should use Unicode coding.") + kCR +
           QStringLiteral("If you send such text using GSM coding, most likely a recipient can not read it!") + kCR +
           kCR + QStringLiteral("Continue anyway?");
}

QString SendTalk::Unexpected(const QString& errorText)
{
    return QStringLiteral("While trying to send out a message the following error occured:") + kCR + errorText;
}

}  // namespace parlova
