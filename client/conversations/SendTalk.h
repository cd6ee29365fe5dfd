#pragma once
// Sending from a conversation: the recipients of its conferee list (all,
// the selected ones or one address), the checks in their fixed order
// (somebody to send to, the services, some text, the coding), then at most
// two orders: one SMS for all numbers, one letter for all addresses. Boxes
// are asked through ModalQuestion, so the main loop waits while one is
// open; nothing here sees a widget.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

namespace parlova {

class Conversation;

class SendTalk {
public:
    // text: empty sends the conversation's new message. True when at least
    // one order was queued.
    static bool SendTalkMessage(const QString& theme, bool selectedOnly, const QString& oneAddress,
                                const QString& text);

    // The addresses to send to, in list order; lines that cannot be split
    // are reported and skipped.
    static QStringList Recipients(const Conversation& talk, bool selectedOnly, const QString& oneAddress);
    // The first recipient whose service is missing decides; "" when all
    // can be served.
    static QString ServiceRefusal(const QStringList& recipients, bool mailReady, bool pduMode);
    // Auto (10) becomes GSM (0) when the text fits the alphabet, else Unicode.
    static qint32 ResolveCoding(qint32 coding, const QString& text);
    // validity 2: the slider's code as a double; 3: the picker's date and
    // time; else none.
    static QVariant ValidityValue(qint32 validity, qint32 slider, const QDateTime& picker);
    // The service centre to send with: none when the phone's own is used.
    static QString ServiceCentre();

    static QString Nobody();
    static QString NoEmailService();
    static QString NoSMSService();
    static QString NothingToSend();
    static QString GsmWarning();
    static QString Unexpected(const QString& errorText);
};

}  // namespace parlova
