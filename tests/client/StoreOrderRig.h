#pragma once
// The phone side of the client for the phone-book and message-store order
// tests: the real gate on the simulated phone, the real order queue and main
// loop, the widget-free status panes as the main window, and recording
// phone-book and message-store windows. The port, the engine and the main
// loop are ticked by hand on the fake clock (50, 100 and 300 ms).
#include "client/main/Globals.h"
#include "client/main/MainLoop.h"
#include "client/main/Settings.h"
#include "client/main/WindowSeams.h"
#include "client/orders/Orders.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "hub/engine/Gate.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageChains.h"
#include "hub/messages/MessageStore.h"
#include "platform/MessageBox.h"
#include "support/PhoneFixture.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

namespace ordertest {

// A single-instance child window that records what the orders do with it.
// Opening it (SetFocus while closed) shows it in the normal state.
template <class Base>
class RecordingChild : public Base {
public:
    bool open = false;
    bool shown = false;
    qint32 state = parlova::vbNormal;
    mutable QStringList calls;

    bool Visible() const override { return open && shown; }
    qint32 WindowState() const override
    {
        calls << QStringLiteral("WindowState");
        return open ? state : parlova::vbNormal;
    }
    void SetWindowState(qint32 s) override
    {
        calls << QStringLiteral("SetWindowState %1").arg(s);
        if (open)
            state = s;
    }
    void SetFocus() override
    {
        calls << QStringLiteral("SetFocus");
        if (!open) {
            open = shown = true;
            state = parlova::vbNormal;
        }
    }
    void Unload() override
    {
        calls << QStringLiteral("Unload");
        open = shown = false;
    }
    void openShown(qint32 s = parlova::vbNormal)
    {
        open = shown = true;
        state = s;
    }
};

class RecordingPhonebook : public RecordingChild<parlova::PhonebookWindow> {
public:
    // What the row operations return.
    QString addReply, updateReply, deleteReply;
    QString AddContact(const QString& book, qint32 index) override
    {
        return row(QStringLiteral("AddContact"), book, index, addReply);
    }
    QString UpdateContact(const QString& book, qint32 index) override
    {
        return row(QStringLiteral("UpdateContact"), book, index, updateReply);
    }
    QString DeleteContact(const QString& book, qint32 index) override
    {
        return row(QStringLiteral("DeleteContact"), book, index, deleteReply);
    }

private:
    QString row(const QString& what, const QString& bookName, qint32 index, const QString& reply)
    {
        calls << QStringLiteral("%1 %2 %3").arg(what, bookName).arg(index);
        return reply;
    }
};

class RecordingMessageStore : public RecordingChild<parlova::MessageStoreWindow> {
public:
    QString reply;
    void AddMessage(qint32 storage, qint32 index) override { calls << QStringLiteral("AddMessage %1 %2").arg(storage).arg(index); }
    QString DeleteMessage(qint32 storage, qint32 index) override
    {
        calls << QStringLiteral("DeleteMessage %1 %2").arg(storage).arg(index);
        return reply;
    }
};

class PhoneOrderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        corvane::RegisterMessageChains();
        parlova::Globals& g = parlova::G();
        g.PhoneGate = std::make_shared<corvane::Gate>();
        g.PhoneOrders = std::make_shared<parlova::Orders>();
        g.PhoneBooks = std::make_shared<corvane::BookRecords>();
        g.PhoneMessages = std::make_shared<corvane::MessageStore>();
        parlova::Windows() = parlova::WindowSet{};
        parlova::Windows().frmMDI = &panes;
        parlova::Windows().frmPhonebook = &book;
        parlova::Windows().frmMessageStore = &store;
        joinParts_ = parlova::Settings::Instance().JoinParts();
    }

    void TearDown() override
    {
        parlova::Settings::Instance().JoinParts(joinParts_);
        parlova::Windows() = parlova::WindowSet{};
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

    // One 50 ms round.
    void round()
    {
        sim().pump();
        gate().Comm().Tick();
        if (rounds_ % 2 == 0)
            gate().EngineTick();
        if (rounds_ % 20 == 0)
            gate().PartsTick();
        if (rounds_ % 6 == 0)
            loop.Tick();
        sim().pump();
        ++rounds_;
        phone.clock().advance(50);
    }
    bool runUntil(const std::function<bool()>& done, qint64 maxMs = 120000)
    {
        for (qint64 t = 0; !done(); t += 50) {
            if (t >= maxMs)
                return false;
            round();
        }
        return true;
    }
    bool idle() { return !orders().ActiveOrder() && orders().Count() == 0; }

    // Connects through the connect procedure, as the user's Connect does.
    bool connect()
    {
        parlova::ConnectPhone(phone.comPort());
        return runUntil([&] { return idle() && gate().connected() && loop.PhoneWasConnected(); }) &&
               gate().connected();
    }
    // Queues the order and runs until the queue has let it go.
    bool run(const parlova::OrderPtr& order, qint64 maxMs = 120000)
    {
        orders().Add(order, 0);
        return runUntil([&] { return order->Finished() && idle(); }, maxMs);
    }
    // The command lines the phone got that begin with prefix.
    QStringList commandsOf(const QString& prefix)
    {
        QStringList out;
        for (const QString& line : sim().commands())
            if (line.startsWith(prefix))
                out << line;
        return out;
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
