#pragma once
// What the message-store window shows, worked out without a widget: the
// location list's items, the grid rows of the store's export, the counter
// line, the sort marks of the headers, the conversation submenus and the
// panel's widths.
#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {
class MessageStore;
}

namespace parlova {

// The items of a conversation submenu ("Send To", "Move To").
struct TalkSubmenu {
    QStringList themes;  // the conversations shown, in the registry's order
    bool nowhere = false;  // no conversation open: one "[nowhere]" item
    bool more = false;     // more than nine: "More conferences..." last
};

// The options panel across a window scaleWidth twips wide: the location
// list grows with the window, never below 4335, and the other controls keep
// their distance from its right edge.
struct StorePanelLayout {
    int list1Width;
    int sideWidth;  // coding, class, report and validity beside the list
};

class MessageStoreTexts {
public:
    // "Phone" for the store's phone memory, "SIM" for its SIM memory, else
    // the memory's name without the quotes the store keeps.
    static QString LocationLabel(const corvane::MessageStore& store, qint32 location);
    // label & ": total " & total & " / free " & (total - occupied).
    static QString LocationItem(const QString& label, qint32 total, qint32 occupied);
    // One item per memory of the store, item k for memory k.
    static QStringList LocationItems(const corvane::MessageStore& store);
    // The same items with the numbers read again from the store; the labels
    // stay those of the items.
    static QStringList RefreshedTotals(const QStringList& items, const corvane::MessageStore& store);

    // The label of item location, up to its first ":"; empty for an item
    // without ":" or a location with no item.
    static QString StoreListName(const QStringList& items, qint32 location);
    // The index, in decimal, of the first item that begins with name; "-1"
    // when none does. An empty name names nothing.
    static QString FindStoreListItem(const QStringList& items, const QString& name);

    // The rows of an export of GetAllRecords with at least six fields, in
    // order; shorter rows (the empty piece after the last separator too)
    // are left out.
    static QList<QStringList> ExportRows(const QString& exported);
    // The six fields of GetRecord's row, or an empty list for any other
    // number of fields (no such message).
    static QStringList RecordFields(const QString& record);

    // "12 chr", "200 chr / 2 parts", then ", $0.12" when showCost.
    static QString Counter(qint32 length, qint32 parts, float cost, bool showCost, const QString& currencySign);
    // The counter of text sent with coding, by the settings.
    static QString MessageCounter(const QString& text, qint32 coding);

    // The grid's header names and their sort marks: "\/" after the name of
    // an ascending order (1, 5), "/\" after a descending one (2, 6).
    static const QStringList& HeaderNames();
    static QString HeaderText(const QString& name, qint32 sortOrder);
    // The order after a click: the pair of "Loc" and "Index" toggles 1 and
    // 2, any other column 5 and 6; one order serves all columns.
    static qint32 NextSortOrder(qint32 current, bool pair);

    // The submenu for the conversations open, by theme.
    static TalkSubmenu Submenu(const QStringList& themes);

    static StorePanelLayout PanelLayout(double scaleWidth);
    // The options panel's height.
    static constexpr int kPanelHeight = 2520;
};

}  // namespace parlova
