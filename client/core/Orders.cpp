#include "client/core/Orders.h"

#include "client/core/WindowSeams.h"
#include "platform/VbError.h"

#include <limits>

namespace parlova {

qint32 Orders::NewKey()
{
    if (keyCounter_ == std::numeric_limits<qint32>::min())
        platform::Raise(platform::vberr::Overflow, QStringLiteral("Orders"), QStringLiteral("Overflow"));
    return --keyCounter_;
}

QString Orders::Add(const OrderPtr& order, qsizetype before)
{
    return platform::TextOrError([&] {
        if (!order)
            platform::RaiseObjectNotSet(QStringLiteral("Orders"));
        order->SetKey(NewKey());
        if (waiting_.IsEmpty() || before == 0)
            waiting_.Add(order);
        else
            waiting_.Add(order, QString(), before);
        return QString();
    });
}

QString Orders::GetCommand()
{
    return platform::TextOrError([&] {
        if (active_ || waiting_.IsEmpty())
            return QString();
        active_ = waiting_.Item(1);
        waiting_.Remove(1);
        const OrderPtr order = active_;
        const QString caption =
            order->Owner().isEmpty() ? order->NameOrder() : order->Owner() + QStringLiteral(". ") + order->NameOrder();
        QString text;
        try {
            order->Start();
            text = order->GetCommand();
        } catch (...) {
            if (active_ == order)
                active_.reset();
            throw;
        }
        // An order that could not push its command would wait for ever and
        // hold up every order behind it.
        if (!text.isEmpty() && active_ == order)
            active_.reset();
        MainWin().ShowProgress(0, caption);
        return text;
    });
}

QString Orders::PutReport(const Reply& reply)
{
    return platform::TextOrError([&] {
        if (reply.IsNone())
            return QString();
        if (!active_)
            return QStringLiteral("No order to process reply");
        const qint32 owner = reply.Owner();
        if (owner != active_->Key()) {
            return QStringLiteral("Order received another`s reply") + QStringLiteral("\r\n") +
                   QStringLiteral("Order ID = ") + QString::number(active_->Key()) +
                   QStringLiteral(", reply owner = ") + QString::number(owner);
        }
        const OrderPtr order = active_;
        const QString text = order->PutReport(reply);
        // Forgotten before the window hears of it, so that nothing the
        // window does can hand this order a second reply.
        if (active_ == order)
            active_.reset();
        const QString result = order->Result();
        if (result.isEmpty())
            MainWin().ShowProgress(100);
        else
            MainWin().alertUser(result);
        return text;
    });
}

QString Orders::SetBack()
{
    return platform::TextOrError([&] {
        if (active_) {
            const OrderPtr order = active_;
            if (waiting_.IsEmpty())
                waiting_.Add(order);
            else
                waiting_.Add(order, QString(), 1);
            active_.reset();
        }
        return QString();
    });
}

void Orders::RemoveAll()
{
    for (qsizetype i = waiting_.Count(); i >= 1; --i)
        waiting_.Remove(i);
}

}  // namespace parlova
