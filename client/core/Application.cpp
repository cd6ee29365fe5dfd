#include "client/core/Application.h"

#include "client/core/Module1.h"
#include "client/core/Orders.h"
#include "client/core/PhoneProfile.h"

#include "email/EmailGate.h"
#include "hub/engine/Gate.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"

namespace parlova {

namespace {
Application* current = nullptr;
}  // namespace

Application::Application() : previous_(current)
{
    globals_.ConnectedPhone = std::make_shared<PhoneProfile>();
    current = this;
}

Application::~Application()
{
    if (current == this) {
        current = previous_;
        return;
    }
    for (Application* a = current; a; a = a->previous_) {
        if (a->previous_ == this) {
            a->previous_ = previous_;
            break;
        }
    }
}

Application& Application::Current()
{
    if (!current) {
        // Kept to the end of the process, as the globals always were.
        static Application* const fallback = new Application();
        (void)fallback;
    }
    return *current;
}

void Application::trace(const char* verb, const char* name)
{
    if (Trace)
        Trace(QLatin1String(verb) + QLatin1Char(' ') + QLatin1String(name));
}

template <class T>
void Application::release(std::shared_ptr<T>& object, const char* name)
{
    if (!object)
        return;
    object.reset();
    trace("release", name);
}

void Application::StartUp()
{
    Globals& g = globals_;
    InitDefaultFont();
    g.AppName = QStringLiteral("Parlova");
    settings_.GetOptions();

    g.MailGate = std::make_shared<quenby::EmailGate>();
    trace("create", "MailGate");
    settings_.EmailType(g.MailGate->ServiceType());

    g.PhoneGate = std::make_shared<corvane::Gate>();
    trace("create", "PhoneGate");
    if (settings_.LogToFile())
        g.PhoneGate->LogToFile(settings_.WorkingFolder());

    g.PhoneOrders = std::make_shared<Orders>();
    trace("create", "PhoneOrders");
    g.MailOrders = std::make_shared<Orders>();
    trace("create", "MailOrders");
    g.PhoneBooks = std::make_shared<corvane::BookRecords>();
    trace("create", "PhoneBooks");
    if (MakeConferences) {
        g.Conferences = MakeConferences();
        trace("create", "Conferences");
    }
    g.PhoneMessages = std::make_shared<corvane::MessageStore>();
    trace("create", "PhoneMessages");

    g.FindDirection = 1;
}

bool Application::ShutDown()
{
    Globals& g = globals_;
    if (g.Conferences && g.Conferences->TalksCount() != 0)
        return false;
    release(g.PhoneMessages, "PhoneMessages");
    release(g.PhoneOrders, "PhoneOrders");
    release(g.MailOrders, "MailOrders");
    release(g.PhoneBooks, "PhoneBooks");
    release(g.Conferences, "Conferences");
    if (g.PhoneGate)
        g.PhoneGate->LogToFile(QString());
    release(g.PhoneGate, "PhoneGate");
    release(g.MailGate, "MailGate");
    return true;
}

Globals& G() { return Application::Current().globals(); }
WindowSet& Windows() { return Application::Current().windows(); }
Settings& Settings::Instance() { return Application::Current().settings(); }

}  // namespace parlova
