#pragma once
// The client's one test rig: a fresh application object per test, with
// recording stand-ins for the windows and the conference registry, the real
// gates and queues, the main loop, and either the simulated phone on a
// pseudo-terminal (ClientRig, PhoneOrderTest) or the mail servers on
// loopback (EmailOrderTest). On the phone side one round is 50 ms of the
// fake clock: the port ticks every round, the gate's engine every second
// round and the main loop every sixth (its 300 ms timer).
#include "client/core/Application.h"
#include "client/core/Orders.h"
#include "client/core/PhoneProfile.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/main/MainLoop.h"
#include "client/main/MainWindowPanes.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "client/orders/QueryPhone.h"
#include "email/EmailGate.h"
#include "email/EmailLetter.h"
#include "email/QuenbyGlobalObjs.h"
#include "hub/GateRig.h"
#include "hub/engine/Gate.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"
#include "platform/Clock.h"
#include "platform/VbError.h"
#include "support/MailTestHelpers.h"
#include "support/PhoneFixture.h"
#include "support/SmtpSink.h"
#include "support/ui/MessageBoxRecorder.h"
#include "tools/phonesim/ConnectCommands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace clienttest {

// The panes as the real window keeps them, and every call in order.
class RecordingMainWindow : public parlova::MainWindowPanes {
public:
    QStringList calls;
    QStringList alerts;

    void alertUser(const QString& text) override
    {
        calls << QStringLiteral("alertUser(") + text + QStringLiteral(")");
        alerts << text;
        MainWindowPanes::alertUser(text);
    }
    void ShowProgress(qint32 percent, const QString& caption = QString()) override
    {
        calls << QStringLiteral("ShowProgress(%1,%2)").arg(percent).arg(caption);
        MainWindowPanes::ShowProgress(percent, caption);
    }
    void Ready() override
    {
        calls << QStringLiteral("Ready");
        MainWindowPanes::Ready();
    }
    void SMS() override
    {
        calls << QStringLiteral("SMS");
        MainWindowPanes::SMS();
    }
    void phoneName(const QString& name) override
    {
        calls << QStringLiteral("phoneName(") + name + QStringLiteral(")");
        MainWindowPanes::phoneName(name);
    }
    // The four toolbars agree on the pair: 1 connected, 0 disconnected,
    // -1 when they disagree.
    int connectionShown() const
    {
        int shown = -2;
        for (parlova::ToolbarId t : {parlova::tlbMDI, parlova::tlbTalk, parlova::tlbBook, parlova::tlbStore}) {
            const int c = ButtonValue(t, QStringLiteral("Connect"));
            const int d = ButtonValue(t, QStringLiteral("Disconnect"));
            const int state = (c == 1 && d == 0) ? 1 : (c == 0 && d == 1) ? 0 : -1;
            if (shown == -2)
                shown = state;
            else if (shown != state)
                return -1;
        }
        return shown;
    }
    int count(const QString& call) const { return static_cast<int>(calls.count(call)); }
};

// The port dialog as the real one behaves: AddPort loads it hidden.
class RecordingPortDialog : public parlova::PortDialog {
public:
    bool loaded = false;
    bool visible = false;
    QStringList entries;
    QStringList calls;

    bool Visible() const override { return visible; }
    void Unload() override
    {
        calls << QStringLiteral("Unload");
        loaded = visible = false;
        entries.clear();
    }
    void Show() override
    {
        calls << QStringLiteral("Show");
        loaded = visible = true;
    }
    void AddPort(qint32 port, const QString& name, const QString& maker) override
    {
        calls << QStringLiteral("AddPort(%1)").arg(port);
        loaded = true;
        entries << QStringLiteral("COM") + QString::number(port) + QStringLiteral(": ") + name +
                       QStringLiteral(" ( made by ") + maker + QStringLiteral(" )");
    }
    void AskToScan(const QString& port) override { calls << QStringLiteral("AskToScan(") + port + QStringLiteral(")"); }
};

struct LogEntry {
    qint32 kind;
    QString text;
};

class RecordingTalk : public parlova::TalkWindow {
public:
    QString theme;
    QStringList confereeList;  // "name <number>" as the window lists them
    std::vector<LogEntry> log;

    QString GetConfName(const QString& number) override
    {
        if (number.isEmpty())
            return QString();
        for (const QString& entry : confereeList)
            if (entry.contains(number))
                return entry;
        return QString();
    }
    void Log(qint32 kind, const QString& text) override { log.push_back({kind, text}); }
    QString Theme() const override { return theme; }
};

struct Arrival {
    QString number;
    QString text;
    bool isReport;
    qint32 mr;
    QDateTime discharge;
};

class RecordingConferences : public parlova::ConferenceRegistry {
public:
    std::map<QString, std::unique_ptr<RecordingTalk>> talks;  // the open conversations, by theme
    std::map<QString, QString> conferees;                    // number or address -> name
    std::vector<Arrival> arrivals;
    QList<quenby::EmailLetter> letters;  // every letter routed here
    QString putMessageAnswer;

    RecordingTalk& open(const QString& theme)
    {
        auto& slot = talks[theme];
        if (!slot) {
            slot = std::make_unique<RecordingTalk>();
            slot->theme = theme;
        }
        return *slot;
    }

    qint32 TalksCount() override { return static_cast<qint32>(talks.size()); }
    void Read(const QString&) override {}
    bool TalkExist(const QString& theme) override { return talks.count(theme) > 0; }
    parlova::TalkWindow& Talk(const QString& theme) override
    {
        auto it = talks.find(theme);
        if (it == talks.end())
            platform::Raise(9, QStringLiteral("Conference"), QStringLiteral("Subscript out of range"));
        return *it->second;
    }
    // In the order of their themes.
    parlova::TalkWindow& Talk(qint32 position) override
    {
        if (position < 1 || position > TalksCount())
            platform::Raise(9, QStringLiteral("Conference"), QStringLiteral("Subscript out of range"));
        return *std::next(talks.begin(), position - 1)->second;
    }
    bool ConfereeExist(const QString& key) override { return conferees.count(key) > 0; }
    QString ConfereeName(const QString& key) override { return conferees.at(key); }
    QString PutMessage(const QString& number, const QString& text, bool isReport, qint32 mr,
                       const QDateTime& discharge) override
    {
        arrivals.push_back({number, text, isReport, mr, discharge});
        return putMessageAnswer;
    }
    QString PutEmailMessage(const quenby::EmailLetter& letter) override
    {
        letters.append(letter);
        return QString();
    }
};

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

// A fresh application object, current while the test runs, with the
// recording windows registered and the recording registry as its
// conferences. Boxes are answered by the recorder (a test's own recorder
// comes first).
class ClientApp {
public:
    ClientApp()
    {
        parlova::ConnectQuestionsToMessageBoxes();
        app.globals().Conferences = registry;
    }
    ClientApp(const ClientApp&) = delete;
    ClientApp& operator=(const ClientApp&) = delete;

    parlova::Application app;
    platform::MessageBoxRecorder boxes;
    std::shared_ptr<RecordingConferences> registry = std::make_shared<RecordingConferences>();
    RecordingConferences& conferences = *registry;
    RecordingMainWindow window;
    RecordingPortDialog portDialog;
    RecordingPhonebook book;
    RecordingMessageStore store;
    parlova::WindowRegistration registrations[4] = {
        app.windows().Register(static_cast<parlova::MainWindow&>(window)),
        app.windows().Register(static_cast<parlova::PortDialog&>(portDialog)),
        app.windows().Register(static_cast<parlova::PhonebookWindow&>(book)),
        app.windows().Register(static_cast<parlova::MessageStoreWindow&>(store))};
    parlova::MainLoop loop;

    parlova::Settings& settings() { return app.settings(); }
};

// A port number that maps to no device while the object lives.
using UnmappedPort = gatetest::UnmappedPort;

// The phone side: the real gate on the simulated phone, the phone queue and
// the records, the port remembered as the last choice.
class ClientRig : public ClientApp, public gatetest::Rounds {
public:
    explicit ClientRig(int comPort = 7) : phone(comPort)
    {
        parlova::Globals& g = app.globals();
        g.PhoneGate = gate;
        g.PhoneOrders = orders;
        g.PhoneBooks = std::make_shared<corvane::BookRecords>();
        g.PhoneMessages = std::make_shared<corvane::MessageStore>();
        parlova::Settings& s = settings();
        s.LastChoice(true);
        s.LastPort(comPort);
    }
    ~ClientRig() override
    {
        // The gate goes before the phone it talks to.
        parlova::Globals& g = app.globals();
        g.PhoneGate.reset();
        g.PhoneOrders.reset();
    }

    testsupport::PhoneFixture phone;
    std::shared_ptr<corvane::Gate> gate = std::make_shared<corvane::Gate>();
    std::shared_ptr<parlova::Orders> orders = std::make_shared<parlova::Orders>();

    phonesim::PhoneSim& sim() { return phone.sim(); }
    phonesim::ConnectProfile& profile() { return sim().state().get<phonesim::ConnectProfile>(); }
    corvane::BookRecords& books() { return *app.globals().PhoneBooks; }
    corvane::MessageStore& messages() { return *app.globals().PhoneMessages; }
    bool idle() const { return !orders->ActiveOrder() && orders->Count() == 0; }

    void round() override
    {
        sim().pump();
        gate->Comm().Tick();
        if (rounds() % 2 == 0)
            gate->EngineTick();
        if (rounds() % 6 == 0)
            loop.Tick();
        sim().pump();
        passRound(phone.clock());
    }
    // Until the queue has neither an active nor a waiting order.
    bool runUntilIdle(qint64 maxMs = 120000)
    {
        return runUntil([&] { return idle(); }, maxMs);
    }
    // Connects through the connect procedure on the remembered port, as the
    // user's Connect does, and lets the main loop see the connection.
    bool connect()
    {
        parlova::ConnectPhone(0);
        const bool ok = runUntilIdle() && gate->connected();
        runFor(300);
        window.calls.clear();
        window.alerts.clear();
        return ok && loop.PhoneWasConnected();
    }
    // Queues the order and runs until the queue has let it go.
    bool run(const parlova::OrderPtr& order)
    {
        orders->Add(order, 0);
        return runUntil([&] { return order->Finished() && idle(); });
    }
    QStringList commandsOf(const QString& prefix)
    {
        return sim().commands().filter(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefix)));
    }
};

class PhoneOrderTest : public ::testing::Test, public ClientRig {};

// A query order for the phone, from the conversation theme.
inline std::shared_ptr<parlova::QueryPhone> Query(const QString& text, const QString& theme = QStringLiteral("Talk"))
{
    auto q = std::make_shared<parlova::QueryPhone>();
    q->SetUp(text, theme);
    return q;
}

// The e-mail side: the real e-mail gate and queue, the account as a user
// would enter it in the settings, from which the connect procedure takes it.
// The real e-mail gate and queue of an application object, and the account
// as a user would enter it in the settings; servers on loopback.
inline void MakeMailSide(ClientApp& client, const QString& workingFolder)
{
    qunsetenv(quenby::kServiceEnvVar);
    client.app.globals().MailGate = std::make_shared<quenby::EmailGate>();
    client.app.globals().MailOrders = std::make_shared<parlova::Orders>();
    parlova::Settings& s = client.settings();
    s.UserName(QStringLiteral("Ann")), s.EmailAddress(QStringLiteral("ann@example.org"));
    s.Login(QStringLiteral("ann")), s.Password(QStringLiteral("s3cret"));
    s.POP3Address(QStringLiteral("127.0.0.1")), s.SMTPAddress(QStringLiteral("127.0.0.1"));
    s.WorkingFolder(workingFolder), s.ServerTimeout(30), s.POP3PollInterval(3), s.MaxSize(0);
}

// An SMTP server that takes the account's logon.
inline std::unique_ptr<testsupport::SmtpSink> AccountSink()
{
    testsupport::SmtpSink::Options account;
    account.auth = testsupport::SmtpSink::Auth::Basic;
    account.user = QStringLiteral("ann");
    account.password = QStringLiteral("s3cret");
    return std::make_unique<testsupport::SmtpSink>(account);
}

class EmailOrderTest : public ::testing::Test, public ClientApp {
protected:
    void SetUp() override { MakeMailSide(*this, folder.path()); }
    void TearDown() override { qunsetenv(quenby::kServiceEnvVar); }

    quenby::EmailGate& gate() { return *app.globals().MailGate; }
    parlova::Orders& orders() { return *app.globals().MailOrders; }

    // Lets the sockets and transfers run and ticks the gate's command timer
    // and the main loop until done() holds; false after ms of real time
    // spent waiting on the servers.
    bool drive(const std::function<bool()>& done, int ms = 20000)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            gate().CommandTick();
            loop.Tick();
        }
        return true;
    }

    static quenby::MAPIMessage Letter(const QString& body, qint32 recipients)
    {
        quenby::MAPIMessage m;
        m.Subject = QStringLiteral("Greetings");
        m.NoteText = body;
        m.RecipCount = recipients;
        return m;
    }

    platform::FakeClock clock;
    QTemporaryDir folder;
};

}  // namespace clienttest
