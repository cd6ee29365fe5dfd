#include "client/stores/StoreProcedureTexts.h"

#include "client/core/LogTime.h"
#include "client/core/Module1.h"
#include "hub/messages/MessageStore.h"

namespace parlova {

namespace {
const QString kCR = QStringLiteral("\r");
const QString kCRLF = QStringLiteral("\r\n");
const QString kRule = QString(30, QLatin1Char('_'));
const QString kBlanks = QString(5, QLatin1Char(' '));
constexpr qint32 kStatusReport = 2;

QString Lead(const QString& text) { return text + kCR; }
}  // namespace

QString StoreProcedureTexts::NothingToStore() { return QStringLiteral("There is nothing to store. Please type some text"); }
QString StoreProcedureTexts::NowhereToStore() { return QStringLiteral("There is nowhere to store."); }
QString StoreProcedureTexts::NotVisible() { return QStringLiteral("The Message Store window is not visible"); }
QString StoreProcedureTexts::NoActiveMessage() { return QStringLiteral("There is no active message"); }
QString StoreProcedureTexts::NoSmsService() { return QStringLiteral("Can not send. SMS service is not available"); }
QString StoreProcedureTexts::NoTelephoneNumber() { return QStringLiteral("No telephone number"); }

QString StoreProcedureTexts::NobodyToSend(const QString& theme)
{
    return QStringLiteral("There is nobody to send to. Please add a conferee to ") + theme;
}

QString StoreProcedureTexts::BooksNotRead()
{
    return QStringLiteral("Phonebooks have not been read from the phone.") + kCRLF +
           QStringLiteral("To do that, choose 'Tools->Phonebook' from menu.");
}

QString StoreProcedureTexts::GsmWarning()
{
    return QStringLiteral("Your text contains characters, that are not part of the GSM code page. ") + kCR +
           QStringLiteral("To store it you should use Unicode coding.") + kCR +
           QStringLiteral("If you store such text using GSM coding, most likely nobody can read it!") + kCR + kCR +
           QStringLiteral("Continue anyway?");
}

QString StoreProcedureTexts::DeleteQuestion(const QString& text)
{
    return QStringLiteral("You are about to delete the following message:") + kCR + text.left(35) +
           QStringLiteral("...") + kCR + QStringLiteral("Do you want to continue?");
}

QString StoreProcedureTexts::RereadQuestion()
{
    return QStringLiteral("You are about to reread messages from your phone.") + kCR +
           QStringLiteral("This procedure takes some time.") + kCR +
           QStringLiteral("Current data from the phone's message store will be cleared.") + kCR +
           QStringLiteral("Do you want to continue?");
}

QString StoreProcedureTexts::ReplaceDraftQuestion(const QString& theme)
{
    return QStringLiteral("The new message of ") + theme + QStringLiteral(" holds a text you typed.") + kCR +
           QStringLiteral("Do you want to replace it with the stored message?");
}

QString StoreProcedureTexts::ChooserCaption(const QString& windowCaption)
{
    return QStringLiteral("Select a telephone number for ") + windowCaption;
}

QString StoreProcedureTexts::StoreFailed()
{
    return Lead(QStringLiteral("While trying to store the message the following error occured:"));
}
QString StoreProcedureTexts::DeleteFailed()
{
    return Lead(QStringLiteral("While trying to delete the message the following error occured:"));
}
QString StoreProcedureTexts::RereadFailed()
{
    return Lead(QStringLiteral("While trying to update the message store the following error occured:"));
}
QString StoreProcedureTexts::TalkFailed() { return Lead(QStringLiteral("Error occured:")); }
QString StoreProcedureTexts::SendToFailed(const QString& theme)
{
    return Lead(QStringLiteral("While sending the message to ") + theme + QStringLiteral(" the following error occured:"));
}
QString StoreProcedureTexts::SendFailed()
{
    return Lead(QStringLiteral("While trying to send out SMS the following error occured:"));
}
QString StoreProcedureTexts::MoveToFailed(const QString& theme)
{
    return Lead(QStringLiteral("While moving the message to ") + theme + QStringLiteral(" the following error occured:"));
}
QString StoreProcedureTexts::CopyFailed()
{
    return Lead(QStringLiteral("While trying to move SMS the following error occured:"));
}

bool StoreProcedureTexts::Logged(qint32 status) { return status >= 0 && status <= 3 && status != 2; }

StoreProcedureTexts::Entry StoreProcedureTexts::LogEntry(const corvane::MessageStore& store, qint32 location,
                                                         qint32 index, const QString& name, const QString& address,
                                                         bool simplified)
{
    const QString text = store.MessageData(location, index);
    const qint32 status = store.MessageStatus(location, index);
    if (!Logged(status))
        return {false, text};

    QString labelName = name, labelAddress = address, label;
    NameAndAddress(labelName, labelAddress, label);
    if (status == 3) {
        const bool report = store.MessageSRIR(location, index) == 1;
        if (simplified) {
            QString entry = (name.isEmpty() ? address : name) + QStringLiteral(", from phone");
            if (report)
                entry += QStringLiteral(", request report");
            return {true, entry + QStringLiteral("<<< ") + text};
        }
        QString entry = QStringLiteral("TEXT:") + kBlanks + text + kCRLF + QStringLiteral("TO:") +
                        QString(7, QLatin1Char(' ')) + label + kCRLF + QStringLiteral("AT: n/a");
        if (report)
            entry += kCRLF + QStringLiteral("MR: n/a");
        return {true, entry + kCRLF + kRule};
    }

    // Received: the message's own time stamp, not the present time.
    const QString date = LogTime(store.MessageDate(location, index).toDateTime());
    const bool isReport = store.MessageMTI(location, index) == kStatusReport;
    const QString reference = QString::number(store.MessageMR(location, index));
    const QString discharge = LogTime(store.MessageDischargeTime(location, index));
    if (simplified) {
        const QString shown = name == QLatin1String("Noname") ? address : name;
        if (isReport)
            return {true, shown + QStringLiteral(", ") + date + QStringLiteral(", #") + reference +
                              QStringLiteral("<<< Report: ") + text + QStringLiteral(", at ") + discharge};
        return {true, shown + QStringLiteral(", ") + date + QStringLiteral(">>> ") + text};
    }
    if (isReport)
        return {true, QStringLiteral("TO:") + kBlanks + label + kCRLF + QStringLiteral("MR:") + kBlanks + reference +
                          kCRLF + QStringLiteral("STATUS REPORT:") + kBlanks + text + kCRLF +
                          QStringLiteral("STATUS TIME:") + kBlanks + discharge + kCRLF + kRule};
    return {true, QStringLiteral("TEXT:") + kBlanks + text + kCRLF + QStringLiteral("FROM:") + kBlanks + label + kCRLF +
                      QStringLiteral("AT:") + kBlanks + date + kCRLF + kRule};
}

}  // namespace parlova
