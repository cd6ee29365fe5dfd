#pragma once
// The fixed two-level menu a remote party walks to reach the registry's
// remote functions: "Conference" (List, Send), "Conferee" (List, Send) and
// "Last". Nodes are keyed by their number written in decimal.
#include "client/conversations/XMenuItem.h"

#include "platform/Collection.h"

#include <QString>

namespace parlova {

class ExtenderMenu {
public:
    ExtenderMenu();

    // The node chosen below parent: a numeric choice is the next digit of
    // the number, any other the caption (letter case counts). -1 when none.
    qint32 Submenu(qint32 parent, const QString& choice) const;
    // The level below parent as the remote party reads it: per node its
    // caption, ">" and the parameters for a leaf, CR LF.
    QString NextStep(qint32 parent) const;
    // 0 when there is no such node.
    qint32 FuncNum(qint32 node) const;
    bool IfLeaf(qint32 node) const;

private:
    void add(qint32 number, qint32 parent, const char* caption, qint32 function, const char* parameters = "");
    const XMenuItem* find(const QString& key) const;

    platform::Collection<XMenuItem> items_;
};

}  // namespace parlova
