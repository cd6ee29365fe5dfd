#include "client/orders/LeftOrders.h"

#include "client/core/ModalQuestion.h"
#include "platform/MessageBoxStyle.h"

namespace parlova {

namespace {
const QString kCRLF = QStringLiteral("\r\n");
constexpr int kYesNoCancelQuestion = platform::vbYesNoCancel | platform::vbQuestion;  // 35
constexpr int kYesNoQuestion = platform::vbYesNo | platform::vbQuestion;              // 36
}  // namespace

QString OrderLine(const Order& order) { return order.NameOrder() + QStringLiteral(" from ") + order.Owner(); }

bool MayCloseWithPending(const Orders& orders, const QString& processor, const QString& title)
{
    QString list;
    if (const OrderPtr active = orders.ActiveOrder())
        list += OrderLine(*active) + QStringLiteral(" (processing) ") + kCRLF;
    for (const OrderPtr& order : orders)
        list += OrderLine(*order) + kCRLF;
    if (list.isEmpty())
        return true;
    return ModalQuestion::Ask(QStringLiteral("At the moment some orders stand in a queue to process by ") + processor +
                                  QStringLiteral(":") + kCRLF + kCRLF + list + kCRLF +
                                  QStringLiteral("If you close the connection these orders stay in the queue.") +
                                  kCRLF +
                                  QStringLiteral("When you start new connection, you will choose what to do with them.") +
                                  kCRLF + QStringLiteral("Do you want to close the connection with ") + processor +
                                  QStringLiteral(" now?"),
                              kYesNoQuestion, title) == platform::vbYes;
}

bool SettleLeftOrders(Orders& orders, const QString& processor, const QString& title)
{
    int first = 0;
    int second = 0;
    if (const OrderPtr active = orders.ActiveOrder()) {
        first = ModalQuestion::Ask(QStringLiteral("When disconnecting the following order was under processing:") +
                                       kCRLF + kCRLF + OrderLine(*active) + kCRLF + kCRLF +
                                       QStringLiteral("Do you want to try process this order again?"),
                                   kYesNoCancelQuestion, title);
        if (first == platform::vbCancel)
            return false;
    }
    if (orders.Count() > 0) {
        QString list;
        for (const OrderPtr& order : orders)
            list += OrderLine(*order) + kCRLF;
        second = ModalQuestion::Ask(QStringLiteral("The following orders stand in the queue for processing by ") +
                                        processor + QStringLiteral(":") + kCRLF + kCRLF + list + kCRLF +
                                        QStringLiteral("Do you want to leave them in the queue?"),
                                    kYesNoCancelQuestion, title);
        if (second == platform::vbCancel)
            return false;
    }
    // The queue first, so that No about the queue and Yes about the active
    // order leave exactly that order waiting.
    if (second == platform::vbNo)
        orders.RemoveAll();
    if (first == platform::vbYes)
        orders.SetBack();
    else if (first == platform::vbNo)
        orders.RemoveActiveOrder();
    return true;
}

}  // namespace parlova
