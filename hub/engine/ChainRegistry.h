#pragma once
// The named step chains that PhoneCommand::SetUp knows for
// mbtLightCommand: a name maps to a factory that puts the chain's preset
// values into the command's Bag and returns its first step. The engine
// registers "Connect" and "Scan" itself; the message chains register their
// own names (call their registration once before the first SetUp that
// needs them). Names are compared exactly, letter case included.
#include "hub/engine/Step.h"
#include "terminal/CommPort.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace corvane {

// What SetUp was given; omitted arguments are "", 0, False and 0.
struct SetUpArguments {
    QString Command;
    QString Answer;
    QString ErrorAnswer;
    qint32 Owner = 0;
    qint32 TimeOut = 0;
    bool StartTransaction = false;
    bool EndTransaction = false;
    dorrak::CommandSort sort = dorrak::mbtNotAssigned;
};

// May raise (platform::VbError or any std::exception): SetUp then returns
// "description (number)" and leaves the command unset.
using ChainFactory = std::function<StepPtr(PhoneCommand& command, const SetUpArguments& arguments)>;

class ChainRegistry {
public:
    // Adds the name, or replaces the factory already registered under it.
    static void Register(const QString& name, ChainFactory factory);
    static void Unregister(const QString& name);
    static bool IsRegistered(const QString& name);
    // nullptr when the name is not registered.
    static const ChainFactory* Find(const QString& name);
    static QStringList Names();
};

}  // namespace corvane
