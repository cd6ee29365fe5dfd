#include "client/orders/QueryPhone.h"
#include "hub/engine/BagKeys.h"

#include "client/core/WindowSeams.h"

namespace parlova {

namespace {
const QString kCRLF = QStringLiteral("\r\n");
}

QVariant QueryPhone::SetUp(const QString& query, const QString& owner)
{
    query_ = query;
    owner_ = owner;
    return QVariant();
}

QString QueryPhone::GetCommand()
{
    return Guarded([&] {
        auto command = std::make_shared<corvane::PhoneCommand>();
        // The error answer runs from "ERROR" to the end of its line, so that
        // the numbered "+CME ERROR: n" and "+CMS ERROR: n" end the wait as
        // a plain "ERROR" does, instead of the time-out.
        command->SetUp(query_ + QStringLiteral("\r"), QStringLiteral(";OK\r"), QStringLiteral("ERROR;\r"), key_,
                       10000, false, false, dorrak::mbtQueryPhone);
        PhoneGateRef().Push(command);
        waitingReply_ = true;
        progress_ = 40;
        return QString();
    });
}

QString QueryPhone::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        QString text = QStringLiteral("QUERY: ") + query_ + kCRLF;
        switch (command.Result()) {
        case dorrak::OK_ANSWER:
            text += QStringLiteral("ANSWER: ") + BagText(command, bag::Answer) + kCRLF;
            break;
        case dorrak::ERROR_ANSWER:
            text += QStringLiteral("ANSWER: ") + BagText(command, bag::ErrorAnswer) + kCRLF;
            break;
        case dorrak::TIME_OUT:
            text += QStringLiteral("ANSWER: Time out") + kCRLF;
            break;
        case dorrak::NOT_EXECUTED:
            text += QStringLiteral("ANSWER: Not executed") + kCRLF;
            break;
        case dorrak::TRANSACTION_FAIL:
            text += QStringLiteral("ANSWER: Transaction failed") + kCRLF;
            break;
        default:
            text += QStringLiteral("ANSWER: Unexpected result") + kCRLF;
            break;
        }
        ConferenceRegistry& conferences = ConferencesReg();
        if (conferences.TalkExist(owner_))
            conferences.Talk(owner_).Log(3, text + kCRLF + QString(30, QLatin1Char('_')));
        finished_ = true;
        progress_ = 100;
        return QString();
    });
}

}  // namespace parlova
