#pragma once
// The program's process-wide objects. The application object holds the one
// set and creates and releases them in its start-up and shut-down order;
// nothing here owns a window.
#include <QString>
#include <QStringList>

#include <memory>

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
class ConferenceRegistry;
class PhoneProfile;
}  // namespace parlova

namespace parlova {

struct Globals {
    std::shared_ptr<corvane::Gate> PhoneGate;
    std::shared_ptr<quenby::EmailGate> MailGate;
    std::shared_ptr<Orders> PhoneOrders;
    std::shared_ptr<Orders> MailOrders;
    std::shared_ptr<corvane::BookRecords> PhoneBooks;
    // The conference registry; only the application object sets it.
    std::shared_ptr<ConferenceRegistry> Conferences;
    std::shared_ptr<corvane::MessageStore> PhoneMessages;
    // What the connected phone can do: made with the application object
    // and kept as long as it lives.
    std::shared_ptr<PhoneProfile> ConnectedPhone;

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
    // The conversations still to search, the one being searched first.
    QStringList FindTalkList;
    QString FindStartTheme;
    qint32 FindStartPosition = 0;
    qint32 FindPosition = 0;
    bool FindWrapped = false;
};

// The current application object's globals.
Globals& G();

}  // namespace parlova
