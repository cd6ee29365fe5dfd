// PhoneCommand's set-up, its Bag and the chain table, without a port.
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/ConnectChain.h"
#include "hub/engine/OneStep.h"
#include "hub/engine/PhoneCommand.h"
#include "platform/VbError.h"

#include <gtest/gtest.h>

using namespace corvane;
using dorrak::mbtLightCommand;

namespace {

struct Shared {
    int value = 0;
};

// A chain of one step that records its own name.
class MarkStep : public OneStep {
public:
    StepPtr Advance(PhoneCommand& command) override
    {
        command.setBag(QStringLiteral("Marked"), true);
        return nullptr;
    }
};

class RegisteredChain : public ::testing::Test {
protected:
    void TearDown() override
    {
        ChainRegistry::Unregister(QStringLiteral("TestMark"));
        ChainRegistry::Unregister(QStringLiteral("TestBroken"));
    }
};

}  // namespace

TEST(Bag, KeysIgnoreCaseAndWritesReplace)
{
    PhoneCommand command;
    EXPECT_FALSE(command.Bag(QStringLiteral("Answer")).isValid());
    command.setBag(QStringLiteral("Answer"), QStringLiteral("first"));
    command.setBag(QStringLiteral("Answer"), QStringLiteral("second"));
    EXPECT_EQ(command.Bag(QStringLiteral("answer")).toString(), QStringLiteral("second"));
    EXPECT_EQ(command.Items().Count(), 1);
    command.setBag(QStringLiteral("ANSWER"), 5);
    EXPECT_EQ(command.Bag(QStringLiteral("Answer")).toInt(), 5);
    EXPECT_EQ(command.Items().Count(), 1);
}

TEST(Bag, ObjectsTravelByReference)
{
    PhoneCommand command;
    auto store = std::make_shared<Shared>();
    command.setBagObject(QStringLiteral("Store"), store);
    command.BagObject<Shared>(QStringLiteral("store"))->value = 42;
    EXPECT_EQ(store->value, 42);
    EXPECT_EQ(command.BagObject<Shared>(QStringLiteral("Missing")), nullptr);
}

TEST(Bag, ConversionsFollowTheRuntime)
{
    EXPECT_EQ(VariantLong(QVariant()), 0);
    EXPECT_EQ(VariantLong(QStringLiteral(" 12 ")), 12);
    EXPECT_EQ(VariantLong(2.5), 2);
    EXPECT_EQ(VariantLong(3.5), 4);
    EXPECT_FALSE(VariantBoolean(QVariant()));
    EXPECT_TRUE(VariantBoolean(-1));
    EXPECT_EQ(VariantText(true), QStringLiteral("True"));
    EXPECT_THROW(VariantLong(QStringLiteral("COMx")), platform::VbError);
    EXPECT_THROW(VariantInteger(40000), platform::VbError);
    EXPECT_EQ(VariantLongArray(QVariant::fromValue(QVector<qint32>{1, 2})), (QVector<qint32>{1, 2}));
    EXPECT_EQ(VariantLongArray(QVariantList{3, QStringLiteral("4")}), (QVector<qint32>{3, 4}));
    EXPECT_THROW(VariantLongArray(QStringLiteral("5")), platform::VbError);
}

TEST(PhoneCommandSetUp, RawCommandRunsOneStep)
{
    PhoneCommand command;
    EXPECT_EQ(command.Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(command.SetUp(QStringLiteral("AT+CSQ\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -3, 5000,
                            false, false, dorrak::mbtQueryPhone),
              QString());
    EXPECT_EQ(command.Result(), dorrak::NOT_EXECUTED);
    EXPECT_EQ(command.Owner(), -3);
    EXPECT_EQ(command.StepCommand(), QStringLiteral("AT+CSQ\r"));
    EXPECT_EQ(command.StepTimeOut(), 5000);

    command.SetResult(dorrak::OK_ANSWER);
    command.PutAnswer(QStringLiteral("+CSQ: 20,0\r\n\r\nOK\r"));
    command.Step();
    EXPECT_TRUE(command.Finished());
    EXPECT_EQ(command.GetProgress(), 100);
    EXPECT_EQ(command.Bag(QStringLiteral("Answer")).toString(), QStringLiteral("+CSQ: 20,0\r\n\r\nOK\r"));
    EXPECT_FALSE(command.Bag(QStringLiteral("ErrorAnswer")).isValid());

    EXPECT_EQ(command.SetUp(QStringLiteral("AT\r")), QStringLiteral("Already set"));
    EXPECT_EQ(command.Owner(), -3);
}

TEST(PhoneCommandSetUp, RawErrorAnswerAndTimeOut)
{
    PhoneCommand failed;
    failed.SetUp(QStringLiteral("AT+X\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -1, 100);
    failed.SetResult(dorrak::ERROR_ANSWER);
    failed.PutErrorAnswer(QStringLiteral("+CME ERROR: 3\r"));
    failed.Step();
    EXPECT_EQ(failed.Bag(QStringLiteral("ErrorAnswer")).toString(), QStringLiteral("+CME ERROR: 3\r"));

    PhoneCommand silent;
    silent.SetUp(QStringLiteral("AT+X\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -1, 100);
    silent.SetResult(dorrak::TIME_OUT);
    silent.Step();
    EXPECT_TRUE(silent.Finished());
    EXPECT_EQ(silent.Items().Count(), 0);
}

TEST(PhoneCommandSetUp, UnknownNameLeavesItUnset)
{
    PhoneCommand command;
    EXPECT_EQ(command.SetUp(QStringLiteral("NoSuchChain"), QString(), QString(), -7, 5000, true, false, mbtLightCommand),
              QStringLiteral("Unknown command"));
    EXPECT_EQ(command.Result(), dorrak::OK_ANSWER);
    EXPECT_FALSE(command.IsSet());
    EXPECT_EQ(command.StepCommand(), QString());
    // Kept, so the gate can return it to its order.
    EXPECT_EQ(command.Owner(), -7);
    EXPECT_TRUE(command.StartTransaction());
    // Names are exact.
    EXPECT_EQ(command.SetUp(QStringLiteral("connect"), QString(), QString(), -7, 5000, false, false, mbtLightCommand),
              QStringLiteral("Unknown command"));
    EXPECT_EQ(command.SetUp(QStringLiteral("Connect"), QString(), QString(), -7, 5000, false, false, mbtLightCommand),
              QString());
    EXPECT_EQ(command.Result(), dorrak::NOT_EXECUTED);
    EXPECT_EQ(command.StepCommand(), QStringLiteral("Connecting"));
}

TEST(PhoneCommandSetUp, ConnectPresetsKeepTheirSubtypes)
{
    PhoneCommand command;
    ASSERT_EQ(command.SetUp(QStringLiteral("Connect"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -1, 5000,
                            false, false, mbtLightCommand),
              QString());
    for (const char* key : {"AT", "NMI", "NSMI", "PDU"}) {
        EXPECT_EQ(command.Bag(QString::fromLatin1(key)).typeId(), QMetaType::Bool) << key;
        EXPECT_FALSE(command.Bag(QString::fromLatin1(key)).toBool()) << key;
    }
    EXPECT_TRUE(command.Bag(QStringLiteral("UCS2")).toBool());
    EXPECT_EQ(command.Bag(QStringLiteral("ShiftME")).typeId(), QMetaType::Short);
    EXPECT_EQ(command.Bag(QStringLiteral("ShiftME")).toInt(), 0);
    EXPECT_EQ(command.Bag(QStringLiteral("MEEcode")).typeId(), QMetaType::Short);
    EXPECT_EQ(command.Bag(QStringLiteral("MEEcode")).toInt(), -1);
}

TEST(PhoneCommandSetUp, ScanCopiesTheFirstPort)
{
    PhoneCommand command;
    command.setBag(QStringLiteral("NextPort"), 3);
    ASSERT_EQ(command.SetUp(QStringLiteral("Scan"), QString(), QString(), -2, 5000, false, false, mbtLightCommand),
              QString());
    EXPECT_EQ(command.Bag(QStringLiteral("MinPort")).toInt(), 3);
}

TEST(PhoneCommandSetUp, RepeatingStepIsTheSameObject)
{
    PhoneCommand command;
    command.SetUp(QStringLiteral("Connect"), QString(), QString(), -1, 0, false, false, mbtLightCommand);
    command.SetResult(dorrak::OK_ANSWER);  // the port opened
    command.Step();
    EXPECT_EQ(command.GetProgress(), 10);
    const StepPtr start = command.CurrentStep();
    ASSERT_EQ(command.StepCommand(), QStringLiteral("AT\r"));
    command.SetResult(dorrak::TIME_OUT);
    command.Step();
    EXPECT_EQ(command.CurrentStep(), start);
    command.SetResult(dorrak::ERROR_ANSWER);
    command.Step();
    EXPECT_EQ(command.CurrentStep(), start);
    command.SetResult(dorrak::TIME_OUT);
    command.Step();
    EXPECT_TRUE(command.Finished());
    EXPECT_EQ(command.GetProgress(), 100);
    EXPECT_FALSE(command.Bag(QStringLiteral("AT")).toBool());
}

TEST_F(RegisteredChain, FactoryPutsItsItemsAndFirstStep)
{
    ChainRegistry::Register(QStringLiteral("TestMark"), [](PhoneCommand& command, const SetUpArguments& arguments) {
        command.setBag(QStringLiteral("Line"), arguments.Answer);
        auto step = std::make_shared<MarkStep>();
        step->SetUp(QStringLiteral("AT+MARK\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), 100);
        return StepPtr(step);
    });
    EXPECT_TRUE(ChainRegistry::IsRegistered(QStringLiteral("TestMark")));
    EXPECT_TRUE(ChainRegistry::IsRegistered(QStringLiteral("Connect")));
    EXPECT_TRUE(ChainRegistry::IsRegistered(QStringLiteral("Scan")));

    PhoneCommand command;
    ASSERT_EQ(command.SetUp(QStringLiteral("TestMark"), QStringLiteral("+CMTI: \"SM\",1\r"), QString(), 0, 0, false,
                            false, mbtLightCommand),
              QString());
    EXPECT_EQ(command.Bag(QStringLiteral("Line")).toString(), QStringLiteral("+CMTI: \"SM\",1\r"));
    EXPECT_EQ(command.StepCommand(), QStringLiteral("AT+MARK\r"));
    command.SetResult(dorrak::OK_ANSWER);
    command.Step();
    EXPECT_TRUE(command.Finished());
    EXPECT_TRUE(command.Bag(QStringLiteral("Marked")).toBool());
}

TEST_F(RegisteredChain, RuntimeErrorOfTheFactoryIsReported)
{
    ChainRegistry::Register(QStringLiteral("TestBroken"), [](PhoneCommand&, const SetUpArguments&) -> StepPtr {
        platform::Raise(platform::vberr::TypeMismatch, QStringLiteral("Test"), QStringLiteral("Type mismatch"));
    });
    PhoneCommand command;
    EXPECT_EQ(command.SetUp(QStringLiteral("TestBroken"), QString(), QString(), -4, 0, false, false, mbtLightCommand),
              QStringLiteral("Type mismatch (13)"));
    EXPECT_FALSE(command.IsSet());
    EXPECT_EQ(command.Result(), dorrak::OK_ANSWER);
}
