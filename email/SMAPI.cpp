#include "email/SMAPI.h"

#include "email/AttachmentName.h"
#include "email/LetterComposer.h"
#include "email/LocalMailStore.h"
#include "email/MAPIVB32.h"
#include "email/QuenbyGlobalObjs.h"
#include "platform/VbError.h"

#include <QFile>

namespace quenby {
namespace {

const QString kClassName = QStringLiteral("SMAPI");

QString MapiError(int code) { return QStringLiteral("MAPI error (") + QString::number(code) + QLatin1Char(')'); }

}  // namespace

SMAPI::SMAPI() : store_(std::make_unique<LocalMailStore>())
{
    DebugTrace(QLatin1Char('\'') + kClassName + QStringLiteral("' instance ") + QStringLiteral(" created"));
}

SMAPI::~SMAPI()
{
    DebugTrace(QLatin1Char('\'') + kClassName + QStringLiteral("' instance ") + QStringLiteral(" is terminating"));
}

QString SMAPI::Connect(const QString& accountName)
{
    int session = 0;
    const int code = store_->Logon(accountName, session);
    if (code == LocalMailStore::SUCCESS)
        session_ = session;
    DebugTrace(QStringLiteral("Connect SMAPI=") + QString::number(code) + QStringLiteral(" Session=") +
               QString::number(session_));
    return code == 0 ? QString() : QString::number(code);
}

QString SMAPI::Disconnect()
{
    const int code = store_->Logoff();
    DebugTrace(QStringLiteral("Disconnect SMAPI=") + QString::number(code));
    if (code == 0)
        session_ = 0;
    return code == 0 ? QString() : QString::number(code);
}

QString SMAPI::Read(int maxSizeOfLetter, const QString& pathToAttachmentsFolder, int& outMsgsCount,
                    QList<EmailLetter>& outLetters)
{
    Q_UNUSED(maxSizeOfLetter);
    try {
        QStringList ids;
        QString seed;
        for (;;) {
            QString found;
            if (store_->FindNext(seed, found) != LocalMailStore::SUCCESS)
                break;
            found = TrimAtNull(found);
            ids.append(found);
            seed = found;
        }
        QList<EmailLetter> letters;
        int lastCode = 0;
        int tried = 0;
        for (const QString& id : ids) {
            // Handed out already and left in the store: not again.
            if (leftInStore_.contains(id))
                continue;
            ++tried;
            EmailLetter letter;
            QList<MapiRecip> recips;
            const int code = ReadMapiMessage(*store_, id, 0, letter.Message, letter.Originator, recips,
                                             letter.Attachments);
            if (code != LocalMailStore::SUCCESS) {
                lastCode = code;
                continue;  // it stays in the store for the next read
            }
            letter.Message.Flags = 0;
            const QString moveError = MoveLetterAttachments(pathToAttachmentsFolder, letter);
            if (moveError.isEmpty()) {
                const int deleted = store_->DeleteMail(id);
                if (deleted != LocalMailStore::SUCCESS) {
                    lastCode = deleted;
                    leftInStore_.insert(id);
                }
            } else {
                letter.Message.Flags = kLetterAttachmentsFailed;
                letter.Message.NoteText += QStringLiteral("\r\n{While loading attachments an error occured: ") +
                                           moveError + QStringLiteral(". The message was left in the mail server.}");
                leftInStore_.insert(id);
            }
            letters.append(letter);
        }
        outMsgsCount = static_cast<int>(letters.size());
        outLetters = letters;
        if (tried > 0 && letters.isEmpty() && lastCode != 0 && lastCode != LocalMailStore::NO_MESSAGES)
            return MapiError(lastCode);
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString SMAPI::MoveLetterAttachments(const QString& folder, EmailLetter& letter)
{
    try {
        if (folder.isEmpty() && letter.Message.FileCount >= 1)
            return QStringLiteral("Folder for saving attachments is not set");
        QString target = folder;
        if (!target.isEmpty() && !target.endsWith(QLatin1Char('/')))
            target += QLatin1Char('/');
        const qsizetype count = qMin<qsizetype>(letter.Message.FileCount, letter.Attachments.size());
        for (qsizetype i = 0; i < count; ++i) {
            MapiFile& file = letter.Attachments[i];
            QFile source(file.PathName);
            if (!source.open(QIODevice::ReadOnly))
                return QStringLiteral("File moving failed");
            const QByteArray content = source.readAll();
            source.close();
            QString moved;
            if (!SaveNewFile(target, AttachmentFileName(file.FileName), content, attachmentCounter_, moved).isEmpty())
                return QStringLiteral("File moving failed");
            QFile::remove(file.PathName);
            file.PathName = moved;
            DebugTrace(moved);
        }
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString SMAPI::Send(QList<MapiRecip>& TOs, const MAPIMessage& msg)
{
    try {
        if (sending_)
            return MapiError(LocalMailStore::FAILURE);
        if (msg.RecipCount > TOs.size())
            platform::Raise(platform::vberr::SubscriptOutOfRange, kClassName, QStringLiteral("Subscript out of range"));
        if (msg.RecipCount < 1)
            return MapiError(LocalMailStore::UNKNOWN_RECIPIENT);
        for (int i = 0; i < msg.RecipCount; ++i) {
            MapiRecip& r = TOs[i];
            if (r.Address.trimmed().isEmpty()) {
                MapiRecip resolved;
                const int code = store_->ResolveName(r.Name, resolved);
                if (code != LocalMailStore::SUCCESS)
                    return MapiError(code);
                resolved.RecipClass = r.RecipClass ? r.RecipClass : resolved.RecipClass;
                r = resolved;
            } else if (!IsSafeAddress(r.Address.trimmed())) {
                return MapiError(LocalMailStore::UNKNOWN_RECIPIENT);
            } else {
                r.Address = r.Address.trimmed();
            }
        }
        const int code = store_->StartSendMail(msg, TOs.mid(0, msg.RecipCount));
        if (code != LocalMailStore::SUCCESS)
            return MapiError(code);
        sending_ = true;
        state_ = SendState{true, QString()};
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

SMAPI::SendState SMAPI::PollSend()
{
    if (!sending_)
        return state_;
    try {
        int code = 0;
        if (store_->SendRunning(code, kSendLimitMs))
            return state_;
        sending_ = false;
        state_ = SendState{false, code == 0 ? QString() : MapiError(code)};
    } catch (const std::exception& e) {
        sending_ = false;
        state_ = SendState{false, platform::ErrorText(e)};
    }
    return state_;
}

void SMAPI::AbortSend(const QString& result)
{
    if (!sending_)
        return;
    store_->KillSend();
    sending_ = false;
    state_ = SendState{false, result};
}

}  // namespace quenby
