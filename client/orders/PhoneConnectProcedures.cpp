#include "client/orders/PhoneConnectProcedures.h"

#include "client/main/Globals.h"
#include "client/main/Settings.h"
#include "client/main/WindowSeams.h"
#include "client/orders/ConnectOrder.h"
#include "client/orders/ModalQuestion.h"
#include "client/orders/Orders.h"
#include "client/orders/ScanOrder.h"
#include "platform/MessageBox.h"
#include "platform/VbError.h"

namespace parlova {

namespace {

const QString kCRLF = QStringLiteral("\r\n");
constexpr int kYesNoCancelQuestion = platform::vbYesNoCancel | platform::vbQuestion;  // 35
constexpr int kYesNoQuestion = platform::vbYesNo | platform::vbQuestion;              // 36

Orders& PhoneOrders()
{
    Orders* orders = G().PhoneOrders.get();
    if (!orders)
        platform::Raise(91, QStringLiteral("Parlova"), QStringLiteral("Object variable or With block variable not set"));
    return *orders;
}

QString Line(const Order& order) { return order.NameOrder() + QStringLiteral(" from ") + order.Owner(); }

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
        auto scan = std::make_shared<ScanOrder>();
        scan->SetUp(settings.StartPort(), settings.EndPort(), settings.PortSpeed(), TimeoutsSetting());
        orders.Add(scan, 1);
    } else {
        int first = 0;
        int second = 0;
        if (const OrderPtr active = orders.ActiveOrder()) {
            first = ModalQuestion::Ask(QStringLiteral("When disconnecting the following order was under processing:") +
                                           kCRLF + kCRLF + Line(*active) + kCRLF + kCRLF +
                                           QStringLiteral("Do you want to try process this order again?"),
                                       kYesNoCancelQuestion);
            if (first == platform::vbCancel)
                return;
        }
        if (orders.Count() > 0) {
            QString list;
            for (const OrderPtr& order : orders)
                list += Line(*order) + kCRLF;
            second = ModalQuestion::Ask(
                QStringLiteral("The following orders stand in the queue for processing by the phone:") + kCRLF +
                    kCRLF + list + kCRLF + QStringLiteral("Do you want to leave them in the queue?"),
                kYesNoCancelQuestion);
            if (second == platform::vbCancel)
                return;
        }
        if (second == platform::vbNo)
            orders.RemoveAll();
        if (first == platform::vbYes)
            orders.SetBack();
        else if (first == platform::vbNo)
            orders.RemoveActiveOrder();
        auto connect = std::make_shared<ConnectOrder>();
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
        Orders& orders = PhoneOrders();
        QString list;
        if (const OrderPtr active = orders.ActiveOrder())
            list += Line(*active) + QStringLiteral(" (processing) ") + kCRLF;
        for (const OrderPtr& order : orders)
            list += Line(*order) + kCRLF;
        if (list.isEmpty()) {
            gate.Disconnect();
        } else {
            const int answer = ModalQuestion::Ask(
                QStringLiteral("At the moment some orders stand in a queue to process by the phone:") + kCRLF +
                    kCRLF + list + kCRLF + QStringLiteral("If you close the connection these orders stay in the queue.") +
                    kCRLF + QStringLiteral("When you start new connection, you will choose what to do with them.") +
                    kCRLF + QStringLiteral("Do you want to close the connection with the phone now?"),
                kYesNoQuestion);
            if (answer == platform::vbYes)
                gate.Disconnect();
        }
    }

    if (gate.connected()) {
        ShowConnectionState(window, true);
    } else {
        window.Ready();
        window.alertUser(QStringLiteral("Disconnected"));
    }
}

}  // namespace parlova
