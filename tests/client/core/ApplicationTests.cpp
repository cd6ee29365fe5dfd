// The application object without windows: what start-up creates and in what
// order, what shut-down releases, and a second object starting clean.
#include "client/core/Application.h"
#include "client/core/Orders.h"
#include "client/support/ClientRig.h"
#include "client/support/SettingsStoreFixture.h"

#include "email/EmailGate.h"
#include "email/QuenbyGlobalObjs.h"
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/Gate.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"
#include "hub/messages/SMSClassSequencer.h"
#include "platform/UserSettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

class ApplicationLife : public SettingsStoreTest {
protected:
    void SetUp() override
    {
        SettingsStoreTest::SetUp();
        qunsetenv(quenby::kServiceEnvVar);
    }
};

// Each global as start-up left it, to see it gone when its release is told.
struct Watched {
    std::map<QString, std::weak_ptr<void>> objects;
    QStringList steps;
    QStringList stillAlive;

    void watch(parlova::Globals& g)
    {
        objects = {{"PhoneGate", g.PhoneGate},     {"MailGate", g.MailGate},         {"PhoneOrders", g.PhoneOrders},
                   {"MailOrders", g.MailOrders},   {"PhoneBooks", g.PhoneBooks},     {"Conferences", g.Conferences},
                   {"PhoneMessages", g.PhoneMessages}};
    }
    void step(const QString& s)
    {
        steps << s;
        const QString name = s.section(QLatin1Char(' '), 1);
        if (s.startsWith(QLatin1String("release")) && !objects.at(name).expired())
            stillAlive << name;
    }
};

}  // namespace

TEST_F(ApplicationLife, StartUpCreatesInOrderAndShutDownReleasesInOrder)
{
    QTemporaryDir logs;
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Options"), QStringLiteral("LogToFile"),
                          QStringLiteral("True"));
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Options"), QStringLiteral("WorkingFolder"),
                          logs.path());
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("SMSClassSequencer"), QStringLiteral("LastNumber"),
                          QStringLiteral("41"));

    Watched w;
    auto registry = std::make_shared<clienttest::RecordingConferences>();
    {
        parlova::Application app;
        app.Trace = [&](const QString& s) { w.step(s); };
        app.MakeConferences = [&] { return registry; };
        app.StartUp();
        parlova::Globals& g = parlova::G();
        EXPECT_EQ(&g, &app.globals());
        EXPECT_EQ(w.steps, (QStringList{"create MailGate", "create PhoneGate", "create PhoneOrders", "create MailOrders",
                                        "create PhoneBooks", "create Conferences", "create PhoneMessages"}));
        EXPECT_EQ(g.Conferences, registry);
        EXPECT_EQ(app.settings().EmailType(), g.MailGate->ServiceType());
        EXPECT_EQ(app.settings().WorkingFolder(), logs.path()) << "the options were loaded";
        EXPECT_TRUE(QFile::exists(logs.path() + "/ParlovaHubLog.txt")) << "the gate's log started";
        EXPECT_TRUE(corvane::ChainRegistry::IsRegistered(QStringLiteral("ReadSMS")));
        EXPECT_EQ(g.FindDirection, 1);
        EXPECT_EQ(corvane::SMSClassSequencer::LastNumber(), 41) << "the gate loaded the counter";
        EXPECT_EQ(corvane::SMSClassSequencer::NextReference(), 42);

        // A conversation still open keeps everything.
        w.watch(g);
        w.steps.clear();
        registry->open(QStringLiteral("Talk"));
        EXPECT_FALSE(app.ShutDown());
        EXPECT_TRUE(w.steps.isEmpty());
        EXPECT_TRUE(g.PhoneGate && g.MailGate && g.PhoneMessages);

        registry->talks.clear();
        EXPECT_TRUE(app.ShutDown());
        EXPECT_EQ(w.steps, (QStringList{"release PhoneMessages", "release PhoneOrders", "release MailOrders",
                                        "release PhoneBooks", "release Conferences", "release PhoneGate",
                                        "release MailGate"}));
        w.stillAlive.removeAll(QStringLiteral("Conferences"));  // the test holds the registry
        EXPECT_TRUE(w.stillAlive.isEmpty()) << w.stillAlive.join(' ').toStdString();
        EXPECT_EQ(value("SMSClassSequencer", "LastNumber"), "42");
        app.settings().DateTimeFormat(QStringLiteral("HH:mm"));
    }

    // The next application object knows nothing of the first.
    parlova::Application second;
    EXPECT_EQ(&parlova::Application::Current(), &second);
    EXPECT_FALSE(parlova::G().PhoneGate || parlova::G().Conferences || parlova::G().PhoneOrders);
    EXPECT_EQ(parlova::Settings::Instance().DateTimeFormat(), QStringLiteral("yyyy/MM/dd  HH:mm"));
    EXPECT_EQ(parlova::Windows().frmMDI(), nullptr);
    second.StartUp();
    EXPECT_EQ(parlova::G().Conferences, nullptr) << "no maker, no registry";
    EXPECT_TRUE(parlova::G().PhoneGate);
}

TEST(Application, AWindowLeavesItsPlaceWhenItGoes)
{
    parlova::Application app;
    clienttest::RecordingMainWindow first;
    auto window = std::make_unique<clienttest::RecordingMainWindow>();
    {
        parlova::WindowRegistration r = app.windows().Register(*window);
        EXPECT_EQ(app.windows().frmMDI(), window.get());
        parlova::WindowRegistration moved = std::move(r);
        EXPECT_EQ(app.windows().frmMDI(), window.get()) << "a moved registration still holds the place";
    }
    EXPECT_EQ(app.windows().frmMDI(), nullptr);
    EXPECT_THROW(parlova::MainWin(), std::exception);

    // A registration outliving the window set, and one replaced by another.
    parlova::WindowRegistration late;
    {
        parlova::Application inner;
        late = inner.windows().Register(first);
        parlova::WindowRegistration next = inner.windows().Register(*window);
        late.Release();
        EXPECT_EQ(inner.windows().frmMDI(), window.get()) << "only its own place is emptied";
        late = inner.windows().Register(first);
    }
    late.Release();
}
