#pragma once
// One node of the extender's menu: a record with no behaviour of its own.
#include <QString>
#include <QtGlobal>

namespace parlova {

struct XMenuItem {
    // The parent's number followed by one decimal digit: 1, 2, 3 on the top
    // level, 11, 12, 21, 22 below.
    qint32 ItemNumber = 0;
    // 0 on the top level.
    qint32 ParentNumber = 0;
    QString Caption;
    // The remote function of a leaf, 1 to 5; 0 for a node that opens a level.
    qint32 FunctionNumber = 0;
    // What the function takes, shown after ">".
    QString Parameters;
};

}  // namespace parlova
