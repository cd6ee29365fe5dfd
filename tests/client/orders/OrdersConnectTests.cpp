// Connecting and scanning through the connect procedure, the real gate and
// the simulated phone: the phone profile, the panes, the toolbars, the port
// dialog and the questions about queued orders.
#include "client/support/ClientRig.h"
#include "support/ui/MessageBoxRecorder.h"

#include "client/orders/Connect.h"
#include "client/orders/QueryPhone.h"
#include "client/orders/Scan.h"
#include "client/orders/SendSMS.h"
#include "client/core/ModalQuestion.h"

#include <gtest/gtest.h>

using clienttest::ClientRig;
using clienttest::Query;
using parlova::ConnectPhone;
using parlova::DisconnectPhone;
using parlova::OrderPtr;

namespace {

QStringList Names(const parlova::Orders& orders)
{
    QStringList out;
    for (const OrderPtr& o : orders)
        out << o->NameOrder() + QStringLiteral("#") + QString::number(o->Key());
    return out;
}

}  // namespace

TEST(OrdersConnect, ConnectsOnTheRememberedPort)
{
    ClientRig rig(7);
    ConnectPhone(0);
    // Until the order reports, the toolbars show the connection asked for.
    EXPECT_EQ(rig.window.connectionShown(), 1);
    ASSERT_NE(rig.orders->ActiveOrder(), nullptr);
    EXPECT_EQ(rig.orders->ActiveOrder()->NameOrder(), QStringLiteral("Connecting to COM7..."));
    ASSERT_TRUE(rig.runUntilIdle());
    ASSERT_TRUE(rig.gate->connected());

    const parlova::PhoneProfile& phone = (*parlova::G().ConnectedPhone);
    EXPECT_TRUE(phone.PDUMode);
    EXPECT_TRUE(phone.UCS2Supported);
    EXPECT_TRUE(phone.StatusReportsArmed);
    EXPECT_EQ(phone.PhoneIMEI, QStringLiteral("352099001761481"));
    EXPECT_GE(phone.MEEcodeValue, 1);
    EXPECT_TRUE(parlova::G().PhoneBooks->UCS2());
    EXPECT_TRUE(rig.gate->Comm().WaitSMS());
    EXPECT_TRUE(rig.gate->Comm().WaitStatusReport());

    EXPECT_EQ(rig.window.connectionShown(), 1);
    EXPECT_EQ(rig.window.Pane(1).text, QStringLiteral("Connecting to COM7...Done"));
    EXPECT_EQ(rig.window.Pane(3).text, QStringLiteral("SMS"));
    EXPECT_TRUE(rig.window.Pane(3).enabled);
    const QString speed = QString::number(parlova::Settings::Instance().PortSpeed());
    EXPECT_EQ(rig.window.Pane(3).toolTip,
              QStringLiteral("SMS available, COM7, ") + speed + QStringLiteral(" bit/sec, Model 6230"));
    EXPECT_TRUE(rig.portDialog.calls.isEmpty());
}

TEST(OrdersConnect, RefusedFunctionsAreNotesOfAConnection)
{
    struct Case {
        const char* what;
        std::function<void(phonesim::ConnectProfile&)> refuse;
        const char* done;
        bool pdu;
        bool watching;
    } cases[] = {
        {"PDU mode refused", [](phonesim::ConnectProfile& p) { p.pduRefused = true; },
         "Connecting to COM7...Done. SMS functions is unavailable", false, true},
        {"indications refused", [](phonesim::ConnectProfile& p) { p.cnmiTest.clear(); },
         "Connecting to COM7...Done. SMS receiving is unavailable", true, false},
        // The second note replaces the first.
        {"both refused",
         [](phonesim::ConnectProfile& p) {
             p.pduRefused = true;
             p.cnmiTest.clear();
         },
         "Connecting to COM7...Done. SMS receiving is unavailable", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClientRig rig(7);
        c.refuse(rig.profile());
        phonesim::PinConnectProfile(rig.sim());
        ConnectPhone(0);
        ASSERT_TRUE(rig.runUntilIdle());
        EXPECT_TRUE(rig.gate->connected());
        EXPECT_EQ(rig.window.Pane(1).text, QString::fromUtf8(c.done));
        EXPECT_EQ((*parlova::G().ConnectedPhone).PDUMode, c.pdu);
        EXPECT_EQ(rig.gate->Comm().WaitSMS(), c.watching);
        EXPECT_EQ((*parlova::G().ConnectedPhone).StatusReportsArmed, c.watching);
        EXPECT_EQ(rig.window.Pane(3).text, c.pdu ? QStringLiteral("SMS") : QStringLiteral("Phone"));
        EXPECT_TRUE(rig.window.Pane(3).toolTip.startsWith(c.pdu ? QStringLiteral("SMS available, ")
                                                                : QStringLiteral("SMS unavailable, ")));
        EXPECT_EQ(rig.window.connectionShown(), 1);
    }
}

TEST(OrdersConnect, APhoneThatDoesNotAnswer)
{
    for (const bool lastChoice : {false, true}) {
        SCOPED_TRACE(lastChoice ? "last choice: the port dialog offers a scan" : "no last choice: a message box");
        ClientRig rig(7);
        clienttest::UnmappedPort none(8);
        platform::MessageBoxRecorder boxes;
        parlova::Settings::Instance().LastChoice(lastChoice);
        if (!lastChoice)
            parlova::Settings::Instance().ScanAllPorts(true);
        ConnectPhone(8);
        ASSERT_TRUE(rig.runUntilIdle());
        EXPECT_FALSE(rig.gate->connected());
        EXPECT_EQ(rig.window.Pane(1).text, QStringLiteral("Connecting  to COM8...Failed"));
        EXPECT_EQ(rig.window.connectionShown(), 0);
        if (lastChoice) {
            EXPECT_EQ(boxes.count(), 0u);
            EXPECT_EQ(rig.portDialog.calls, (QStringList{"Show", "AskToScan(COM8)"}));
        } else {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.last().prompt, QStringLiteral("Your phone (modem) does not answer. Please check the "
                                                          "connection between the phone and the computer"));
            EXPECT_EQ(boxes.last().style, 16400);
            EXPECT_EQ(boxes.last().helpContext, 42000);
            EXPECT_TRUE(rig.portDialog.calls.isEmpty());
        }
    }
}

TEST(OrdersConnect, ScanListsOnlyThePhonesPortInAFreshDialog)
{
    ClientRig rig(22);
    clienttest::UnmappedPort none21(21);
    clienttest::UnmappedPort none23(23);
    platform::MessageBoxRecorder boxes;
    rig.profile().maker = QStringLiteral("Parvik");
    parlova::Settings& s = parlova::Settings::Instance();
    s.ScanPorts(true);
    s.StartPort(21);
    s.EndPort(23);
    // A dialog still open from an earlier scan, and an order waiting.
    rig.portDialog.AddPort(5, QStringLiteral("Old"), QStringLiteral("Old"));
    rig.portDialog.Show();
    rig.portDialog.calls.clear();
    rig.orders->Add(Query(QStringLiteral("AT+CSQ")), 0);

    ConnectPhone(0);
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_NE(rig.orders->ActiveOrder(), nullptr);
    EXPECT_EQ(rig.orders->ActiveOrder()->NameOrder(), QStringLiteral("Scan COM Ports from 21 to 23"));
    ASSERT_TRUE(rig.runUntil([&] { return rig.portDialog.visible && rig.portDialog.loaded && !rig.orders->ActiveOrder(); }));

    EXPECT_EQ(rig.portDialog.entries, QStringList{QStringLiteral("COM22: Model 6230 ( made by Parvik )")});
    EXPECT_EQ(rig.portDialog.calls, (QStringList{"Unload", "AddPort(22)", "Show"}));
    EXPECT_FALSE(rig.gate->connected());
    EXPECT_EQ(rig.window.connectionShown(), 0);
    EXPECT_EQ(rig.window.Pane(1).text, QStringLiteral("Scan COM Ports from 21 to 23...Done"));
    // The waiting order stays queued and does not start while disconnected.
    rig.runFor(1000);
    EXPECT_EQ(rig.orders->Count(), 1);
    EXPECT_EQ(rig.orders->ActiveOrder(), nullptr);
}

TEST(OrdersConnect, ScanWithoutPhoneShowsAnEmptyDialog)
{
    ClientRig rig(7);
    clienttest::UnmappedPort none(31);
    parlova::Settings& s = parlova::Settings::Instance();
    s.ScanPorts(true);
    s.StartPort(31);
    s.EndPort(31);
    ConnectPhone(0);
    ASSERT_TRUE(rig.runUntil([&] { return rig.portDialog.visible; }));
    EXPECT_TRUE(rig.portDialog.entries.isEmpty());
    EXPECT_EQ(rig.window.connectionShown(), 0);
}

// A connected phone with a query the phone never answers (active, waiting)
// and two orders behind it; ConnectPhone(7) asks to disconnect, then about
// the active order, then about the waiting ones.
TEST(OrdersConnect, QuestionsAboutQueuedOrdersOnReconnect)
{
    struct Case {
        const char* what;
        std::vector<int> answers;  // disconnect, active order, waiting orders
        bool connects;
        QStringList waiting;  // after the connect order was added and started
        bool queryActive;     // the query is still the active order
    } cases[] = {
        {"keep both", {platform::vbYes, platform::vbYes, platform::vbYes}, true,
         {"Query Phone#-2", "Query Phone#-3", "Query Phone#-4"}, false},
        {"drop both", {platform::vbYes, platform::vbNo, platform::vbNo}, true, {}, false},
        {"retry the active, drop the rest", {platform::vbYes, platform::vbYes, platform::vbNo}, true,
         {"Query Phone#-2"}, false},
        {"drop the active, keep the rest", {platform::vbYes, platform::vbNo, platform::vbYes}, true,
         {"Query Phone#-3", "Query Phone#-4"}, false},
        {"cancel at the first", {platform::vbYes, platform::vbCancel}, false,
         {"Query Phone#-3", "Query Phone#-4"}, true},
        {"cancel at the second", {platform::vbYes, platform::vbYes, platform::vbCancel}, false,
         {"Query Phone#-3", "Query Phone#-4"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClientRig rig(7);
        ASSERT_TRUE(rig.connect());
        rig.sim().script(QStringLiteral("AT+CSQ"), phonesim::ScriptedReply::Silence().always());
        rig.orders->Add(Query(QStringLiteral("AT+CSQ"), QStringLiteral("Alpha")), 0);
        rig.orders->Add(Query(QStringLiteral("AT+CBC"), QStringLiteral("Beta")), 0);
        rig.orders->Add(Query(QStringLiteral("AT+CCLK?"), QStringLiteral("Gamma")), 0);
        ASSERT_TRUE(rig.runUntil([&] { return rig.orders->IsWaitingReply(); }));

        platform::MessageBoxRecorder boxes;
        for (int a : c.answers)
            boxes.answer(a);
        ConnectPhone(7);
        ASSERT_EQ(boxes.count(), c.answers.size());
        EXPECT_EQ(boxes.boxes()[0].style, 36);
        EXPECT_EQ(boxes.boxes()[0].prompt,
                  QStringLiteral("At the moment some orders stand in a queue to process by the phone:\r\n\r\n"
                                 "Query Phone from Alpha (processing) \r\nQuery Phone from Beta\r\n"
                                 "Query Phone from Gamma\r\n\r\n"
                                 "If you close the connection these orders stay in the queue.\r\n"
                                 "When you start new connection, you will choose what to do with them.\r\n"
                                 "Do you want to close the connection with the phone now?"));
        EXPECT_EQ(boxes.boxes()[1].style, 35);
        EXPECT_EQ(boxes.boxes()[1].prompt,
                  QStringLiteral("When disconnecting the following order was under processing:\r\n\r\n"
                                 "Query Phone from Alpha\r\n\r\nDo you want to try process this order again?"));
        if (c.answers.size() > 2) {
            EXPECT_EQ(boxes.boxes()[2].prompt,
                      QStringLiteral("The following orders stand in the queue for processing by the phone:\r\n\r\n"
                                     "Query Phone from Beta\r\nQuery Phone from Gamma\r\n\r\n"
                                     "Do you want to leave them in the queue?"));
        }
        EXPECT_EQ(Names(*rig.orders), c.waiting);
        const OrderPtr active = rig.orders->ActiveOrder();
        ASSERT_NE(active, nullptr);
        if (c.connects) {
            EXPECT_EQ(active->NameOrder(), QStringLiteral("Connecting to COM7..."));
            EXPECT_EQ(active->Key(), -5);
            EXPECT_EQ(rig.window.connectionShown(), 1);
        } else {
            EXPECT_TRUE(c.queryActive);
            EXPECT_EQ(active->Key(), -2);
        }
    }
}

TEST(OrdersConnect, KeepingTheConnectionQueuesNothing)
{
    ClientRig rig(7);
    ASSERT_TRUE(rig.connect());
    rig.sim().script(QStringLiteral("AT+CSQ"), phonesim::ScriptedReply::Silence().always());
    rig.orders->Add(Query(QStringLiteral("AT+CSQ")), 0);
    rig.orders->Add(Query(QStringLiteral("AT+CBC")), 0);
    ASSERT_TRUE(rig.runUntil([&] { return rig.orders->IsWaitingReply(); }));
    const OrderPtr active = rig.orders->ActiveOrder();
    platform::MessageBoxRecorder boxes;
    boxes.answer(platform::vbNo);
    ConnectPhone(7);
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(rig.gate->connected());
    EXPECT_EQ(rig.orders->ActiveOrder(), active);
    EXPECT_EQ(rig.orders->Count(), 1);
    EXPECT_EQ(rig.window.connectionShown(), 1);
}

TEST(OrdersConnect, ScanAfterADisconnectionSetsTheInterruptedOrderBack)
{
    ClientRig rig(7);
    clienttest::UnmappedPort none(41);
    ASSERT_TRUE(rig.connect());
    rig.sim().script(QStringLiteral("AT+CSQ"), phonesim::ScriptedReply::Silence().always());
    rig.orders->Add(Query(QStringLiteral("AT+CSQ")), 0);
    ASSERT_TRUE(rig.runUntil([&] { return rig.orders->IsWaitingReply(); }));
    parlova::Settings& s = parlova::Settings::Instance();
    s.ScanPorts(true);
    s.StartPort(41);
    s.EndPort(41);

    platform::MessageBoxRecorder boxes;
    boxes.answer(platform::vbYes);
    ConnectPhone(0);
    EXPECT_EQ(boxes.count(), 1u);  // only the disconnect question
    ASSERT_NE(rig.orders->ActiveOrder(), nullptr);
    EXPECT_EQ(rig.orders->ActiveOrder()->NameOrder(), QStringLiteral("Scan COM Ports from 41 to 41"));
    EXPECT_EQ(Names(*rig.orders), QStringList{QStringLiteral("Query Phone#-2")});
    ASSERT_TRUE(rig.runUntil([&] { return rig.portDialog.visible; }));
}

TEST(OrdersConnect, ConnectingWhileAConnectOrderRunsDoesNothing)
{
    ClientRig rig(7);
    ConnectPhone(0);
    const OrderPtr running = rig.orders->ActiveOrder();
    ASSERT_NE(running, nullptr);
    ConnectPhone(0);
    EXPECT_EQ(rig.orders->ActiveOrder(), running);
    EXPECT_EQ(rig.orders->Count(), 0);
    EXPECT_EQ(rig.window.connectionShown(), 0);
    ASSERT_TRUE(rig.runUntilIdle());
    EXPECT_EQ(rig.window.connectionShown(), 1);
}

TEST(OrdersConnect, DisconnectAsksOnlyInModeZeroWithOrders)
{
    {
        ClientRig rig(7);
        ASSERT_TRUE(rig.connect());
        platform::MessageBoxRecorder boxes;
        DisconnectPhone(0);
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_FALSE(rig.gate->connected());
        EXPECT_EQ(rig.window.Pane(1).text, QStringLiteral("Disconnected"));
        EXPECT_EQ(rig.window.Pane(3).toolTip, QStringLiteral("No connection"));
        EXPECT_FALSE(rig.window.Pane(3).enabled);
    }
    {
        ClientRig rig(7);
        ASSERT_TRUE(rig.connect());
        rig.sim().script(QStringLiteral("AT+CSQ"), phonesim::ScriptedReply::Silence().always());
        rig.orders->Add(Query(QStringLiteral("AT+CSQ")), 0);
        rig.orders->Add(Query(QStringLiteral("AT+CBC")), 0);
        ASSERT_TRUE(rig.runUntil([&] { return rig.orders->IsWaitingReply(); }));
        platform::MessageBoxRecorder boxes;
        boxes.answer(platform::vbNo);
        DisconnectPhone(0);
        EXPECT_EQ(boxes.count(), 1u);
        EXPECT_TRUE(rig.gate->connected());
        EXPECT_EQ(rig.window.connectionShown(), 1);
        DisconnectPhone(-1);
        EXPECT_EQ(boxes.count(), 1u);
        EXPECT_FALSE(rig.gate->connected());
        // Never removed by a disconnection.
        EXPECT_EQ(rig.orders->Count(), 1);
        EXPECT_NE(rig.orders->ActiveOrder(), nullptr);
    }
}
