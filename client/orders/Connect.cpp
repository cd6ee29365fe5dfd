#include "client/orders/Connect.h"
#include "hub/engine/BagKeys.h"

#include "client/core/Globals.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "client/core/ModalQuestion.h"
#include "client/core/PhoneProfile.h"
#include "hub/messages/BookRecords.h"
#include "platform/MessageBoxStyle.h"

namespace parlova {

void Connect::SetUp(const QString& portName, qint32 baud, const QVector<qint32>& timeouts)
{
    portName_ = portName;
    baud_ = baud;
    timeouts_ = timeouts;
}

QString Connect::NameOrder() const { return QStringLiteral("Connecting to ") + portName_ + QStringLiteral("..."); }

QVariant Connect::Start()
{
    ResetRunState();
    G().ConnectedPhone->Reset();
    return QVariant();
}

QString Connect::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        auto command = std::make_shared<corvane::PhoneCommand>();
        command->SetUp(QStringLiteral("Connect"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), key_, 5000,
                       false, false, dorrak::mbtLightCommand);
        command->setBag(bag::PortName, portName_);
        command->setBag(bag::PortBaud, baud_);
        command->setBag(bag::PortTimeouts, QVariant::fromValue(timeouts_));
        PhoneGateRef().Push(command);
        return QString();
    });
}

QString Connect::PutReport(const Reply& reply)
{
    return Guarded([&] {
        corvane::PhoneCommand& command = reply.PhoneCommand();
        corvane::Gate& gate = PhoneGateRef();
        MainWindow& window = MainWin();

        if (command.Result() == dorrak::NOT_EXECUTED) {
            result_ = QStringLiteral("Connecting  to ") + portName_ + QStringLiteral("...Not executed");
        } else if (!BagBoolean(command, bag::AT)) {
            result_ = QStringLiteral("Connecting  to ") + portName_ + QStringLiteral("...Failed");
            if (gate.connected())
                gate.Disconnect();
            if (!Settings::Instance().LastChoice()) {
                ModalQuestion::Ask(QStringLiteral("Your phone (modem) does not answer. Please check the connection "
                                                  "between the phone and the computer"),
                                   platform::vbCritical | platform::vbMsgBoxHelpButton, QString(),
                                   kNoAnswerHelpContext);
            } else {
                PortDialog& dialog = PortDlg();
                if (dialog.Visible())
                    dialog.Unload();
                dialog.Show();
                dialog.AskToScan(portName_);
            }
        } else {
            PhoneProfile& phone = *G().ConnectedPhone;
            window.Ready();
            const QString name = BagText(command, bag::PhoneName);
            window.phoneName(name.isEmpty() ? QStringLiteral("N/A") : name);
            const QString imei = BagText(command, bag::IMEI);
            if (!imei.isEmpty())
                phone.PhoneIMEI = imei;
            QString note;
            if (BagBoolean(command, bag::PDU))
                phone.PDUMode = true;
            else
                note = QStringLiteral(". ") + QStringLiteral("SMS functions is unavailable");
            if (BagBoolean(command, bag::NMI)) {
                gate.WaitSMS();
                if (BagBoolean(command, bag::NSMI)) {
                    gate.WaitStatusReport();
                    phone.StatusReportsArmed = true;
                }
            } else {
                note = QStringLiteral(". ") + QStringLiteral("SMS receiving is unavailable");
            }
            phone.UCS2Supported = BagBoolean(command, bag::UCS2);
            if (G().PhoneBooks)
                G().PhoneBooks->setUCS2(phone.UCS2Supported);
            gate.SetShiftME(BagLong(command, bag::ShiftME));
            phone.MEEcodeValue = corvane::VariantLong(command.Bag(bag::MEEcode));
            result_ = QStringLiteral("Connecting to ") + portName_ + QStringLiteral("...Done") + note;
        }

        ShowConnectionState(window, gate.connected());
        waitingReply_ = false;
        finished_ = true;
        window.SMS();
        progress_ = 100;
        return QString();
    });
}

}  // namespace parlova
