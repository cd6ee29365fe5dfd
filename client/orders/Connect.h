#pragma once
// The order that opens the connection to the phone on one COM port: its
// "Connect" command makes the gate open the port and run the connect chain;
// the reply arms the arrival watchers, fills the phone profile and updates
// the main window. Its Result is never empty after the reply.
#include "client/core/Order.h"

#include <QVector>

namespace parlova {

class Connect : public Order {
public:
    void SetUp(const QString& portName, qint32 baud, const QVector<qint32>& timeouts);

    QString NameOrder() const override;
    QVariant Start() override;
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

    QString PortName() const { return portName_; }

private:
    QString portName_;
    qint32 baud_ = 0;
    QVector<qint32> timeouts_;
};

// The help context of the box shown when the phone does not answer.
constexpr int kNoAnswerHelpContext = 42000;

}  // namespace parlova
