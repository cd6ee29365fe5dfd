#pragma once
// Reads the mailbox once. Over POP3 the session runs in the socket's events
// and polling Result advances it; over the local store it runs inside
// Execute.
#include "email/EmailCommand.h"
#include "email/EmailLetter.h"

#include <QList>

#include <memory>

namespace quenby {

class CDOSYS;

class ReadEmailCommand : public EmailCommand {
public:
    ReadEmailCommand();
    ~ReadEmailCommand() override;

    void SetUp(int maxSizeOfLetter, const QString& pathToAttachmentsFolder, qint32 owner);
    // Copies of the count and the letters held: none after a read that
    // failed before its QUIT, those read after one that failed later.
    QString GetMessages(int& outMsgsCount, QList<EmailLetter>& outLetters) const;
    std::shared_ptr<EmailCommand> GetCommand() { return shared_from_this(); }

    EMC_RESULT_CODEs Result() override;
    void SetResult(EMC_RESULT_CODEs result) override { result_ = result; }
    void Execute() override;
    QString Error() const override { return error_; }
    qint32 Owner() const override { return owner_; }
    void SetOwner(qint32 owner) override { owner_ = owner; }
    void Abort() override;
    QString ClassName() const override { return QStringLiteral("ReadEmailCommand"); }

    int maxSize() const { return maxSize_; }
    QString attachmentsFolder() const { return folder_; }

private:
    void poll();
    // Takes the letters of a session that has ended; GetReadMessages' answer.
    QString takeLetters();

    EMC_RESULT_CODEs result_ = NOT_EXECUTED_RESULT;
    QString error_;
    qint32 owner_ = 0;
    int count_ = 0;
    QList<EmailLetter> letters_;
    int maxSize_ = 0;
    QString folder_;
    // The session this command started, kept until its result is final.
    std::shared_ptr<CDOSYS> reader_;
};

}  // namespace quenby
