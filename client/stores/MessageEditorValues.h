#pragma once
// The message the store window's editor shows: a new one prepared from the
// settings, or a stored one read from the message store. The window only
// puts these values into its controls.
#include <QDateTime>
#include <QString>

#include <optional>

namespace corvane {
class MessageStore;
class BookRecords;
}  // namespace corvane

namespace parlova {

struct MessageEditorValues {
    qint32 coding = 10;       // Combo1's item data: 10 Auto, 0 GSM, 2 8-bit, 1 UCS2
    qint32 msgClass = 4;      // Combo2's item data
    QString text;             // Text4
    bool report = false;      // Check1
    qint32 validity = 0;      // 0/1 unspecified, 2 relative, 3 absolute
    std::optional<qint32> relative;  // Slider2, when the message sets it
    std::optional<QDateTime> absolute;  // DTPicker1, when the message sets it
    QString address;          // Text1
    qint32 location = -1;     // the List1 item selected; -1 none
    QString contactName;      // Label8

    // A new message: the settings' coding, class, report, validity and
    // relative period, "now" to the minute, no text or number, the first
    // location when there is one.
    static MessageEditorValues NewMessage(qint32 locationsCount);
    // The stored message (location, index), its contact from the books when
    // they have been read. A message the store does not hold (location -1
    // included) gives an empty editor: no text, number or location, and
    // the options left as they are (nullopt).
    static std::optional<MessageEditorValues> Stored(const corvane::MessageStore& store,
                                                     const corvane::BookRecords* books, qint32 location,
                                                     qint32 index);

    // Combo1's item for a coding: 0 GSM item 1, 2 item 2, 1 item 3, any
    // other Auto (item 0).
    static int CodingItem(qint32 coding);
    // Combo2's item for a class; -1 for a value outside 0 to 4 (no change).
    static int ClassItem(qint32 msgClass);
    // The option for a validity: 0 (Option1) for 0 and 1, 1 (Option7) for
    // 2, 2 (Option8) for any other value.
    static int ValidityOption(qint32 validity);
    // The coding to send with: Auto resolved by the GSM alphabet test.
    static qint32 ResolvedCoding(qint32 coding, const QString& text);
};

}  // namespace parlova
