#include "client/conversations/TalkSubmenus.h"

namespace parlova {

QList<SubmenuItem> TalkSubmenus::Conversations(const QStringList& themes, const QString& self)
{
    const bool more = themes.size() > 10;
    const qsizetype limit = more ? kItems : themes.size();
    QList<SubmenuItem> items;
    for (qsizetype i = 0; i < limit; ++i)
        if (themes[i] != self)
            items.append({SubmenuItem::Theme, themes[i]});
    if (limit == 1)
        items = {{SubmenuItem::Nowhere, QStringLiteral("[nowhere]")}};
    if (more) {
        items = items.mid(0, kItems - 1);
        items.append({SubmenuItem::MoreConferences, QStringLiteral("More conferences...")});
    }
    return items;
}

QList<SubmenuItem> TalkSubmenus::Conferees(const QStringList& lines)
{
    if (lines.isEmpty())
        return {{SubmenuItem::None, QStringLiteral("[none]")}};
    const bool more = lines.size() > kItems;
    QList<SubmenuItem> items;
    for (const QString& line : lines.mid(0, more ? kItems - 1 : kItems))
        items.append({SubmenuItem::Conferee, line});
    if (more)
        items.append({SubmenuItem::MoreConferees, QStringLiteral("More conferees...")});
    return items;
}

}  // namespace parlova
