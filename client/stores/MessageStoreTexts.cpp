#include "client/stores/MessageStoreTexts.h"

#include "client/core/GridSort.h"
#include "client/core/Module1.h"
#include "client/core/Settings.h"
#include "hub/messages/MessageStore.h"

#include <algorithm>

namespace parlova {

namespace {
constexpr int kFields = 6;
}

QString MessageStoreTexts::LocationLabel(const corvane::MessageStore& store, qint32 location)
{
    if (location == store.GetPhoneStore())
        return QStringLiteral("Phone");
    if (location == store.GetSIMStore())
        return QStringLiteral("SIM");
    QString name = store.LocationName(location);
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return name;
}

QString MessageStoreTexts::LocationItem(const QString& label, qint32 total, qint32 occupied)
{
    return label + QStringLiteral(": total ") + QString::number(total) + QStringLiteral(" / free ") +
           QString::number(total - occupied);
}

QStringList MessageStoreTexts::LocationItems(const corvane::MessageStore& store)
{
    QStringList items;
    for (qint32 k = 0; k < store.LocationsCount(); ++k)
        items << LocationItem(LocationLabel(store, k), store.LocationTotal(k), store.LocationOccupied(k));
    return items;
}

QStringList MessageStoreTexts::RefreshedTotals(const QStringList& items, const corvane::MessageStore& store)
{
    QStringList refreshed;
    for (qint32 k = 0; k < items.size(); ++k)
        refreshed << LocationItem(StoreListName(items, k), store.LocationTotal(k), store.LocationOccupied(k));
    return refreshed;
}

QString MessageStoreTexts::StoreListName(const QStringList& items, qint32 location)
{
    if (location < 0 || location >= items.size())
        return QString();
    const qsizetype colon = items.at(location).indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : items.at(location).left(colon);
}

QString MessageStoreTexts::FindStoreListItem(const QStringList& items, const QString& name)
{
    // An empty name would begin every item: a row holding no message must
    // not pass for the first memory's.
    if (!name.isEmpty())
        for (qint32 k = 0; k < items.size(); ++k)
            if (items.at(k).startsWith(name))
                return QString::number(k);
    return QStringLiteral("-1");
}

QList<QStringList> MessageStoreTexts::ExportRows(const QString& exported)
{
    QList<QStringList> rows;
    const QString column = corvane::MessageStore::GetColumnSeparater();
    for (const QString& row : exported.split(corvane::MessageStore::GetRowSeparater())) {
        const QStringList fields = row.split(column);
        if (fields.size() >= kFields)
            rows << fields;
    }
    return rows;
}

QStringList MessageStoreTexts::RecordFields(const QString& record)
{
    const QStringList fields = record.split(corvane::MessageStore::GetColumnSeparater());
    return fields.size() == kFields ? fields : QStringList();
}

QString MessageStoreTexts::Counter(qint32 length, qint32 parts, float cost, bool showCost, const QString& currencySign)
{
    QString text = QString::number(length) + QStringLiteral(" chr");
    if (parts > 1)
        text += QStringLiteral(" / ") + QString::number(parts) + QStringLiteral(" parts");
    if (showCost)
        text += QStringLiteral(", ") + currencySign + QString::number(double(cost), 'f', 2);
    return text;
}

QString MessageStoreTexts::MessageCounter(const QString& text, qint32 coding)
{
    qint32 length = 0;
    qint32 parts = 0;
    float cost = 0;
    CountSMSParts(length, parts, cost, text, coding);
    const Settings& settings = Settings::Instance();
    return Counter(length, parts, cost, settings.ShowCost(), settings.CurrencySign());
}

const QStringList& MessageStoreTexts::HeaderNames()
{
    static const QStringList names{QStringLiteral("Loc"),       QStringLiteral("Index"),
                                   QStringLiteral("Status"),    QStringLiteral("Telephone"),
                                   QStringLiteral("DateTime"), QStringLiteral("Subject")};
    return names;
}

QString MessageStoreTexts::HeaderText(const QString& name, qint32 sortOrder)
{
    return GridSort::HeaderText(name, sortOrder);
}

qint32 MessageStoreTexts::NextSortOrder(qint32 current, bool pair) { return GridSort::NextOrder(current, pair); }

TalkSubmenu MessageStoreTexts::Submenu(const QStringList& themes)
{
    TalkSubmenu menu;
    const qsizetype shown = themes.size() <= 9 ? themes.size() : 8;
    menu.themes = themes.mid(0, shown);
    menu.nowhere = themes.isEmpty();
    menu.more = themes.size() > 9;
    return menu;
}

StorePanelLayout MessageStoreTexts::PanelLayout(double scaleWidth)
{
    const int w = std::max(0, static_cast<int>(scaleWidth - 7410));
    return {w + 4335, 7410 - 4335};
}

}  // namespace parlova
