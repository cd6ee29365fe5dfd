#pragma once
// What a conversation window holds that its file keeps: the message
// parameters, the conferee lines, the fonts and colours of its three text
// areas, the log and the new message, and the file it belongs to.
#include "platform/FontSpec.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

namespace parlova {

// System colours as OLE values: window text and window background.
constexpr qint32 kWindowTextColor = qint32(0x80000008u);
constexpr qint32 kWindowBackColor = qint32(0x80000005u);

struct TalkArea {
    platform::FontSpec font;  // the strike-through is the control's
    qint32 foreColor = kWindowTextColor;
    qint32 backColor = kWindowBackColor;
    bool operator==(const TalkArea&) const = default;
};

// The text areas in the order their font sections are written.
enum TalkAreaIndex { kConfereeArea = 0, kNewMessageArea = 1, kLogArea = 2 };

struct TalkRecord {
    qint32 Coding = 0;            // 10 Auto, 0 GSM, 2 Windows, 1 Unicode
    qint32 Class = 2;             // 4 Unspecified, 0 Flash, 1 Mobile, 2 SIM, 3 Terminal
    qint32 Validity = 2;          // 0 none, 2 relative, 3 absolute
    qint32 validityCode = 170;    // the validity slider, 0 to 255
    QDateTime validityDate;       // the absolute validity picker
    qint32 report = 0;            // status-report check box
    bool Autosave = false;        // autosave check box
    bool autosaveEnabled = false; // a conversation without a file cannot autosave
    QStringList conferees;        // "name <address>" lines, in list order
    std::array<TalkArea, 3> areas;
    QString log;                  // the archive
    QString Text;                 // the new message
    QString Pathname;
    QString Theme;
    bool Dirty = false;
    bool operator==(const TalkRecord&) const = default;
};

}  // namespace parlova
