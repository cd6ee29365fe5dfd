#pragma once
// One recipient or originator.
#include <QString>
#include <QtGlobal>

namespace quenby {

constexpr qint32 kRecipTo = 1;  // RecipClass of a "to" recipient

struct MapiRecip {
    qint32 Reserved = 0;
    qint32 RecipClass = 0;
    QString Name;
    QString Address;
    qint32 EIDSize = 0;
    QString EntryID;
};

}  // namespace quenby
