#pragma once
// What the options dialog's controls hold when Apply or OK is pressed.
// SaveOptions compares it with the settings and writes what differs; it
// empties the price and time-out texts that are not numbers, as the dialog's
// boxes are emptied, so the dialog shows them back from here.
#include "platform/FontSpec.h"

#include <QString>

#include <array>

namespace parlova {

enum class PortChoice { LastChoice, ScanPorts, ScanAllPorts };

// A style's sample box: its font and colours.
struct StyleSample {
    platform::FontSpec font;
    qint32 foreColor = 0;
    qint32 backColor = 0;
};

struct OptionsSnapshot {
    // General
    bool ShowCost = false;
    QString Price;  // the price box's text
    QString CurrencySign;
    bool RememberRecentFiles = false;
    qint32 RecentFilesNumber = 0;
    QString WorkingFolder;
    bool SimplifiedLog = false;
    QString DateTimeFormat;
    // SMS
    bool ConnectAtStartUp = false;
    bool JoinParts = false;
    PortChoice Port = PortChoice::ScanAllPorts;
    qint32 StartPort = 1;
    qint32 EndPort = 256;
    qint32 PortSpeedIndex = 0;
    bool SCNumberFromPhone = false;
    QString SCNumber;
    // Message defaults
    qint32 Coding = 0;
    qint32 Class = 0;
    qint32 ValidityType = 0;
    qint32 RelativeValidity = 0;
    bool RequestReport = false;
    // View: indexed by style number; the Book style has no sample box and is
    // not taken from here.
    std::array<StyleSample, 5> Samples;
    // E-mail: ConnectAtStartUpEmail, UserName and POP3PollInterval are those
    // of the page of the current e-mail type.
    bool ConnectAtStartUpEmail = false;
    QString UserName;
    QString EmailAddress;
    QString Login;
    QString Password;
    QString POP3Address;
    QString POP3Port;
    bool POP3SSLRequired = false;
    QString POP3PollInterval;
    QString SMTPAddress;
    QString SMTPPort;
    bool SMTPSSLRequired = false;
    QString ServerTimeout;
    bool SPARequired = false;
    QString MaxSize;
    // Hidden page
    bool UseExtender = false;
    QString Extender;
    bool LimitMsgToExt = false;
    QString MaxPartsToExt;
    std::array<QString, 5> Timeouts;
    bool LogToFile = false;
};

}  // namespace parlova
