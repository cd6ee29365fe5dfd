#pragma once
// A queue of orders run strictly one at a time: the oldest waiting order
// becomes active, pushes its command, and gets back the reply that carries
// its key. Nothing runs by itself; the main loop calls GetCommand and
// PutReport on its tick. Keys are -1, -2, ... per queue, never reused.
//
// Members that return a text catch run-time errors and return them as
// "description (number)"; what was done before the error stays done.
#include "client/core/Order.h"

#include "platform/Collection.h"

#include <QString>

namespace parlova {

class Orders {
public:
    Orders() = default;
    Orders(const Orders&) = delete;
    Orders& operator=(const Orders&) = delete;

    // Hands a finished command to the active order.
    QString PutReport(const Reply& reply);
    // Starts the next waiting order when none is active.
    QString GetCommand();
    // Gives the order a new key and queues it at the end (before 0) or
    // before that position.
    QString Add(const OrderPtr& order, qsizetype before);
    // 1-based; a bad index raises.
    OrderPtr Item(qsizetype index) const { return waiting_.Item(index); }
    // Waiting orders; the active one is not counted.
    qsizetype Count() const { return waiting_.Count(); }
    void Remove(qsizetype index) { waiting_.Remove(index); }
    // The waiting orders, first to last.
    auto begin() const { return waiting_.begin(); }
    auto end() const { return waiting_.end(); }
    bool IsWaitingReply() const { return active_ && active_->IsWaitingReply(); }
    // Puts the active order back at the head, its key unchanged.
    QString SetBack();
    OrderPtr ActiveOrder() const { return active_; }
    // Empties the waiting list; the active order stays.
    void RemoveAll();
    // Forgets the active order without its PutReport.
    void RemoveActiveOrder() { active_.reset(); }

private:
    qint32 NewKey();

    platform::Collection<OrderPtr> waiting_;
    OrderPtr active_;
    qint32 keyCounter_ = 0;
};

}  // namespace parlova
