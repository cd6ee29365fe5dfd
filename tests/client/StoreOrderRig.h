#pragma once
// The phone side of the client for the phone-book and message-store order
// tests: the real gate on the simulated phone, the real queue and main loop,
// the widget-free status panes, and recording store windows. The port, the
// engine and the main loop tick by hand on the fake clock (50, 100, 300 ms).
#include "client/core/Globals.h"
#include "client/main/MainLoop.h"
#include "client/core/Settings.h"
#include "client/core/Orders.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"
#include "support/ui/MessageBoxRecorder.h"
#include "support/PhoneFixture.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace ordertest {

// Every call lands in calls; opening (SetFocus while closed) shows the
// window in the normal state. The row operations return reply.
template <class Base>
class RecordingChild : public Base {
public:
    bool open = false;
    qint32 state = parlova::vbNormal;
    QString reply;
    mutable QStringList calls;

    bool Visible() const override { return open; }
    qint32 WindowState() const override { return note(QStringLiteral("WindowState")), state; }
    void SetWindowState(qint32 s) override { note(QStringLiteral("SetWindowState %1").arg(s)), state = s; }
    void SetFocus() override
    {
        if (!open)
            state = parlova::vbNormal;
        note(QStringLiteral("SetFocus")), open = true;
    }
    void Unload() override { note(QStringLiteral("Unload")), open = false; }

protected:
    QString note(const QString& call) const { return calls << call, reply; }
    QString row(const char* what, const QString& where, qint32 index) const
    {
        return note(QStringLiteral("%1 %2 %3").arg(QLatin1String(what), where).arg(index));
    }
};

class RecordingPhonebook : public RecordingChild<parlova::PhonebookWindow> {
public:
    QString AddContact(const QString& b, qint32 i) override { return row("AddContact", b, i); }
    QString UpdateContact(const QString& b, qint32 i) override { return row("UpdateContact", b, i); }
    QString DeleteContact(const QString& b, qint32 i) override { return row("DeleteContact", b, i); }
};

class RecordingMessageStore : public RecordingChild<parlova::MessageStoreWindow> {
public:
    void AddMessage(qint32 s, qint32 i) override { row("AddMessage", QString::number(s), i); }
    QString DeleteMessage(qint32 s, qint32 i) override { return row("DeleteMessage", QString::number(s), i); }
};

class PhoneOrderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parlova::Globals& g = parlova::G();
        g.PhoneGate = parlova::Globals::NewPhoneGate();
        g.PhoneOrders = std::make_shared<parlova::Orders>();
        g.PhoneBooks = std::make_shared<corvane::BookRecords>();
        g.PhoneMessages = std::make_shared<corvane::MessageStore>();
        parlova::Windows() = {&panes, nullptr, nullptr, &book, &store};
        joinParts_ = parlova::Settings::Instance().JoinParts();
    }
    void TearDown() override
    {
        parlova::Settings::Instance().JoinParts(joinParts_);
        parlova::Windows() = {};
        parlova::Globals& g = parlova::G();
        g.PhoneOrders.reset();
        g.PhoneBooks.reset();
        g.PhoneMessages.reset();
        g.PhoneGate.reset();
    }

    phonesim::PhoneSim& sim() { return phone.sim(); }
    corvane::Gate& gate() { return *parlova::G().PhoneGate; }
    parlova::Orders& orders() { return *parlova::G().PhoneOrders; }
    corvane::BookRecords& books() { return *parlova::G().PhoneBooks; }
    corvane::MessageStore& messages() { return *parlova::G().PhoneMessages; }
    bool idle() { return !orders().ActiveOrder() && orders().Count() == 0; }

    // 50 ms rounds until done() holds; false after maxMs of fake time.
    bool runUntil(const std::function<bool()>& done, qint64 maxMs = 120000)
    {
        for (qint64 t = 0; !done(); t += 50, ++rounds_, phone.clock().advance(50)) {
            if (t >= maxMs)
                return false;
            sim().pump();
            gate().Comm().Tick();
            if (rounds_ % 2 == 0)
                gate().EngineTick();
            if (rounds_ % 6 == 0)
                loop.Tick();
            sim().pump();
        }
        return true;
    }
    // Through the connect procedure, as the user's Connect does.
    bool connect()
    {
        parlova::ConnectPhone(phone.comPort());
        return runUntil([&] { return idle() && loop.PhoneWasConnected(); }) && gate().connected();
    }
    // Queues the order and runs until the queue has let it go.
    bool run(const parlova::OrderPtr& order)
    {
        orders().Add(order, 0);
        return runUntil([&] { return order->Finished() && idle(); });
    }
    QStringList commandsOf(const QString& prefix)
    {
        return sim().commands().filter(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefix)));
    }

    testsupport::PhoneFixture phone;
    platform::MessageBoxRecorder boxes;
    parlova::MainWindowPanes panes;
    RecordingPhonebook book;
    RecordingMessageStore store;
    parlova::MainLoop loop;

private:
    qint64 rounds_ = 0;
    bool joinParts_ = true;
};

}  // namespace ordertest
