#include "client/main/PortDialogModel.h"

#include "client/core/Settings.h"
#include "client/orders/PhoneConnectProcedures.h"

namespace parlova {

QString PortDialogModel::EntryText(qint32 port, const QString& name, const QString& maker)
{
    return QStringLiteral("COM") + QString::number(port) + QStringLiteral(": ") + name +
           QStringLiteral(" ( made by ") + maker + QStringLiteral(" )");
}

QString PortDialogModel::QuestionText(const QString& port)
{
    return QStringLiteral("Cannot open ") + port + QStringLiteral(" port.\r\n\r\nDo you want to scan other ports?");
}

void PortDialogModel::AddPort(qint32 port, const QString& name, const QString& maker)
{
    entries_ << EntryText(port, name, maker);
    ports_ << port;
}

void PortDialogModel::AskToScan(const QString& port)
{
    asking_ = true;
    question_ = QuestionText(port);
}

void PortDialogModel::Clear()
{
    entries_.clear();
    ports_.clear();
    asking_ = false;
    question_.clear();
}

void PortDialogModel::Accept(int row, bool remember)
{
    Settings& settings = Settings::Instance();
    if (asking_) {
        settings.SetScanAllPorts();
        ConnectPhone(0);
        return;
    }
    if (row < 0 || row >= ports_.size())
        return;
    const qint32 port = ports_.at(row);
    if (remember) {
        settings.SetLastChoice();
        settings.SaveLastPort(port);
    }
    ConnectPhone(port);
}

}  // namespace parlova
