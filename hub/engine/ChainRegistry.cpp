#include "hub/engine/ChainRegistry.h"

#include "hub/engine/ConnectChain.h"
#include "hub/engine/ScanChain.h"

#include <QHash>

namespace corvane {

namespace {

QHash<QString, ChainFactory>& Table()
{
    static QHash<QString, ChainFactory> table = [] {
        QHash<QString, ChainFactory> t;
        t.insert(QStringLiteral("Connect"), &ConnectSetUp);
        t.insert(QStringLiteral("Scan"), &ScanSetUp);
        return t;
    }();
    return table;
}

}  // namespace

void ChainRegistry::Register(const QString& name, ChainFactory factory) { Table().insert(name, std::move(factory)); }

void ChainRegistry::Unregister(const QString& name) { Table().remove(name); }

bool ChainRegistry::IsRegistered(const QString& name) { return Table().contains(name); }

const ChainFactory* ChainRegistry::Find(const QString& name)
{
    auto& table = Table();
    auto it = table.constFind(name);
    return it == table.constEnd() ? nullptr : &it.value();
}

QStringList ChainRegistry::Names() { return Table().keys(); }

}  // namespace corvane
