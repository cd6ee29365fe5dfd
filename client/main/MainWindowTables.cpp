#include "client/main/MainWindowTables.h"

namespace parlova {

namespace {

MenuItemSpec Menu(const char* name, const char* caption)
{
    return {QString::fromLatin1(name), QString::fromLatin1(caption), QString(), 0};
}

MenuItemSpec Item(const char* name, const char* caption, const char* shortcut = "")
{
    return {QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(shortcut), 1};
}

ToolButtonSpec Button(qint32 tag, const char* toolTip)
{
    return {tag, QString::fromLatin1(toolTip), QString::number(tag)};
}

ToolButtonSpec Connect() { return {11, QStringLiteral("Connect"), QStringLiteral("Connect"), true}; }
ToolButtonSpec Disconnect() { return {12, QStringLiteral("Disconnect"), QStringLiteral("Disconnect"), true}; }
ToolButtonSpec Checkable(qint32 tag, const char* toolTip)
{
    return {tag, QString::fromLatin1(toolTip), QString::number(tag), true};
}
ToolButtonSpec DropDown(qint32 tag, const char* toolTip)
{
    return {tag, QString::fromLatin1(toolTip), QString::number(tag), false, true};
}

}  // namespace

const std::vector<MenuItemSpec>& MainMenuItems()
{
    static const std::vector<MenuItemSpec> items = {
        Menu("mnuFile", "&File"),
        Item("mnuFileNew", "&New", "Ctrl+N"),
        Item("mnuFileOpen", "&Open...", "Ctrl+O"),
        Item("mnuFileSep1", "-"),
        Item("mnuFileExit", "E&xit"),
        Menu("mnuTools", "Too&ls"),
        Item("mnuToolsConnect", "&Connect...", "F6"),
        Item("mnuToolsDisconnect", "&Disconnect", "Shift+F6"),
        Item("mnuToolsMessageStore", "Message &Store", "F11"),
        Item("mnuToolsPhonebook", "&Phonebook", "F12"),
        Item("mnuToolsSep1", "-"),
        Item("mnuToolsConnectEmail", "Connect &Email"),
        Item("mnuToolsDisconnectEmail", "D&isconnect Email"),
        Item("mnuToolsSep2", "-"),
        Item("mnuToolsToolbar", "&Toolbar"),
        Item("mnuToolsOptions", "&Options..."),
        Menu("mnuHelp", "&Help"),
        Item("mnuHelpHelp", "&Help", "F1"),
        Item("mnuHelpHelpContent", "Help &Content"),
        Item("mnuHelpWeb", "Parlova on the &Web"),
        Item("mnuHelpAbout", "&About"),
    };
    return items;
}

const std::vector<ToolButtonSpec>& ToolbarButtons(ToolbarId toolbar)
{
    static const std::vector<ToolButtonSpec> mdi = {
        Button(1, "New"), Button(2, "Open"), Connect(), Disconnect(), Button(13, "Phonebooks"),
        Button(28, "Message Store"),
    };
    static const std::vector<ToolButtonSpec> talk = {
        Button(1, "New"),
        Button(2, "Open"),
        Button(3, "Save"),
        Button(4, "Clear message"),
        Button(5, "Cut"),
        Button(6, "Copy"),
        Button(7, "Paste"),
        Button(8, "Send"),
        Button(25, "Mark Read"),
        Button(10, "Find"),
        Connect(),
        Disconnect(),
        Button(13, "Phonebook"),
        Button(28, "Message Store"),
        Checkable(14, "Message Options"),
        DropDown(15, "Font and foreground colour"),
        DropDown(26, "Background colour"),
    };
    static const std::vector<ToolButtonSpec> book = {
        Button(1, "New"),
        Button(2, "Open"),
        Button(27, "Talk to Contact"),
        Button(19, "Add Contact to SIM"),
        Button(20, "Add Contact to Phone"),
        Button(21, "Edit Contact"),
        Button(22, "Delete Contact"),
        Button(23, "Move Contact"),
        Button(24, "Copy Contact"),
        Connect(),
        Disconnect(),
        Button(28, "Message Store"),
    };
    static const std::vector<ToolButtonSpec> store = {
        Button(1, "New"),         Button(2, "Open"),   Button(4, "Clear"),
        Button(5, "Cut"),         Button(6, "Copy"),   Button(7, "Paste"),
        Button(29, "Store"),      Button(127, "Talk"), Button(122, "Delete Message"),
        Connect(),                Disconnect(),        Button(13, "Phonebook"),
        Checkable(114, "Message Options"),
    };
    switch (toolbar) {
    case tlbTalk:
        return talk;
    case tlbBook:
        return book;
    case tlbStore:
        return store;
    case tlbMDI:
    default:
        return mdi;
    }
}

QString ToolbarName(ToolbarId toolbar)
{
    switch (toolbar) {
    case tlbTalk:
        return QStringLiteral("tlbTalk");
    case tlbBook:
        return QStringLiteral("tlbBook");
    case tlbStore:
        return QStringLiteral("tlbStore");
    case tlbMDI:
    default:
        return QStringLiteral("tlbMDI");
    }
}

const std::vector<QString>& DropDownEntries()
{
    static const std::vector<QString> entries = {QStringLiteral("Conferees list"), QStringLiteral("New message"),
                                                 QStringLiteral("Log")};
    return entries;
}

}  // namespace parlova
