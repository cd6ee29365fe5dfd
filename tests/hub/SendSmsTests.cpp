// The send chain end to end: a "SendSMS" command through the real gate and
// port to the simulated phone, whose record of received PDUs is decoded
// with our own decoder.
#include "hub/GateRig.h"
#include "hub/engine/PubFunctions.h"
#include "hub/messages/MessageChains.h"
#include "hub/messages/SMS.h"
#include "hub/messages/SMSClassSequencer.h"
#include "tools/phonesim/MessageMemory.h"

#include <gtest/gtest.h>

namespace {

using corvane::PhoneCommand;
using corvane::PhoneCommandPtr;
using gatetest::GateRig;
using phonesim::PduOutcome;
using phonesim::ScriptedReply;

struct Request {
    QString body = QStringLiteral("Hello");
    QStringList numbers = {QStringLiteral("+4479000001")};
    int coding = corvane::DEFAULT7BIT;
    bool joined = true;
    int msgClass = corvane::UNSPECIFIED;
    QVariant validity = 170;
    int statusReport = 0;
    QString scNumber;
};

// The client's side of the protocol: the items the order writes.
PhoneCommandPtr SendCommand(const Request& r, QString* setUpText = nullptr)
{
    auto c = std::make_shared<PhoneCommand>();
    c->setBag(QStringLiteral("SCNumber"), r.scNumber);
    c->setBag(QStringLiteral("StatusReport"), r.statusReport);
    c->setBag(QStringLiteral("MessageClass"), r.msgClass);
    c->setBag(QStringLiteral("ValidityPeriod"), r.validity);
    c->setBag(QStringLiteral("MessageBody"), r.body);
    c->setBag(QStringLiteral("MessageCoding"), r.coding);
    c->setBag(QStringLiteral("JoinParts"), r.joined);
    c->setBag(QStringLiteral("Addresses"), r.numbers);
    c->setBag(QStringLiteral("Result"), QVariant::fromValue(QVector<qint32>(r.numbers.size(), dorrak::NOT_EXECUTED)));
    c->setBag(QStringLiteral("ResultDesc"), QStringList(QList<QString>(r.numbers.size())));
    const QString text = c->SetUp(QStringLiteral("SendSMS"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -1,
                                  5000, false, false, dorrak::mbtLightCommand);
    if (setUpText)
        *setUpText = text;
    return c;
}

QVector<qint32> Results(const PhoneCommand& c) { return corvane::VariantLongArray(c.Bag(QStringLiteral("Result"))); }
QStringList Descs(const PhoneCommand& c) { return c.Bag(QStringLiteral("ResultDesc")).toStringList(); }

QStringList CmgsLines(const QStringList& commands)
{
    QStringList out;
    for (const QString& line : commands)
        if (line.startsWith(QLatin1String("AT+CMGS")))
            out << line;
    return out;
}

// The PDUs as one message: the first decoded, the rest joined to it.
std::shared_ptr<corvane::SMS> Decode(const QStringList& pdus)
{
    auto sms = std::make_shared<corvane::SMS>();
    for (const QString& p : pdus)
        sms->PDU(p);
    return sms;
}

class SendSms : public ::testing::Test {
protected:
    void SetUp() override
    {
        corvane::RegisterMessageChains();
        ASSERT_TRUE(rig.connect());
        rig.pulled.clear();
        rig.sim().clearReceived();
    }

    phonesim::MessageMemory& memory() { return rig.sim().state().get<phonesim::MessageMemory>(); }

    PhoneCommandPtr run(const Request& r, qint64 maxMs = 120000)
    {
        PhoneCommandPtr c = SendCommand(r);
        rig.gate.Push(c);
        EXPECT_TRUE(rig.runUntilPulled(c, maxMs));
        return c;
    }

    GateRig rig;
};

TEST_F(SendSms, LongTextToTwoNumbersGoesPartByPartNumberByNumber)
{
    Request r;
    r.body = QStringLiteral("The quick brown fox jumps over the lazy dog. ").repeated(4) + QStringLiteral("End");
    ASSERT_GT(r.body.size(), 160);
    r.numbers = {QStringLiteral("+4479000001"), QStringLiteral("07700900123")};
    memory().nextMR = 40;
    const int reference = (corvane::SMSClassSequencer::LastNumber() + 1) % 256;

    QList<qint32> progress;
    rig.observer = [&] {
        const qint32 p = rig.gate.Progress();
        if (p != 0 && (progress.isEmpty() || progress.last() != p))
            progress << p;
    };
    const PhoneCommandPtr c = run(r);

    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(Results(*c), (QVector<qint32>{0, 0}));
    // Each reference keeps the CR that ended the phone's line.
    EXPECT_EQ(Descs(*c), (QStringList{QStringLiteral("40\r 41\r"), QStringLiteral("42\r 43\r")}));
    // ((parts x number + part + 0.3) x 100 / 4), halves to even.
    EXPECT_EQ(progress, (QList<qint32>{8, 32, 58, 82}));
    EXPECT_FALSE(c->Bag(QStringLiteral("SMSObject")).isValid());

    const QStringList pdus = memory().sentPdus();
    ASSERT_EQ(pdus.size(), 4);
    QStringList expected;
    for (const QString& p : pdus)
        expected << QStringLiteral("AT+CMGS=%1").arg(corvane::PDULength(p));
    EXPECT_EQ(CmgsLines(rig.sim().commands()), expected);

    // A concatenated message draws a new reference for each number.
    for (int n = 0; n < 2; ++n) {
        const auto sms = Decode({pdus[2 * n], pdus[2 * n + 1]});
        EXPECT_TRUE(sms->AllReceived());
        EXPECT_EQ(sms->UserData(), r.body);
        EXPECT_EQ(sms->Address(), r.numbers[n]);
        EXPECT_EQ(sms->CMR(), (reference + n) % 256);
    }
}

struct Asked {
    const char* name;
    Request request;
    bool barePrompt;
};

class SendSmsAsked : public SendSms, public ::testing::WithParamInterface<Asked> {};

TEST_P(SendSmsAsked, PhoneReceivesWhatWasAsked)
{
    const Request& r = GetParam().request;
    memory().barePrompt = GetParam().barePrompt;
    const PhoneCommandPtr c = run(r);
    EXPECT_EQ(Results(*c), QVector<qint32>{0});

    const QStringList pdus = memory().sentPdus();
    ASSERT_EQ(pdus.size(), 1);
    const auto sms = Decode(pdus);
    EXPECT_EQ(sms->MTI, corvane::SUBMIT);
    EXPECT_EQ(sms->UserData(), r.body);
    EXPECT_EQ(sms->Address(), r.numbers[0]);
    EXPECT_EQ(sms->Coding(), r.coding);
    EXPECT_EQ(sms->MsgClass, r.msgClass);
    EXPECT_EQ(sms->SRIR, r.statusReport);
    EXPECT_EQ(sms->SCNumber, r.scNumber);
    if (!r.validity.isValid()) {
        EXPECT_EQ(sms->VPF(), corvane::NOTPRESENT);
    } else if (r.validity.typeId() == QMetaType::QDateTime) {
        EXPECT_EQ(sms->VPF(), corvane::ABSOLUTE);
        EXPECT_EQ(sms->VP().toDateTime().toString(Qt::ISODate), r.validity.toDateTime().toString(Qt::ISODate));
    } else {
        EXPECT_EQ(sms->VPF(), corvane::RELATIVE);
        EXPECT_EQ(sms->VP().toInt(), r.validity.toInt());
    }
}

Request Asking(QString body, QString number, int coding, int msgClass, QVariant validity, int report, QString sc)
{
    Request r;
    r.body = std::move(body);
    r.numbers = {std::move(number)};
    r.coding = coding;
    r.msgClass = msgClass;
    r.validity = std::move(validity);
    r.statusReport = report;
    r.scNumber = std::move(sc);
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendSmsAsked,
    ::testing::Values(
        Asked{"SevenBitFlashWithReport",
              Asking(QStringLiteral("Meet at 6? {ok}"), QStringLiteral("+4479000001"), corvane::DEFAULT7BIT,
                     corvane::IMMDISPLAY, 167, 1, QStringLiteral("+4479000002")),
              false},
        Asked{"Ucs2AbsoluteValidity",
              Asking(QStringLiteral("Привет, мир"), QStringLiteral("07700900123"), corvane::UCS2,
                     corvane::UNSPECIFIED, QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5), Qt::UTC), 0, QString()),
              false},
        Asked{"EightBitNoValidityBarePrompt",
              Asking(QStringLiteral("café à 8 h"), QStringLiteral("5551234"), corvane::WIN8BIT, corvane::CLASS1ME,
                     QVariant(), 1, QStringLiteral("4479000002")),
              true}),
    [](const ::testing::TestParamInfo<Asked>& info) { return std::string(info.param.name); });

TEST_F(SendSms, RejectedPduGivesItsCauseAndTheNextNumberStillGoes)
{
    rig.sim().state().cmee = 1;
    memory().pduOutcomes = {PduOutcome::Cms(500)};
    memory().nextMR = 7;
    Request r;
    r.body = QStringLiteral("x").repeated(170);
    r.numbers = {QStringLiteral("+4479000001"), QStringLiteral("+4479000003")};
    const int reference = (corvane::SMSClassSequencer::LastNumber() + 1) % 256;
    const PhoneCommandPtr c = run(r);

    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(Results(*c), (QVector<qint32>{3, 0}));
    EXPECT_EQ(Descs(*c), (QStringList{corvane::PhoneErrorText(QStringLiteral("+CMS ERROR: 500\r"), true),
                                       QStringLiteral("7\r 8\r")}));
    EXPECT_FALSE(Descs(*c)[0].isEmpty());
    // The rest of the rejected number is not sent; the next starts afresh.
    const QStringList pdus = memory().sentPdus();
    ASSERT_EQ(pdus.size(), 3);
    EXPECT_EQ(CmgsLines(rig.sim().commands()).size(), 3);
    const auto second = Decode({pdus[1], pdus[2]});
    EXPECT_TRUE(second->AllReceived());
    EXPECT_EQ(second->Address(), r.numbers[1]);
    EXPECT_EQ(second->CMR(), (reference + 1) % 256);
}

TEST_F(SendSms, BareErrorAfterThePduEndsTheWaitAtOnce)
{
    // Error mode 0: the phone answers a rejected PDU with "ERROR" alone.
    rig.sim().state().cmee = 0;
    memory().pduOutcomes = {PduOutcome::PlainError()};
    Request r;
    r.numbers = {QStringLiteral("+4479000001"), QStringLiteral("+4479000003")};
    const qint64 start = rig.now();
    const PhoneCommandPtr c = run(r);

    EXPECT_LT(rig.now() - start, 5000);
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(Results(*c), (QVector<qint32>{3, 0}));
    EXPECT_EQ(Descs(*c)[0], QStringLiteral("ERROR"));
}

TEST_F(SendSms, MessageArrivingWhileOursGoesOutIsNotItsAnswer)
{
    rig.sim().state().cmee = 1;
    rig.gate.WaitSMS();
    memory().nextMR = 40;
    memory().pduOutcomes = {PduOutcome::Accept().after(QStringLiteral("+CMTI: \"SM\",3")),
                            PduOutcome::Cms(500).after(QStringLiteral("+CDSI: \"SR\",4"))};
    Request r;
    r.numbers = {QStringLiteral("+4479000001"), QStringLiteral("+4479000003")};
    const PhoneCommandPtr c = run(r);

    EXPECT_EQ(Results(*c), (QVector<qint32>{0, 3}));
    EXPECT_EQ(Descs(*c), (QStringList{QStringLiteral("40\r"),
                                       corvane::PhoneErrorText(QStringLiteral("+CMS ERROR: 500\r"), true)}));
}

struct PromptCase {
    const char* name;
    int numbers;
    int answeredFirst;  // PDUs accepted before the reply below replaces the prompt
    bool silent;        // no answer at all, else "ERROR"
    QVector<qint32> results;
    QList<bool> sent;   // which numbers got a reference
    dorrak::MODEM_RESULT_CODEs commandResult;
};

class SendSmsPrompt : public SendSms, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(SendSmsPrompt, FailedPrompt)
{
    const PromptCase& p = GetParam();
    Request r;
    r.numbers.clear();
    for (int i = 0; i < p.numbers; ++i)
        r.numbers << QStringLiteral("+447900000%1").arg(i);
    const auto failPrompt = [&] {
        rig.sim().script(QStringLiteral("AT+CMGS=*"), p.silent ? ScriptedReply::Silence() : ScriptedReply::Error());
    };
    if (p.answeredFirst == 0)
        failPrompt();
    PhoneCommandPtr c = SendCommand(r);
    rig.gate.Push(c);
    if (p.answeredFirst > 0) {
        ASSERT_TRUE(rig.runUntil([&] { return int(memory().sentPdus().size()) == p.answeredFirst; }));
        failPrompt();
    }
    const qint64 start = rig.now();
    ASSERT_TRUE(rig.runUntilPulled(c));
    if (p.silent) {
        EXPECT_GE(rig.now() - start, 20000);
    }

    EXPECT_EQ(c->Result(), p.commandResult);
    EXPECT_EQ(Results(*c), p.results);
    const QStringList descs = Descs(*c);
    ASSERT_EQ(descs.size(), p.numbers);
    for (int i = 0; i < p.numbers; ++i)
        EXPECT_EQ(!descs[i].isEmpty(), p.sent[i]) << "number " << i << ": " << descs[i].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendSmsPrompt,
    ::testing::Values(PromptCase{"FirstRefusedNextGoes", 2, 0, false, {3, 0}, {false, true}, dorrak::OK_ANSWER},
                      PromptCase{"LastRefusedEndsAtThree", 2, 1, false, {0, 3}, {true, false}, dorrak::ERROR_ANSWER},
                      PromptCase{"TimeOutLeavesTheRestNotExecuted", 3, 1, true, {0, 1, 9}, {true, false, false},
                                 dorrak::TIME_OUT}),
    [](const ::testing::TestParamInfo<PromptCase>& info) { return std::string(info.param.name); });

TEST_F(SendSms, LostPortMarksTheNumberBeingSent)
{
    memory().pduOutcomes = {PduOutcome::Accept(), PduOutcome::Silence()};
    Request r;
    r.numbers = {QStringLiteral("+4479000001"), QStringLiteral("+4479000002"), QStringLiteral("+4479000003")};
    PhoneCommandPtr c = SendCommand(r);
    rig.gate.Push(c);
    ASSERT_TRUE(rig.runUntil([&] { return memory().received.size() == 2; }));
    rig.sim().unplug();
    ASSERT_TRUE(rig.runUntilPulled(c, 5000));

    EXPECT_EQ(c->Result(), dorrak::INTERRUPTED);
    EXPECT_EQ(Results(*c), (QVector<qint32>{0, 4, 9}));
    EXPECT_FALSE(c->Bag(QStringLiteral("SMSObject")).isValid());
}

TEST(SendSmsSetUp, RefusedRequestComesBackNotExecutedWithTheReason)
{
    corvane::RegisterMessageChains();
    struct Case {
        Request request;
        QString reason;
    };
    Request badCentre;
    badCentre.scNumber = QStringLiteral("+44 79x");
    Request badCoding;
    badCoding.coding = 7;
    Request badCodingNotJoined = badCoding;
    badCodingNotJoined.joined = false;
    Request noNumber;
    noNumber.numbers.clear();
    const Case cases[] = {{badCentre, QStringLiteral("Invalid service center number")},
                          {badCoding, QStringLiteral("Unknown coding method")},
                          {badCodingNotJoined, QStringLiteral("Unknown coding method")},
                          {noNumber, QStringLiteral("Subscript out of range")}};
    GateRig rig;
    ASSERT_TRUE(rig.connect());
    rig.sim().clearReceived();
    for (const Case& k : cases) {
        QString text;
        const PhoneCommandPtr c = SendCommand(k.request, &text);
        EXPECT_TRUE(text.startsWith(k.reason)) << text.toStdString();
        EXPECT_EQ(c->Bag(QStringLiteral("ErrorAnswer")).toString(), k.reason);
        EXPECT_FALSE(c->IsSet());

        rig.gate.Push(c);
        ASSERT_TRUE(rig.runUntilPulled(c, 2000));
        EXPECT_EQ(c->Result(), dorrak::NOT_EXECUTED);
        EXPECT_TRUE(CmgsLines(rig.sim().commands()).isEmpty());
    }
}

}  // namespace
