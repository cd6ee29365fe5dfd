#include "hub/engine/ScanChain.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/PhoneCommand.h"
#include "hub/engine/PubFunctions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvane {

namespace {

const QString kLines = QStringLiteral("\r;\r\nOK\r\n");
const QString kError = QStringLiteral("ERROR;\r");
const QString kMinPort = QStringLiteral("MinPort");

// The port being examined: "NextPort" already points past it.
QString PortKey(PhoneCommand& command, const char* prefix)
{
    return QString::fromLatin1(prefix) + QString::number(VariantLong(command.Bag(bag::NextPort)) - 1);
}

StepPtr NextPortOrEnd(PhoneCommand& command)
{
    if (VariantLong(command.Bag(bag::NextPort)) > VariantLong(command.Bag(bag::MaxPort)))
        return nullptr;
    return std::make_shared<ScanConnect>();
}

}  // namespace

StepPtr ScanSetUp(PhoneCommand& command, const SetUpArguments&)
{
    command.setBag(kMinPort, command.Bag(bag::NextPort));
    return std::make_shared<ScanConnect>();
}

ScanConnect::ScanConnect() : FixedStep(kConnecting, QString(), QString(), 5000) {}

StepPtr ScanConnect::Advance(PhoneCommand& command)
{
    // An order that fills the Bag after SetUp leaves "MinPort" empty; the
    // port tried first is then the first of the range.
    if (VariantIsEmpty(command.Bag(kMinPort)))
        command.setBag(kMinPort, VariantLong(command.Bag(bag::NextPort)));

    const qint32 next = VariantLong(command.Bag(bag::NextPort));
    const qint32 min = VariantLong(command.Bag(kMinPort));
    const qint32 max = VariantLong(command.Bag(bag::MaxPort));
    const double span = static_cast<double>(max) - min + 1;
    // A range whose last port lies below its first ends after that port.
    const double progress = span > 0 ? std::nearbyint((static_cast<double>(next) - min + 1) * 100.0 / span) : 100;
    command.SetProgress(static_cast<qint32>(std::clamp(progress, 0.0, 100.0)));

    // Past the largest 32-bit number the port goes on as a double, as the
    // runtime's variants do, rather than wrapping round to the first ports.
    const qint64 newNext = static_cast<qint64>(next) + 1;
    if (newNext <= std::numeric_limits<qint32>::max())
        command.setBag(bag::NextPort, static_cast<qint32>(newNext));
    else
        command.setBag(bag::NextPort, static_cast<double>(newNext));
    command.setBag(bag::PortName, QStringLiteral("COM") + QString::number(newNext));

    if (command.Result() == dorrak::OK_ANSWER)
        return std::make_shared<ScanStart>();
    if (newNext > max)
        return nullptr;
    return self();
}

ScanStart::ScanStart() : FixedStep(QStringLiteral("AT\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), 1000) {}

StepPtr ScanStart::Advance(PhoneCommand& command)
{
    ++attempts_;
    if (answered_) {
        command.setBag(PortKey(command, "PhATs"), true);
        return std::make_shared<ScanGetMaker>();
    }
    if (attempts_ < 2)
        return self();
    return NextPortOrEnd(command);
}

ScanGetMaker::ScanGetMaker() : FixedStep(QStringLiteral("AT+CGMI\r"), kLines, kError, 3000) {}

StepPtr ScanGetMaker::Advance(PhoneCommand& command)
{
    if (!answered_)
        return std::make_shared<ScanIdent>();
    command.setBag(PortKey(command, "PhMakers"), ParseModelName(text_));
    return std::make_shared<ScanGetName>();
}

ScanGetName::ScanGetName() : FixedStep(QStringLiteral("AT+GMM\r"), kLines, kError, 3000) {}

void ScanGetName::setAnswer(const QString& text) { name_ = ParseModelName(text); }

void ScanGetName::setErrorAnswer(const QString&) { name_ = QStringLiteral("name is unavailable"); }

StepPtr ScanGetName::Advance(PhoneCommand& command)
{
    command.setBag(PortKey(command, "PhNames"), name_);
    return NextPortOrEnd(command);
}

ScanIdent::ScanIdent() : FixedStep(QStringLiteral("ATI\r"), kLines, kError, 3000) {}

void ScanIdent::setAnswer(const QString& text) { text_ = TrimSet(text.left(std::max<qsizetype>(0, text.size() - 6))); }

StepPtr ScanIdent::Advance(PhoneCommand& command)
{
    if (!text_.isEmpty())
        command.setBag(PortKey(command, "PhNames"), text_);
    return NextPortOrEnd(command);
}

}  // namespace corvane
