#pragma once
// The client's orders against the real gate and the simulated phone on a
// pseudo-terminal, with recording stand-ins for the windows. One round is
// 50 ms of the fake clock: the port ticks every round, the gate's engine
// every second round and the main loop every sixth (its 300 ms timer).
#include "client/core/Globals.h"
#include "client/main/MainLoop.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "client/core/Orders.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "client/core/PhoneProfile.h"
#include "client/orders/QueryPhone.h"
#include "email/EmailLetter.h"
#include "hub/engine/Gate.h"
#include "hub/messages/BookRecords.h"
#include "support/ui/MessageBoxRecorder.h"
#include "hub/GateRig.h"
#include "support/PhoneFixture.h"
#include "tools/phonesim/ConnectCommands.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace orderstest {

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
    std::map<QString, std::unique_ptr<RecordingTalk>> talks;
    std::map<QString, QString> conferees;  // number -> name
    std::vector<Arrival> arrivals;
    QString putMessageAnswer;

    RecordingTalk& open(const QString& theme)
    {
        auto& slot = talks[theme];
        if (!slot)
            slot = std::make_unique<RecordingTalk>();
        return *slot;
    }

    bool TalkExist(const QString& theme) override { return talks.count(theme) > 0; }
    parlova::TalkWindow& Talk(const QString& theme) override
    {
        auto it = talks.find(theme);
        if (it == talks.end())
            platform::Raise(9, QStringLiteral("Conference"), QStringLiteral("Subscript out of range"));
        return *it->second;
    }
    bool ConfereeExist(const QString& key) override { return conferees.count(key) > 0; }
    QString ConfereeName(const QString& key) override { return conferees.at(key); }
    QString PutMessage(const QString& number, const QString& text, bool isReport, qint32 mr,
                       const QDateTime& discharge) override
    {
        arrivals.push_back({number, text, isReport, mr, discharge});
        return putMessageAnswer;
    }
    QString PutEmailMessage(const quenby::EmailLetter&) override { return QString(); }
};

// A port number that maps to no device while the object lives.
using UnmappedPort = gatetest::UnmappedPort;

class ClientRig : public gatetest::Rounds {
public:
    explicit ClientRig(int comPort = 7) : phone(comPort)
    {
        parlova::Globals& g = parlova::G();
        gate = parlova::Globals::NewPhoneGate();
        orders = std::make_shared<parlova::Orders>();
        g.PhoneGate = gate;
        g.PhoneOrders = orders;
        g.PhoneBooks = std::make_shared<corvane::BookRecords>();
        parlova::ConnectedPhone().Reset();
        parlova::WindowSet& w = parlova::Windows();
        w.frmMDI = &window;
        w.frmPort = &portDialog;
        w.Conferences = &conferences;

        parlova::Settings& s = parlova::Settings::Instance();
        s.LastChoice(true);
        s.LastPort(comPort);
        s.JoinParts(true);
        s.SimplifiedLog(false);
        s.DateTimeFormat(QStringLiteral("yyyy/MM/dd  HH:mm"));
    }
    ~ClientRig()
    {
        parlova::Globals& g = parlova::G();
        g.PhoneGate.reset();
        g.PhoneOrders.reset();
        g.PhoneBooks.reset();
        parlova::Windows() = parlova::WindowSet{};
        parlova::Settings& s = parlova::Settings::Instance();
        s.ScanAllPorts(true);
        s.StartPort(1);
        s.EndPort(256);
        s.LastPort(0);
        s.JoinParts(true);
        s.SimplifiedLog(false);
    }
    ClientRig(const ClientRig&) = delete;
    ClientRig& operator=(const ClientRig&) = delete;

    testsupport::PhoneFixture phone;
    // No box ever waits for a person; a test's own recorder comes first.
    platform::MessageBoxRecorder anyBox;
    std::shared_ptr<corvane::Gate> gate;
    std::shared_ptr<parlova::Orders> orders;
    RecordingMainWindow window;
    RecordingPortDialog portDialog;
    RecordingConferences conferences;
    parlova::MainLoop loop;

    phonesim::PhoneSim& sim() { return phone.sim(); }
    phonesim::ConnectProfile& profile() { return sim().state().get<phonesim::ConnectProfile>(); }

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
        return runUntil([&] { return !orders->ActiveOrder() && orders->Count() == 0; }, maxMs);
    }

    // Connects through the connect procedure on the remembered port, and
    // lets the main loop see the connection.
    bool connect()
    {
        parlova::ConnectPhone(0);
        const bool ok = runUntilIdle() && gate->connected();
        runFor(300);
        window.calls.clear();
        window.alerts.clear();
        return ok && loop.PhoneWasConnected();
    }
};

// A query order for the phone, from the conversation theme.
inline std::shared_ptr<parlova::QueryPhone> Query(const QString& text,
                                                       const QString& theme = QStringLiteral("Talk"))
{
    auto q = std::make_shared<parlova::QueryPhone>();
    q->SetUp(text, theme);
    return q;
}

}  // namespace orderstest
