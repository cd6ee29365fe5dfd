#include "client/orders/SendSMS.h"
#include "hub/engine/BagKeys.h"

#include "client/core/LogTime.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "platform/VbError.h"

#include <QVector>

namespace parlova {

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kRule = QString(30, QLatin1Char('_'));
const QString kFailed = QStringLiteral("The Send SMS operation failed");

QStringList TextList(const QVariant& value)
{
    return value.isValid() ? corvane::VariantTextArray(value) : QStringList();
}

QVector<qint32> LongList(const QVariant& value)
{
    return value.isValid() ? corvane::VariantLongArray(value) : QVector<qint32>();
}

// The references as the phone gave them, one blank between them; the line
// ends that closed each answer are not part of a reference.
QString References(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text.simplified();
}

QString Cause(qint32 result, const QString& desc)
{
    switch (result) {
    case dorrak::ERROR_ANSWER:
        return desc;
    case dorrak::TIME_OUT:
        return QStringLiteral("Time out");
    case dorrak::NOT_EXECUTED:
        return QStringLiteral("Not executed");
    default:
        return QStringLiteral("Unexpected error");
    }
}

}  // namespace

QVariant SendSMS::SetUp(const QString& body, qint32 coding, const QStringList& addresses, qint32 msgClass,
                             const QVariant& validity, qint32 statusReport, const QString& scNumber,
                             const QString& owner)
{
    request_ = {scNumber, statusReport, msgClass, validity, body, coding, Settings::Instance().JoinParts()};
    addresses_ = addresses;
    command_ = std::make_shared<corvane::PhoneCommand>();
    FillBag(*command_);
    owner_ = owner;
    return QVariant();
}

void SendSMS::FillBag(corvane::PhoneCommand& command) const
{
    corvane::FillSubmitBag(command, request_);
    command.setBag(bag::Addresses, addresses_);
    command.setBag(bag::Result,
                   QVariant::fromValue(QVector<qint32>(addresses_.size(), dorrak::NOT_EXECUTED)));
    command.setBag(bag::ResultDesc, QStringList(QList<QString>(addresses_.size())));
}

QString SendSMS::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        if (!command_) {
            command_ = std::make_shared<corvane::PhoneCommand>();
            FillBag(*command_);
        }
        const QString refused = command_->SetUp(QStringLiteral("SendSMS"), QStringLiteral("OK\r"),
                                                QStringLiteral("ERROR\r"), key_, 5000, false, false,
                                                dorrak::mbtLightCommand);
        if (!refused.isEmpty()) {
            // The encoder would not build the message: nothing goes to the
            // phone, and the conversation stops counting it as being sent.
            command_.reset();
            waitingReply_ = false;
            finished_ = true;
            result_ = owner_ + QStringLiteral(". ") + kFailed + QStringLiteral(". ") + refused;
            ConferenceRegistry& conferences = ConferencesReg();
            if (conferences.TalkExist(owner_))
                conferences.Talk(owner_).Log(0, QString());
            return result_;
        }
        const corvane::PhoneCommandPtr command = command_;
        PhoneGateRef().Push(command);
        command_.reset();
        return QString();
    });
}

QString SendSMS::PutReport(const Reply& reply)
{
    const QString text = Guarded([&] {
        corvane::PhoneCommand& command = reply.PhoneCommand();
        const dorrak::MODEM_RESULT_CODEs result = command.Result();
        switch (result) {
        case dorrak::OK_ANSWER:
            break;
        case dorrak::ERROR_ANSWER:
            result_ = owner_ + QStringLiteral(". ") + kFailed;
            break;
        default:
            result_ = owner_ + QStringLiteral(". ") + kFailed + FailureReason(result);
            break;
        }
        if (result == dorrak::TIME_OUT)
            DisconnectPhone(-1);

        ConferenceRegistry& conferences = ConferencesReg();
        if (conferences.TalkExist(owner_)) {
            const QString entry = LogEntry(command);
            conferences.Talk(owner_).Log(0, entry);
        }
        finished_ = true;
        return QString();
    });
    finished_ = true;
    return text;
}

QString SendSMS::LogEntry(const corvane::PhoneCommand& command) const
{
    ConferenceRegistry& conferences = ConferencesReg();
    TalkWindow& talk = conferences.Talk(owner_);
    const QStringList addresses = TextList(command.Bag(bag::Addresses));
    const QVector<qint32> results = LongList(command.Bag(bag::Result));
    const QStringList descs = TextList(command.Bag(bag::ResultDesc));
    const auto resultOf = [&](qsizetype i) { return i < results.size() ? results[i] : qint32(dorrak::NOT_EXECUTED); };
    const auto descOf = [&](qsizetype i) { return i < descs.size() ? descs[i] : QString(); };

    QList<qsizetype> sent;
    for (qsizetype i = 0; i < addresses.size(); ++i)
        if (resultOf(i) == dorrak::OK_ANSWER)
            sent << i;
    const bool report = BagLong(command, bag::StatusReport) == 1 && !sent.isEmpty();
    // Every sent number's references, in address order: a report that
    // comes back for any of them names one the entry shows.
    QStringList sentReferences;
    for (qsizetype i : sent)
        sentReferences << References(descOf(i));
    const QString references = sentReferences.join(QLatin1Char(' '));
    const QString body = BagText(command, bag::MessageBody);
    const QString stamp = LogTime();

    if (Settings::Instance().SimplifiedLog()) {
        QString line;
        for (qsizetype i : sent) {
            const QString& number = addresses[i];
            line += (conferences.ConfereeExist(number) ? conferences.ConfereeName(number) : number) +
                    QStringLiteral(", ");
        }
        line += stamp;
        if (report)
            line += QStringLiteral(" #") + references;
        return line + QStringLiteral("<<<") + QStringLiteral(" ") + body;
    }

    QStringList lines;
    lines << QStringLiteral("TEXT:     ") + body;
    lines << QStringLiteral("AT:       ") + stamp;
    for (qsizetype i : sent)
        lines << QStringLiteral("TO:       ") + talk.GetConfName(addresses[i]);
    if (report)
        lines << QStringLiteral("MR:       ") + references;
    if (sent.size() < addresses.size()) {
        lines << QStringLiteral("FAIL TO SEND:");
        for (qsizetype i = 0; i < addresses.size(); ++i) {
            if (resultOf(i) == dorrak::OK_ANSWER)
                continue;
            lines << QStringLiteral("TO:       ") + talk.GetConfName(addresses[i]);
            lines << QStringLiteral("CAUSE:    ") + Cause(resultOf(i), descOf(i));
        }
    }
    lines << kRule;
    return lines.join(kCRLF);
}

}  // namespace parlova
