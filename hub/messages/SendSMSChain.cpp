#include "hub/messages/SendSMSChain.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/Bag.h"
#include "hub/engine/PhoneCommand.h"
#include "hub/engine/PubFunctions.h"
#include "hub/messages/MessageStoreChains.h"
#include "hub/messages/SMS.h"
#include "hub/messages/SubmitFromBag.h"
#include "platform/VbError.h"

#include <QStringList>

namespace corvane {

namespace {

const QString kSource = QStringLiteral("SendSMS");
const QString kSMSObject = QStringLiteral("SMSObject");
const QString kPDUs = QStringLiteral("PDUs");
const QString kMaxPDU = QStringLiteral("MaxPDU");
const QString kCurrentPDU = QStringLiteral("CurrentPDU");
const QString kCurrentAddress = QStringLiteral("CurrentAddress");
const QString kMaxAddress = QStringLiteral("MaxAddress");
const QChar kCtrlZ(26);

QString CMGSCommand(const QString& pdu) { return QStringLiteral("AT+CMGS=") + QString::number(PDULength(pdu)) + kCR; }

// The per-number arrays as the chain works on them. They are written back
// in the form the client gave them (a list of variants stays one), and an
// array shorter than "Addresses" is filled up, so that no outcome is lost.
class Outcomes {
public:
    explicit Outcomes(PhoneCommand& command) : command_(command)
    {
        const qsizetype count = VariantTextArray(command.Bag(bag::Addresses)).size();
        const QVariant r = command.Bag(bag::Result);
        resultAsList_ = r.typeId() == QMetaType::QVariantList;
        if (!VariantIsEmpty(r))
            result_ = VariantLongArray(r);
        const QVariant d = command.Bag(bag::ResultDesc);
        descAsList_ = d.typeId() == QMetaType::QVariantList;
        if (!VariantIsEmpty(d))
            desc_ = VariantTextArray(d);
        while (result_.size() < count)
            result_.append(dorrak::NOT_EXECUTED);
        while (desc_.size() < count)
            desc_.append(QString());
    }

    qint32& result(qsizetype i) { return result_[checked(i, result_.size())]; }
    QString& desc(qsizetype i) { return desc_[checked(i, desc_.size())]; }

    void writeBack()
    {
        if (resultAsList_) {
            QVariantList list;
            for (qint32 v : result_)
                list << v;
            command_.setBag(bag::Result, list);
        } else {
            command_.setBag(bag::Result, QVariant::fromValue(result_));
        }
        if (descAsList_) {
            QVariantList list;
            for (const QString& s : desc_)
                list << s;
            command_.setBag(bag::ResultDesc, list);
        } else {
            command_.setBag(bag::ResultDesc, desc_);
        }
    }

private:
    static qsizetype checked(qsizetype i, qsizetype size)
    {
        if (i < 0 || i >= size)
            platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
        return i;
    }

    PhoneCommand& command_;
    QVector<qint32> result_;
    QStringList desc_;
    bool resultAsList_ = false;
    bool descAsList_ = false;
};

qint32 Item(const PhoneCommand& command, const QString& key) { return VariantLong(command.Bag(key)); }

// The next number: its own encoding (a long message draws a new reference)
// and a new prompt step for its first part.
StepPtr NextAddress(PhoneCommand& command)
{
    const qint32 next = Item(command, kCurrentAddress) + 1;
    command.setBag(kCurrentAddress, QVariant::fromValue<qint16>(static_cast<qint16>(next)));
    command.setBag(kCurrentPDU, QVariant::fromValue<qint16>(0));
    const std::shared_ptr<SMS> sms = command.BagObject<SMS>(kSMSObject);
    const QStringList addresses = VariantTextArray(command.Bag(bag::Addresses));
    if (!sms || next < 0 || next >= addresses.size())
        platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
    sms->Address(addresses[next]);
    command.setBagObject(kSMSObject, sms);
    const QStringList pdus = sms->PDU();
    if (pdus.isEmpty())
        platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
    command.setBag(kPDUs, pdus);
    return std::make_shared<SendSMSOrder>(CMGSCommand(pdus[0]));
}

// ((MaxPDU + 1) x CurrentAddress + CurrentPDU + 0.3) x 100 / ((MaxAddress + 1)
// x (MaxPDU + 1)), rounded with halves to even. Worked in tenths as whole
// numbers: in floating point 2.3 x 100 / 4 falls just short of 57.5.
qint32 Progress(qint64 maxPDU, qint64 maxAddress, qint64 current, qint64 part)
{
    const qint64 numerator = (((maxPDU + 1) * current + part) * 10 + 3) * 100;
    const qint64 denominator = (maxAddress + 1) * (maxPDU + 1) * 10;
    if (denominator <= 0)
        return 0;
    return storechain::Progress(numerator, denominator);
}

void EndChain(PhoneCommand& command) { command.setBag(kSMSObject, QVariant()); }

}  // namespace

namespace {

StepPtr BuildFirstStep(PhoneCommand& command)
{
    const std::shared_ptr<SMS> sms = SubmitFromBag(command);

    const qint32 coding = VariantLong(command.Bag(bag::MessageCoding));
    const bool joined = VariantBoolean(command.Bag(bag::JoinParts));
    // The encoder leaves the text empty for a coding it does not know; an
    // empty message must not go out in place of the one asked for.
    if (coding != DEFAULT7BIT && coding != UCS2 && coding != WIN8BIT)
        platform::Raise(platform::vberr::InvalidProcedureCall, kSource, QStringLiteral("Unknown coding method"));
    const QString refused =
        sms->SetUserData(VariantText(command.Bag(bag::MessageBody)), static_cast<DATA_CODING>(coding), joined);
    if (!refused.isEmpty())
        platform::Raise(platform::vberr::InvalidProcedureCall, kSource, refused);

    const QStringList addresses = VariantTextArray(command.Bag(bag::Addresses));
    if (addresses.isEmpty())
        platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
    sms->Address(addresses[0]);

    const QStringList pdus = sms->PDU();
    if (pdus.isEmpty())
        platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
    command.setBagObject(kSMSObject, sms);
    command.setBag(kPDUs, pdus);
    command.setBag(kMaxPDU, static_cast<qint32>(sms->NumberOfParts() - 1));
    command.setBag(kCurrentAddress, QVariant::fromValue<qint16>(0));
    command.setBag(kMaxAddress, static_cast<qint32>(addresses.size() - 1));
    command.setBag(kCurrentPDU, QVariant::fromValue<qint16>(0));
    return std::make_shared<SendSMSOrder>(CMGSCommand(pdus[0]));
}

}  // namespace

StepPtr SendSMSSetUp(PhoneCommand& command, const SetUpArguments&)
{
    try {
        return BuildFirstStep(command);
    } catch (const platform::VbError& e) {
        // The refusal travels with the command as well as in SetUp's text.
        command.setBag(bag::ErrorAnswer, e.description());
        throw;
    }
}

// ---------------------------------------------------------------------------

QString SendSMSOrder::Answer() const { return QStringLiteral(">"); }

QString SendSMSOrder::ErrorAnswer() const { return QStringLiteral("ERROR;") + kCR; }

StepPtr SendSMSOrder::Advance(PhoneCommand& command)
{
    const qint32 maxPDU = Item(command, kMaxPDU);
    const qint32 maxAddress = Item(command, kMaxAddress);
    const qint32 current = Item(command, kCurrentAddress);
    const qint32 part = Item(command, kCurrentPDU);
    command.SetProgress(Progress(maxPDU, maxAddress, current, part));

    if (command.Result() == dorrak::OK_ANSWER) {
        const QStringList pdus = VariantTextArray(command.Bag(kPDUs));
        if (part < 0 || part >= pdus.size())
            platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
        return std::make_shared<SendSMSBody>(pdus[part] + kCtrlZ);
    }

    // The outcome is written before the next number is encoded, so that a
    // failure there cannot lose it.
    Outcomes outcomes(command);
    outcomes.result(current) = command.Result();
    outcomes.writeBack();
    if (command.Result() == dorrak::ERROR_ANSWER && current != maxAddress)
        return NextAddress(command);
    EndChain(command);
    return nullptr;
}

// ---------------------------------------------------------------------------

QString SendSMSBody::Answer() const { return QStringLiteral("+CMGS:;") + kCR; }

QString SendSMSBody::ErrorAnswer() const { return QStringLiteral("+CM;") + kCR; }

QString SendSMSBody::ErrorAlternative() const { return QStringLiteral("ERROR") + kCR; }

void SendSMSBody::setErrorAnswer(const QString& text)
{
    if (text.contains(QLatin1String("+CMS ERROR:")))
        error_ = PhoneErrorText(text, true);
    else if (text.contains(QLatin1String("+CME ERROR:")))
        error_ = PhoneErrorText(text, false);
    else
        error_ = TrimSet(text);
}

StepPtr SendSMSBody::Advance(PhoneCommand& command)
{
    const qint32 maxPDU = Item(command, kMaxPDU);
    const qint32 maxAddress = Item(command, kMaxAddress);
    const qint32 current = Item(command, kCurrentAddress);
    const qint32 part = Item(command, kCurrentPDU);

    Outcomes outcomes(command);
    bool nextNumber = false;
    bool nextPart = false;
    switch (command.Result()) {
    case dorrak::OK_ANSWER: {
        const qsizetype colon = answer_.indexOf(u':');
        const QString reference = TrimSet(colon < 0 ? QString() : answer_.mid(colon + 1), QStringLiteral(" "));
        QString& desc = outcomes.desc(current);
        desc = desc.isEmpty() ? reference : desc + QLatin1Char(' ') + reference;
        if (part < maxPDU) {
            nextPart = true;
        } else {
            outcomes.result(current) = dorrak::OK_ANSWER;
            nextNumber = current < maxAddress;
        }
        break;
    }
    case dorrak::ERROR_ANSWER:
        outcomes.result(current) = dorrak::ERROR_ANSWER;
        outcomes.desc(current) = error_;
        nextNumber = current < maxAddress;
        break;
    default:
        outcomes.result(current) = command.Result();
        break;
    }
    outcomes.writeBack();

    if (nextPart) {
        const qint32 following = part + 1;
        command.setBag(kCurrentPDU, QVariant::fromValue<qint16>(static_cast<qint16>(following)));
        const QStringList pdus = VariantTextArray(command.Bag(kPDUs));
        if (following >= pdus.size())
            platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
        return std::make_shared<SendSMSOrder>(CMGSCommand(pdus[following]));
    }
    if (nextNumber)
        return NextAddress(command);
    EndChain(command);
    return nullptr;
}

void registerSendSMSChains() { ChainRegistry::Register(QStringLiteral("SendSMS"), &SendSMSSetUp); }

}  // namespace corvane
