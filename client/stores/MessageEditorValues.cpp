#include "client/stores/MessageEditorValues.h"

#include "client/core/Module1.h"
#include "client/core/Settings.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"
#include "hub/messages/SMS.h"
#include "platform/Clock.h"

namespace parlova {

MessageEditorValues MessageEditorValues::NewMessage(qint32 locationsCount)
{
    const Settings& settings = Settings::Instance();
    MessageEditorValues v;
    v.coding = settings.Coding();
    v.msgClass = settings.Class();
    v.report = settings.RequestReport();
    v.validity = settings.ValidityType();
    v.relative = settings.RelativeValidity();
    QDateTime now = platform::Now();
    now.setTime(QTime(now.time().hour(), now.time().minute()));
    v.absolute = now;
    v.location = locationsCount > 0 ? 0 : -1;
    return v;
}

std::optional<MessageEditorValues> MessageEditorValues::Stored(const corvane::MessageStore& store,
                                                               const corvane::BookRecords* books, qint32 location,
                                                               qint32 index)
{
    if (location < 0 || store.MessageStatus(location, index) < 0)
        return std::nullopt;
    MessageEditorValues v;
    v.coding = store.MessageCoding(location, index);
    v.msgClass = store.MessageClass(location, index);
    v.text = store.MessageData(location, index);
    v.report = store.MessageSRIR(location, index) == 1;
    v.validity = store.MessageVPF(location, index);
    const QVariant vp = store.MessageVP(location, index);
    if (v.validity == corvane::ABSOLUTE)
        v.absolute = vp.toDateTime();
    else if (v.validity == corvane::RELATIVE)
        v.relative = vp.toInt();
    v.address = store.MessageAddress(location, index);
    v.location = location;
    if (books && books->Filled()) {
        QString name;
        qint32 book = 0;
        qint32 entry = 0;
        if (books->Find(name, book, entry, v.address))
            v.contactName = name;
    }
    return v;
}

int MessageEditorValues::CodingItem(qint32 coding)
{
    switch (coding) {
    case 0: return 1;
    case 2: return 2;
    case 1: return 3;
    default: return 0;
    }
}

int MessageEditorValues::ClassItem(qint32 msgClass)
{
    switch (msgClass) {
    case 4: return 0;
    case 0: return 1;
    case 2: return 2;
    case 1: return 3;
    case 3: return 4;
    default: return -1;
    }
}

int MessageEditorValues::ValidityOption(qint32 validity)
{
    if (validity == 0 || validity == 1)
        return 0;
    return validity == 2 ? 1 : 2;
}

qint32 MessageEditorValues::ResolvedCoding(qint32 coding, const QString& text)
{
    if (coding == 10)
        return IsGsmText(text) ? 0 : 1;
    return coding;
}

}  // namespace parlova
