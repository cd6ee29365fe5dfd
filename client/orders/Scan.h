#pragma once
// The order that looks for phones on a range of COM ports: its "Scan"
// command tries every port in turn; the reply lists each port where a phone
// answered in the port dialog, closes the connection and shows the dialog.
#include "client/core/Order.h"

#include <QVector>

namespace parlova {

class Scan : public Order {
public:
    void SetUp(qint32 firstPort, qint32 lastPort, qint32 baud, const QVector<qint32>& timeouts);

    QString NameOrder() const override { return caption_; }
    QString GetCommand() override;
    QString PutReport(const Reply& reply) override;

    qint32 FirstPort() const { return firstPort_; }
    qint32 LastPort() const { return lastPort_; }

private:
    qint32 firstPort_ = 0;
    qint32 lastPort_ = 0;
    qint32 baud_ = 0;
    QVector<qint32> timeouts_;
    QString caption_;
};

}  // namespace parlova
