#pragma once
// What the conversation window's three dynamic submenus hold each time
// their menu opens: Move To and Join list the other conversations, Send To
// the conferee lines. Every item knows what it stands for, so a
// conversation called "[nowhere]" is still a conversation.
#include <QList>
#include <QString>
#include <QStringList>

namespace parlova {

struct SubmenuItem {
    enum Role { Theme, Conferee, Nowhere, None, MoreConferences, MoreConferees };
    Role role;
    // The theme or the conferee line; the fixed caption for the others.
    QString text;
};

class TalkSubmenus {
public:
    // At most nine items.
    static constexpr int kItems = 9;

    // The open conversations in the registry's order without self: all of
    // them up to ten open, else from the first nine with item 9
    // "More conferences..."; "[nowhere]" when self is the only one.
    static QList<SubmenuItem> Conversations(const QStringList& themes, const QString& self);
    // The lines, up to nine; from ten on the first eight and
    // "More conferees..."; "[none]" without any.
    static QList<SubmenuItem> Conferees(const QStringList& lines);

    // The picker's caption for "More conferees...".
    static QString AllConfereesCaption(const QString& theme) { return QStringLiteral("All conferees of ") + theme; }
};

}  // namespace parlova
