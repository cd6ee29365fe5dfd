#include "client/orders/PhoneConnectProcedures.h"

#include "client/core/Globals.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "client/orders/Connect.h"
#include "client/orders/LeftOrders.h"
#include "client/core/Orders.h"
#include "client/orders/Scan.h"
#include "platform/VbError.h"

namespace parlova {

namespace {

Orders& PhoneOrders() { return platform::Required(G().PhoneOrders, QStringLiteral("Parlova")); }

QVector<qint32> TimeoutsSetting()
{
    const auto values = Settings::Instance().Timeouts();
    return QVector<qint32>(values.begin(), values.end());
}

}  // namespace

void ConnectPhone(qint32 port)
{
    MainWindow& window = MainWin();
    Orders& orders = PhoneOrders();
    Settings& settings = Settings::Instance();
    corvane::Gate& gate = PhoneGateRef();

    ShowConnectionState(window, false);
    if (const OrderPtr active = orders.ActiveOrder()) {
        const QString head = active->NameOrder().left(4);
        if (head == QLatin1String("Conn") || head == QLatin1String("Scan"))
            return;
    }
    if (gate.connected()) {
        DisconnectPhone(0);
        if (gate.connected())
            return;
    }

    QString portName;
    if (port >= 1)
        portName = QStringLiteral("COM") + QString::number(port);
    else if (settings.LastChoice())
        portName = QStringLiteral("COM") + QString::number(settings.LastPort());

    if (portName.isEmpty()) {
        // An order cut off by the disconnection would stay active and keep
        // the scan from ever starting; it waits at the head instead.
        if (orders.ActiveOrder())
            orders.SetBack();
        auto scan = std::make_shared<Scan>();
        scan->SetUp(settings.StartPort(), settings.EndPort(), settings.PortSpeed(), TimeoutsSetting());
        orders.Add(scan, 1);
    } else {
        if (!SettleLeftOrders(orders, QStringLiteral("the phone"), QString()))
            return;
        auto connect = std::make_shared<Connect>();
        connect->SetUp(portName, settings.PortSpeed(), TimeoutsSetting());
        orders.Add(connect, 1);
    }

    orders.GetCommand();
    ShowConnectionState(window, true);
}

void DisconnectPhone(qint16 mode)
{
    MainWindow& window = MainWin();
    corvane::Gate& gate = PhoneGateRef();

    if (mode != 0) {
        gate.Disconnect();
    } else {
        if (MayCloseWithPending(PhoneOrders(), QStringLiteral("the phone"), QString()))
            gate.Disconnect();
    }

    if (gate.connected()) {
        ShowConnectionState(window, true);
    } else {
        window.Ready();
        window.alertUser(QStringLiteral("Disconnected"));
    }
}

}  // namespace parlova
