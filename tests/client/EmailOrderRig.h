#pragma once
// The e-mail side of the client for the send-e-mail order and the e-mail
// connection tests: the real e-mail gate and queue, the main loop, the
// widget-free status panes and a recording conference registry. The
// account comes from the settings store, as the connect procedure takes it.
#include "client/core/Globals.h"
#include "client/main/MainLoop.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "client/core/Orders.h"
#include "email/EmailGate.h"
#include "email/EmailLetter.h"
#include "email/QuenbyGlobalObjs.h"
#include "platform/Clock.h"
#include "support/ui/MessageBoxRecorder.h"
#include "platform/VbError.h"
#include "support/MailTestHelpers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QPair>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace ordertest {

class RecordingTalk : public parlova::TalkWindow {
public:
    QList<QPair<qint32, QString>> entries;
    QString GetConfName(const QString&) override { return QString(); }
    void Log(qint32 kind, const QString& text) override { entries.append({kind, text}); }
};

class RecordingConferences : public parlova::ConferenceRegistry {
public:
    QMap<QString, RecordingTalk> talks;      // the open conversations, by theme
    QMap<QString, QString> conferees;        // address -> display name
    QList<quenby::EmailLetter> letters;      // every letter routed here

    bool TalkExist(const QString& theme) override { return talks.contains(theme); }
    parlova::TalkWindow& Talk(const QString& theme) override
    {
        if (!talks.contains(theme))
            platform::Raise(91, QStringLiteral("Conference"), QStringLiteral("Object variable or With block variable not set"));
        return talks[theme];
    }
    bool ConfereeExist(const QString& key) override { return conferees.contains(key); }
    QString ConfereeName(const QString& key) override { return conferees.value(key); }
    QString PutMessage(const QString&, const QString&, bool, qint32, const QDateTime&) override { return QString(); }
    QString PutEmailMessage(const quenby::EmailLetter& letter) override
    {
        letters.append(letter);
        return QString();
    }
};

class EmailOrderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qunsetenv(quenby::kServiceEnvVar);
        parlova::G().MailGate = std::make_shared<quenby::EmailGate>();
        parlova::G().MailOrders = std::make_shared<parlova::Orders>();
        parlova::Windows() = {&panes, nullptr, &conferences, nullptr, nullptr};
        parlova::Settings& s = parlova::Settings::Instance();
        // The account as a user would enter it; put back afterwards.
        restore_ = [s = &s, was = std::make_tuple(s.UserName(), s.EmailAddress(), s.Login(), s.Password(),
                                                  s.POP3Address(), s.SMTPAddress(), s.WorkingFolder(), s.POP3Port(),
                                                  s.SMTPPort(), s.ServerTimeout(), s.POP3PollInterval(), s.MaxSize(),
                                                  s.SimplifiedLog())] {
            const auto& [user, address, login, password, pop3, smtp, folder, pop3Port, smtpPort, timeout, interval,
                         maxSize, simplified] = was;
            s->UserName(user), s->EmailAddress(address), s->Login(login), s->Password(password);
            s->POP3Address(pop3), s->SMTPAddress(smtp), s->WorkingFolder(folder), s->POP3Port(pop3Port);
            s->SMTPPort(smtpPort), s->ServerTimeout(timeout), s->POP3PollInterval(interval), s->MaxSize(maxSize);
            s->SimplifiedLog(simplified);
        };
        s.UserName(QStringLiteral("Ann")), s.EmailAddress(QStringLiteral("ann@example.org"));
        s.Login(QStringLiteral("ann")), s.Password(QStringLiteral("s3cret"));
        s.POP3Address(QStringLiteral("127.0.0.1")), s.SMTPAddress(QStringLiteral("127.0.0.1"));
        s.WorkingFolder(folder.path()), s.ServerTimeout(30), s.POP3PollInterval(3), s.MaxSize(0);
    }

    void TearDown() override
    {
        if (restore_)
            restore_();
        restore_ = nullptr;
        parlova::Windows() = {};
        parlova::G().MailOrders.reset();
        parlova::G().MailGate.reset();
        qunsetenv(quenby::kServiceEnvVar);
    }

    quenby::EmailGate& gate() { return *parlova::G().MailGate; }
    parlova::Orders& orders() { return *parlova::G().MailOrders; }

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
    platform::MessageBoxRecorder boxes;
    QTemporaryDir folder;
    parlova::MainWindowPanes panes;
    RecordingConferences conferences;
    parlova::MainLoop loop;

private:
    std::function<void()> restore_;
};

}  // namespace ordertest
