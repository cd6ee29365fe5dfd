#include "client/orders/Scan.h"
#include "hub/engine/BagKeys.h"

#include "client/core/WindowSeams.h"

namespace parlova {

void Scan::SetUp(qint32 firstPort, qint32 lastPort, qint32 baud, const QVector<qint32>& timeouts)
{
    firstPort_ = firstPort;
    lastPort_ = lastPort;
    baud_ = baud;
    timeouts_ = timeouts;
    caption_ = QStringLiteral("Scan COM Ports from ") + QString::number(firstPort) + QStringLiteral(" to ") +
               QString::number(lastPort);
}

QString Scan::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        auto command = std::make_shared<corvane::PhoneCommand>();
        // The chain reads its first port while it is set up.
        command->setBag(bag::PortName, QStringLiteral("COM") + QString::number(firstPort_));
        command->setBag(bag::NextPort, firstPort_);
        command->setBag(bag::MaxPort, lastPort_);
        command->setBag(bag::PortBaud, baud_);
        command->setBag(bag::PortTimeouts, QVariant::fromValue(timeouts_));
        command->SetUp(QStringLiteral("Scan"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), key_, 5000, false,
                       false, dorrak::mbtLightCommand);
        PhoneGateRef().Push(command);
        return QString();
    });
}

QString Scan::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        PortDialog& dialog = PortDlg();
        // A dialog left open from an earlier scan goes first, or unloading
        // it later would take the new entries with it.
        if (dialog.Visible())
            dialog.Unload();
        if (command.Result() != dorrak::NOT_EXECUTED) {
            for (qint64 n = firstPort_; n <= lastPort_; ++n) {
                const QString number = QString::number(n);
                if (!BagBoolean(command, bag::PhATs + number))
                    continue;
                const QString nameKey = QString(bag::PhNames) + number;
                const QString makerKey = QString(bag::PhMakers) + number;
                const QString name =
                    command.Items().Exists(nameKey) ? BagText(command, nameKey) : QStringLiteral("N/A");
                const QString maker =
                    command.Items().Exists(makerKey) ? BagText(command, makerKey) : QStringLiteral("N/A");
                dialog.AddPort(static_cast<qint32>(n), name, maker);
            }
        }
        waitingReply_ = false;
        finished_ = true;
        PhoneGateRef().Disconnect();
        ShowConnectionState(MainWin(), false);
        result_.clear();
        dialog.Show();
        return QString();
    });
}

}  // namespace parlova
