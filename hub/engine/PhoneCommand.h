#pragma once
// One request to the phone: set up by name (a registered chain) or as a raw
// AT command, filled through its Bag, pushed into the Gate, advanced step by
// step by the gate and handed back through the gate's output queue.
#include "hub/engine/Bag.h"
#include "hub/engine/Step.h"
#include "platform/Collection.h"
#include "terminal/CommPort.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace corvane {

class SMS;
// The incomplete concatenated messages the gate keeps between commands.
using SMSCollection = platform::Collection<std::shared_ptr<SMS>>;
using SMSCollectionPtr = std::shared_ptr<SMSCollection>;

class PhoneCommand {
public:
    PhoneCommand();
    ~PhoneCommand();
    PhoneCommand(const PhoneCommand&) = delete;
    PhoneCommand& operator=(const PhoneCommand&) = delete;

    // Empty text on success, else "Already set", "Unknown command" or
    // "description (number)". For mbtLightCommand the name chooses the chain
    // (Answer, ErrorAnswer and TimeOut are not used, except by "ReadSMS");
    // any other sort makes one raw step of the four texts.
    QString SetUp(const QString& Command, const QString& Answer = QString(), const QString& ErrorAnswer = QString(),
                  qint32 Owner = 0, qint32 TimeOut = 0, bool StartTransaction = false, bool EndTransaction = false,
                  dorrak::CommandSort sort = dorrak::mbtNotAssigned);

    dorrak::MODEM_RESULT_CODEs Result() const { return result_; }
    qint32 Owner() const { return owner_; }
    bool StartTransaction() const { return startTransaction_; }
    bool EndTransaction() const { return endTransaction_; }
    dorrak::CommandSort sort() const { return sort_; }
    void setSort(dorrak::CommandSort sort) { sort_ = sort; }
    // Advances the chain by one step; the end of the chain finishes the
    // command with progress 100.
    void Step();
    bool Finished() const { return finished_; }

    QVariant Bag(const QString& itemID) const { return bag_.Item(itemID); }
    void setBag(const QString& itemID, const QVariant& value) { bag_.Let(itemID, value); }
    template <class T>
    void setBagObject(const QString& itemID, std::shared_ptr<T> object)
    {
        bag_.Set(itemID, std::move(object));
    }
    template <class T>
    std::shared_ptr<T> BagObject(const QString& itemID) const
    {
        return bag_.Object<T>(itemID);
    }
    corvane::Bag& Items() { return bag_; }
    const corvane::Bag& Items() const { return bag_; }

    SMSCollectionPtr ConcatenatedSMS() const { return concatenatedSMS_; }
    void setConcatenatedSMS(SMSCollectionPtr parts) { concatenatedSMS_ = std::move(parts); }

    // For the engine and the chains.
    void SetResult(dorrak::MODEM_RESULT_CODEs value) { result_ = value; }
    QString StepCommand() const;
    QString StepAnswer() const;
    QString StepErrorAnswer() const;
    qint32 StepTimeOut() const;
    void PutAnswer(const QString& text);
    void PutErrorAnswer(const QString& text);
    qint32 GetProgress() const { return progress_; }
    void SetProgress(qint32 value) { progress_ = value; }

    bool IsSet() const { return set_; }
    StepPtr CurrentStep() const { return step_; }
    // Ends the command where it stands: no step, finished, progress 100.
    void Finish();
    qint32 InstanceId() const { return instanceId_; }

private:
    qint32 instanceId_;
    qint32 owner_ = 0;
    bool startTransaction_ = false;
    bool endTransaction_ = false;
    dorrak::CommandSort sort_ = dorrak::mbtNotAssigned;
    dorrak::MODEM_RESULT_CODEs result_ = dorrak::OK_ANSWER;
    bool set_ = false;
    StepPtr step_;
    corvane::Bag bag_;
    SMSCollectionPtr concatenatedSMS_;
    bool finished_ = false;
    qint32 progress_ = 0;
};

using PhoneCommandPtr = std::shared_ptr<PhoneCommand>;

}  // namespace corvane
