#include "hub/engine/ConnectChain.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/ConnectErrSteps.h"
#include "hub/engine/PhoneCommand.h"
#include "hub/engine/PubFunctions.h"
#include "platform/Val.h"

#include <QStringList>

#include <cmath>

namespace corvane {

namespace {

const QString kOK = QStringLiteral("OK\r");
const QString kError = QStringLiteral("ERROR;\r");
// An identification reply: from the first CR through the final "OK".
const QString kLines = QStringLiteral("\r;\r\nOK\r\n");
const QString kQuote = QStringLiteral("\"");

// A trimmed field as a 32-bit number; a field that is no number gives 0.
qint32 FieldNumber(const QString& field)
{
    const QString t = TrimSet(field);
    if (t.isEmpty() || !(t[0].isDigit() || t[0] == u'-' || t[0] == u'+'))
        return 0;
    const double v = std::nearbyint(platform::Val(t));
    if (v < -2147483648.0 || v > 2147483647.0)
        return 0;
    return static_cast<qint32>(v);
}

}  // namespace

StepPtr ConnectSetUp(PhoneCommand& command, const SetUpArguments&)
{
    command.setBag(bag::AT, false);
    command.setBag(bag::NMI, false);
    command.setBag(bag::NSMI, false);
    command.setBag(bag::PDU, false);
    command.setBag(bag::ShiftME, QVariant::fromValue<qint16>(0));
    command.setBag(bag::UCS2, true);
    command.setBag(bag::MEEcode, QVariant::fromValue<qint16>(-1));
    return std::make_shared<ConnectConnect>();
}

QString BuildNMISetting(const QString& answer, bool& statusReports)
{
    statusReports = false;
    QString text = answer;
    text.replace(QStringLiteral("),"), QStringLiteral(");"));
    text.remove(u'(');
    text.remove(u')');
    const QStringList lists = text.split(u';');
    if (lists.size() < 4)
        return QString();

    QString parameters = QStringLiteral("#1,#2,,#4,");
    const QString modes = ExpandRanges(lists[0]);
    if (modes.contains(u'2'))
        parameters.replace(QStringLiteral("#1"), QStringLiteral("2"));
    else if (modes.contains(u'1'))
        parameters.replace(QStringLiteral("#1"), QStringLiteral("1"));
    else if (modes.contains(u'3'))
        parameters.replace(QStringLiteral("#1"), QStringLiteral("3"));
    else
        return QString();

    if (!ExpandRanges(lists[1]).contains(u'1'))
        return QString();
    parameters.replace(QStringLiteral("#2"), QStringLiteral("1"));

    bool reports = false;
    if (ExpandRanges(lists[3]).contains(u'2')) {
        parameters.replace(QStringLiteral("#4"), QStringLiteral("2"));
        reports = true;
    } else {
        parameters.replace(QStringLiteral("#4"), QString());
    }
    statusReports = reports;
    return parameters;
}

QString IMEIDigits(const QString& answer)
{
    QString digits;
    for (QChar c : answer) {
        if (digits.size() >= 15)
            break;
        if (c >= u'0' && c <= u'9')
            digits.append(c);
    }
    return digits;
}

QStringList CPMSFields(const QString& answer)
{
    const qsizetype colon = answer.indexOf(u':');
    if (colon < 0)
        return {};
    const qsizetype start = colon + 1;
    const qsizetype ok = answer.indexOf(QStringLiteral("OK\r"), start, Qt::CaseInsensitive);
    const QString text = ok < 0 ? answer.mid(start) : answer.mid(start, ok - start);
    return text.split(u',');
}

// ---------------------------------------------------------------------------

ConnectConnect::ConnectConnect() : FixedStep(kConnecting, QString(), QString(), 5000) {}

StepPtr ConnectConnect::Advance(PhoneCommand& command)
{
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    command.SetProgress(10);
    return std::make_shared<ConnectStart>();
}

ConnectStart::ConnectStart() : FixedStep(QStringLiteral("AT\r"), kOK, QStringLiteral("ERROR\r"), 5000) {}

StepPtr ConnectStart::Advance(PhoneCommand& command)
{
    ++attempts_;
    if (answered_) {
        command.setBag(bag::AT, true);
        command.SetProgress(20);
        return std::make_shared<ConnectEcho>();
    }
    if (attempts_ >= 3)
        return nullptr;
    return self();
}

ConnectEcho::ConnectEcho() : FixedStep(QStringLiteral("ATE0\r"), kOK, kError, 5000) {}

StepPtr ConnectEcho::Advance(PhoneCommand& command)
{
    command.SetProgress(15);
    return std::make_shared<ConnectPhoneName>();
}

ConnectPhoneName::ConnectPhoneName() : FixedStep(QStringLiteral("AT+GMM\r"), kLines, kError, 5000) {}

void ConnectPhoneName::setAnswer(const QString& text) { name_ = ParseModelName(text); }

StepPtr ConnectPhoneName::Advance(PhoneCommand& command)
{
    if (!name_.isEmpty())
        command.setBag(bag::PhoneName, name_);
    command.SetProgress(30);
    return std::make_shared<ConnectIMEI>();
}

ConnectIMEI::ConnectIMEI() : FixedStep(QStringLiteral("AT+CGSN\r"), kLines, kError, 5000) {}

void ConnectIMEI::setAnswer(const QString& text) { digits_ = IMEIDigits(text); }

StepPtr ConnectIMEI::Advance(PhoneCommand& command)
{
    if (!digits_.isEmpty())
        command.setBag(bag::IMEI, digits_);
    command.SetProgress(40);
    return std::make_shared<ConnectNMItest>();
}

ConnectNMItest::ConnectNMItest() : FixedStep(QStringLiteral("AT+CNMI=?\r"), QStringLiteral("+CNMI;OK\r"), kError, 5000)
{
}

void ConnectNMItest::setAnswer(const QString& text)
{
    bool reports = false;
    parameters_ = BuildNMISetting(text, reports);
    statusReports_ = reports;
}

StepPtr ConnectNMItest::Advance(PhoneCommand& command)
{
    StepPtr next;
    if (!parameters_.isEmpty()) {
        command.setBag(QStringLiteral("NMIcommand"), parameters_);
        next = std::make_shared<ConnectNMIset>();
        next->setCommand(QStringLiteral("AT+CNMI=") + parameters_ + kCR);
        command.SetProgress(50);
    } else {
        next = std::make_shared<ConnectPDU>();
        command.SetProgress(70);
    }
    command.setBag(QStringLiteral("NSMIset"), statusReports_);
    return next;
}

ConnectNMIset::ConnectNMIset() : FixedStep(QString(), kOK, kError, 5000) {}

StepPtr ConnectNMIset::Advance(PhoneCommand& command)
{
    if (accepted_) {
        command.setBag(bag::NMI, true);
        if (VariantBoolean(command.Bag(QStringLiteral("NSMIset"))))
            command.setBag(bag::NSMI, true);
    }
    command.SetProgress(60);
    return std::make_shared<ConnectPMS3>();
}

ConnectPMS3::ConnectPMS3() : FixedStep(QStringLiteral("AT+CPMS?\r"), QStringLiteral("+CPMS;OK\r"), kError, 5000) {}

void ConnectPMS3::setAnswer(const QString& text)
{
    const QStringList fields = CPMSFields(text);
    if (fields.size() != 9)
        return;
    if (TrimSet(fields[6]) != kQuote + QStringLiteral("MT") + kQuote)
        return;
    found_ = true;
    total_ = FieldNumber(fields[8]);
}

StepPtr ConnectPMS3::Advance(PhoneCommand& command)
{
    if (found_) {
        command.setBag(QStringLiteral("TotalMT"), total_);
        command.SetProgress(65);
        return std::make_shared<ConnectShiftME>();
    }
    command.SetProgress(70);
    return std::make_shared<ConnectPDU>();
}

ConnectShiftME::ConnectShiftME()
    : FixedStep(QStringLiteral("AT+CPMS=\"SM\",\"ME\"\r"), QStringLiteral("+CPMS;OK\r"), kError, 5000)
{
}

void ConnectShiftME::setAnswer(const QString& text)
{
    const QStringList fields = CPMSFields(text);
    if (fields.size() == 9) {
        totalSM_ = FieldNumber(fields[2]);
        totalME_ = FieldNumber(fields[5]);
    } else if (fields.size() == 6) {
        totalSM_ = FieldNumber(fields[1]);
        totalME_ = FieldNumber(fields[3]);
    }
}

StepPtr ConnectShiftME::Advance(PhoneCommand& command)
{
    const double totalMT = VariantDouble(command.Bag(QStringLiteral("TotalMT")));
    if (totalMT == static_cast<double>(totalSM_) + static_cast<double>(totalME_))
        command.setBag(bag::ShiftME, totalSM_);
    command.SetProgress(70);
    return std::make_shared<ConnectPDU>();
}

ConnectPDU::ConnectPDU() : FixedStep(QStringLiteral("AT+CMGF=0\r"), kOK, kError, 5000) {}

StepPtr ConnectPDU::Advance(PhoneCommand& command)
{
    command.setBag(bag::PDU, accepted_);
    command.SetProgress(80);
    return std::make_shared<ConnectUCS2>();
}

ConnectUCS2::ConnectUCS2() : FixedStep(QStringLiteral("AT+CSCS=\"UCS2\"\r"), kOK, kError, 5000) {}

StepPtr ConnectUCS2::Advance(PhoneCommand& command)
{
    // Written either way: a phone that refused UCS2 must not be taken for one
    // that has it.
    command.setBag(bag::UCS2, accepted_);
    command.SetProgress(90);
    return std::make_shared<ConnectMMS>();
}

ConnectMMS::ConnectMMS() : FixedStep(QStringLiteral("AT+CMMS=2\r"), kOK, kError, 5000) {}

StepPtr ConnectMMS::Advance(PhoneCommand&) { return std::make_shared<ConnectErrTest>(); }

}  // namespace corvane
