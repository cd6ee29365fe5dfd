#pragma once
// The questions both connections ask about the orders a queue still holds
// when the connection goes or comes back.
#include "client/core/Orders.h"

#include <QString>

namespace parlova {

// An order as the questions list it: its name and whose it is.
QString OrderLine(const Order& order);

// True when the queue holds no order, active or waiting, or when the user,
// shown them as queued "to process by" processor, agrees to close the
// connection all the same.
bool MayCloseWithPending(const Orders& orders, const QString& processor, const QString& title);

// Asks whether the order the last disconnection cut off is tried again and
// whether the waiting ones, listed as queued "for processing by" processor,
// stay; then does as answered. False when either question was cancelled,
// with the queue left as it was.
bool SettleLeftOrders(Orders& orders, const QString& processor, const QString& title);

}  // namespace parlova
