#pragma once
// The one place the program's process-wide objects live. The main window's
// start-up creates them in its order and its unload handler releases them;
// nothing here owns a window.
#include <QString>

#include <memory>
#include <type_traits>

namespace corvane {
class Gate;
class BookRecords;
class MessageStore;
}  // namespace corvane
namespace quenby {
class EmailGate;
}
namespace parlova {
class Orders;
class Conference;
class PhoneProfile;
}  // namespace parlova

namespace parlova {

class Globals {
public:
    static Globals& Instance();

    // A new phone gate with every message chain of the hub registered: the
    // way start-up makes PhoneGate.
    static std::shared_ptr<corvane::Gate> NewPhoneGate();

    std::shared_ptr<corvane::Gate> PhoneGate;
    std::shared_ptr<quenby::EmailGate> MailGate;
    std::shared_ptr<Orders> PhoneOrders;
    std::shared_ptr<Orders> MailOrders;
    std::shared_ptr<corvane::BookRecords> PhoneBooks;
    std::shared_ptr<Conference> Conferences;
    std::shared_ptr<corvane::MessageStore> PhoneMessages;

    // What the connected phone can do: made the first time anyone asks and
    // kept to the end of the process. (A template so that this header needs
    // only the declaration; the caller's file includes the profile's header.)
    template <class Profile = PhoneProfile>
    const std::shared_ptr<PhoneProfile>& ConnectedPhone()
    {
        static_assert(std::is_same_v<Profile, PhoneProfile>);
        if (!connectedPhone_)
            connectedPhone_ = std::make_shared<Profile>();
        return connectedPhone_;
    }

    // The product name; every stored setting of the program lives under it.
    QString AppName = QStringLiteral("Parlova");

    // The locale's default font (InitDefaultFont); the size is always 10.
    QString DefaultFontName;
    int DefaultFontSize = 10;
    int DefaultFontCharset = 1;

    // The state of the last find in conversations.
    QString FindText;
    bool FindMatchCase = false;
    qint16 FindDirection = 0;  // 1 down, 0 up; start-up sets 1
    bool FindAllConferences = false;
    bool FindNewSearch = false;
    QString FindTalkList;
    QString FindStartTheme;
    qint32 FindStartPosition = 0;
    qint32 FindPosition = 0;
    bool FindWrapped = false;

private:
    Globals() = default;
    std::shared_ptr<PhoneProfile> connectedPhone_;
};

// Short for Globals::Instance().
inline Globals& G() { return Globals::Instance(); }

}  // namespace parlova
