#include "hub/messages/ReadSMSChain.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/ArrivalLine.h"
#include "hub/engine/Bag.h"
#include "hub/engine/HubRuntime.h"
#include "hub/engine/PubFunctions.h"
#include "hub/messages/SMS.h"
#include "platform/VbError.h"

#include <QStringList>

#include <cmath>

namespace corvane {

namespace {

const QString kError = QStringLiteral("ERROR;\r");
const QString kMemoryType = QStringLiteral("MemoryType");
const QString kMemoryIndex = QStringLiteral("MemoryIndex");

// "MemoryIndex" as the phone wants it: a plain decimal number.
QString IndexText(const PhoneCommand& command)
{
    const double v = VariantDouble(command.Bag(kMemoryIndex));
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 15);
}

void Log(const QString& text) { HubLog().WriteLogLine(text); }

// The PDU line of a "+CMGR:" answer: from two characters past its first CR
// up to the next CR.
QString PduLine(const QString& answer)
{
    const qsizetype cr = answer.indexOf(u'\r');
    if (cr < 0)
        return QString();
    const qsizetype start = cr + 2;
    const qsizetype end = answer.indexOf(u'\r', start);
    return end < 0 ? answer.mid(start) : answer.mid(start, end - start);
}

void Deliver(PhoneCommand& command, const SMS& sms)
{
    command.setBag(bag::Message, sms.UserData());
    command.setBag(bag::Address, sms.Address());
    if (sms.MTI == STATUS_REPORT) {
        command.setBag(bag::StatusReport, true);
        command.setBag(bag::MR, static_cast<qint32>(sms.mr()));
        // An unreadable discharge time stays empty rather than a null date.
        if (sms.DischargeTime().isValid())
            command.setBag(bag::DischargeTime, sms.DischargeTime());
    }
}

}  // namespace

QString KeptPartKey(const QString& address, int reference, int count)
{
    return QString::number(reference) + QLatin1Char('/') + QString::number(count) + QLatin1Char(':') +
           QString::fromLatin1(address.toUtf8().toHex());
}

StepPtr ReadSMSSetUp(PhoneCommand& command, const SetUpArguments& arguments)
{
    const ArrivalLocation location = PrepareReadSMS(command, arguments.Answer);
    if (!location.valid) {
        QString line = arguments.Answer;
        line.remove(u'\r');
        Log(QStringLiteral("ReadSMS: arrival line ignored: ") + line);
        return nullptr;
    }
    if (location.storageNamed)
        return std::make_shared<ReadSMSMemory>(QStringLiteral("AT+CPMS=") + location.memoryType + kCR);
    return std::make_shared<ReadSMSLocate>();
}

// ---------------------------------------------------------------------------

QString ReadSMSLocate::Command() const { return QStringLiteral("AT+CPMS?") + kCR; }

QString ReadSMSLocate::Answer() const { return QStringLiteral("+CPMS:;") + kCR; }

QString ReadSMSLocate::ErrorAnswer() const { return kError; }

StepPtr ReadSMSLocate::Advance(PhoneCommand& command)
{
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    const qsizetype colon = answer_.indexOf(u':');
    const QStringList fields = (colon < 0 ? QString() : answer_.mid(colon + 1)).split(u',');
    if (fields.size() != 9)
        return nullptr;
    const QString memory = TrimSet(fields[6], QStringLiteral(" "));
    command.setBag(kMemoryType, memory);
    return std::make_shared<ReadSMSMemory>(QStringLiteral("AT+CPMS=") + memory + kCR);
}

// ---------------------------------------------------------------------------

QString ReadSMSMemory::Answer() const { return QStringLiteral("+CPMS:;OK"); }

QString ReadSMSMemory::ErrorAnswer() const { return kError; }

StepPtr ReadSMSMemory::Advance(PhoneCommand& command)
{
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    return std::make_shared<ReadSMSMsg>(QStringLiteral("AT+CMGR=") + IndexText(command) + kCR);
}

// ---------------------------------------------------------------------------

QString ReadSMSMsg::Answer() const { return QStringLiteral("+CMGR:;OK"); }

QString ReadSMSMsg::ErrorAnswer() const { return kError; }

StepPtr ReadSMSMsg::Advance(PhoneCommand& command)
{
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    const QString index = IndexText(command);
    const QString where = VariantText(command.Bag(kMemoryType)) + QLatin1Char(' ') + index;
    const QString pdu = PduLine(answer_);

    // What cannot be decoded (an empty slot, a line that is no PDU, one cut
    // before its text) stays on the phone, where the store still lists it.
    auto sms = std::make_shared<SMS>();
    try {
        sms->PDU(pdu);
    } catch (const std::exception& e) {
        Log(QStringLiteral("ReadSMS: message ") + where + QStringLiteral(" not read: ") + platform::ErrorText(e));
        return nullptr;
    }
    // A message of our own (a late reply to a store command taken for an
    // arrival) is neither news for the user nor ours to delete.
    if (sms->MTI == SUBMIT) {
        Log(QStringLiteral("ReadSMS: message ") + where + QStringLiteral(" is an outgoing message, left on the phone"));
        return nullptr;
    }

    if (sms->AllReceived()) {
        Deliver(command, *sms);
    } else {
        SMSCollectionPtr kept = command.ConcatenatedSMS();
        if (!kept) {
            kept = std::make_shared<SMSCollection>();
            command.setConcatenatedSMS(kept);
        }
        bool matched = false;
        for (qsizetype i = 1; i <= kept->Count(); ++i) {
            const std::shared_ptr<SMS> part = kept->Item(i);
            if (!part || part->Address() != sms->Address() || part->CMR() != sms->CMR() ||
                part->NumberOfParts() != sms->NumberOfParts())
                continue;
            matched = true;
            try {
                part->PDU(pdu);
            } catch (const std::exception& e) {
                Log(QStringLiteral("ReadSMS: message ") + where + QStringLiteral(" not joined: ") +
                    platform::ErrorText(e));
                return nullptr;
            }
            if (part->AllReceived()) {
                Deliver(command, *part);
                kept->Remove(i);
            }
            break;
        }
        if (!matched) {
            const QString key = KeptPartKey(sms->Address(), sms->CMR(), sms->NumberOfParts());
            kept->Add(sms, kept->Exists(key) ? QString() : key);
        }
    }
    return std::make_shared<ReadSMSDelete>(QStringLiteral("AT+CMGD=") + index + kCR);
}

// ---------------------------------------------------------------------------

QString ReadSMSDelete::Answer() const { return QStringLiteral("OK") + kCR; }

QString ReadSMSDelete::ErrorAnswer() const { return kError; }

StepPtr ReadSMSDelete::Advance(PhoneCommand&) { return nullptr; }

void registerReadSMSChains() { ChainRegistry::Register(QStringLiteral("ReadSMS"), &ReadSMSSetUp); }

}  // namespace corvane
