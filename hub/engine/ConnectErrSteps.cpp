#include "hub/engine/ConnectErrSteps.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/PhoneCommand.h"
#include "hub/engine/PubFunctions.h"
#include "platform/Val.h"

namespace corvane {

namespace {
const QString kError = QStringLiteral("ERROR;\r");
}

qint32 ChooseCmeeMode(const QString& answer)
{
    const qsizetype open = answer.indexOf(u'(');
    if (open < 0)
        return 0;
    const qsizetype close = answer.indexOf(u')', open + 1);
    if (close < 0)
        return 0;
    const QString list = ExpandRanges(answer.mid(open + 1, close - open - 1));
    if (list.contains(u'2'))
        return 2;
    if (list.contains(u'1'))
        return 1;
    return 0;
}

ConnectErrTest::ConnectErrTest() : FixedStep(QStringLiteral("AT+CMEE=?\r"), QStringLiteral("+CMEE;OK\r"), kError, 5000)
{
}

StepPtr ConnectErrTest::Advance(PhoneCommand& command)
{
    command.SetProgress(95);
    if (mode_ < 0)
        return std::make_shared<ConnectErrQuery>();
    command.setBag(bag::MEEcode, mode_);
    auto next = std::make_shared<ConnectErrSet>();
    next->setCommand(QStringLiteral("AT+CMEE=") + QString::number(mode_) + kCR);
    return next;
}

ConnectErrSet::ConnectErrSet() : FixedStep(QString(), QStringLiteral("OK\r"), kError, 3000) {}

StepPtr ConnectErrSet::Advance(PhoneCommand& command)
{
    if (command.Result() == dorrak::OK_ANSWER)
        return nullptr;
    return std::make_shared<ConnectErrQuery>();
}

ConnectErrQuery::ConnectErrQuery() : FixedStep(QStringLiteral("AT+CMEE?\r"), QStringLiteral("+CMEE:;\r"), kError, 3000)
{
}

StepPtr ConnectErrQuery::Advance(PhoneCommand& command)
{
    if (command.Result() == dorrak::OK_ANSWER) {
        const qsizetype colon = answer_.indexOf(u':');
        const QString after = colon < 0 ? QString() : answer_.mid(colon + 1);
        command.setBag(bag::MEEcode, platform::Val(after));
    } else {
        command.setBag(bag::MEEcode, QVariant::fromValue<qint16>(-1));
    }
    return nullptr;
}

}  // namespace corvane
