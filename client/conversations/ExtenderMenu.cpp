#include "client/conversations/ExtenderMenu.h"

namespace parlova {

ExtenderMenu::ExtenderMenu()
{
    add(1, 0, "Conference", 0);
    add(2, 0, "Conferee", 0);
    add(11, 1, "List", 1);
    add(12, 1, "Send", 2, "conference,message");
    add(21, 2, "List", 3);
    add(22, 2, "Send", 4, "tel/email,message");
    add(3, 0, "Last", 5);
}

void ExtenderMenu::add(qint32 number, qint32 parent, const char* caption, qint32 function, const char* parameters)
{
    items_.Add(XMenuItem{number, parent, QString::fromLatin1(caption), function, QString::fromLatin1(parameters)},
               QString::number(number));
}

const XMenuItem* ExtenderMenu::find(const QString& key) const
{
    return items_.Exists(key) ? &items_.Item(key) : nullptr;
}

qint32 ExtenderMenu::Submenu(qint32 parent, const QString& choice) const
{
    bool numeric = false;
    choice.toLongLong(&numeric);
    if (numeric) {
        const QString key = (parent == 0 ? QString() : QString::number(parent)) + choice.trimmed();
        const XMenuItem* item = find(key);
        return item ? item->ItemNumber : -1;
    }
    for (const XMenuItem& item : items_)
        if (item.ParentNumber == parent && item.Caption == choice)
            return item.ItemNumber;
    return -1;
}

QString ExtenderMenu::NextStep(qint32 parent) const
{
    QString text;
    for (const XMenuItem& item : items_) {
        if (item.ParentNumber != parent)
            continue;
        text += item.Caption;
        if (item.FunctionNumber != 0)
            text += QLatin1Char('>') + item.Parameters;
        text += QStringLiteral("\r\n");
    }
    return text;
}

qint32 ExtenderMenu::FuncNum(qint32 node) const
{
    const XMenuItem* item = find(QString::number(node));
    return item ? item->FunctionNumber : 0;
}

bool ExtenderMenu::IfLeaf(qint32 node) const { return FuncNum(node) != 0; }

}  // namespace parlova
