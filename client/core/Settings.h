#pragma once
// The one holder of every user setting. Other parts read a setting through
// its property when they need it; the options dialog edits copies and hands
// them to SaveOptions. Everything is kept in the per-user settings store
// under the application name: section "Options" holds one value per
// property, named like it; the styles' fonts and the combo boxes' histories
// have sections of their own.
//
// A property write changes only the value in memory; only the operations
// below write to the store.
#include "client/core/OptionsSnapshot.h"

#include "platform/FontSpec.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace parlova {

// Text styles, by number.
constexpr int kConfereesStyle = 0;
constexpr int kMessageStyle = 1;
constexpr int kLogStyle = 2;
constexpr int kBookStyle = 3;
constexpr int kOtherStyle = 4;

// The histories of the dialog's combo boxes.
enum class HistoryList { Price, Currency, DateTimeFormat, SCNumber };

#define PARLOVA_SETTING(Type, Name)                 \
public:                                             \
    Type Name() const { return Name##_; }           \
    void Name(Type value) { Name##_ = value; }      \
                                                    \
private:                                            \
    Type Name##_{}

class Settings {
public:
    // Every setting at its default.
    Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // The program's one instance, made with defaults on first use.
    static Settings& Instance();

    // Lays the stored values over the defaults. A value that does not
    // convert keeps that one setting at what it was.
    void GetOptions();
    // Writes every setting whose control differs, in the dialog's order.
    // Returns "" or the store's first error ("The settings could not be
    // saved: " and the reason); the file then stays as it was.
    QString SaveOptions(OptionsSnapshot& controls);
    // The Book style as the phone-book grid shows it; writes what differs.
    void SaveBookOptions(bool fontChanged, const platform::FontSpec& font, qint32 foreColor, qint32 backColor);

    // A text as a whole number the way a stored value is read: the
    // locale's number format (or the invariant one), rounded; nothing when
    // it is no number or does not fit 32 bits.
    static std::optional<qint32> LongFromText(const QString& text);

    // The controls as the options dialog loads them; saving it unchanged
    // writes nothing.
    OptionsSnapshot Snapshot();
    // Told the new folder when SaveOptions changes WorkingFolder.
    std::function<void(const QString& folder)> WorkingFolderChanged;

    // The stored settings take their defaults from the table in Settings.cpp.
    PARLOVA_SETTING(bool, ShowCost);
    PARLOVA_SETTING(float, Price);
    PARLOVA_SETTING(QString, CurrencySign);
    PARLOVA_SETTING(bool, RememberRecentFiles);
    PARLOVA_SETTING(qint32, RecentFilesNumber);
    PARLOVA_SETTING(QString, WorkingFolder);
    PARLOVA_SETTING(bool, SimplifiedLog);
    PARLOVA_SETTING(QString, DateTimeFormat);
    PARLOVA_SETTING(bool, ConnectAtStartUp);
    PARLOVA_SETTING(bool, JoinParts);

public:
    // The port choice: setting one True sets the other two False; setting
    // one False changes nothing.
    bool LastChoice() const { return LastChoice_; }
    void LastChoice(bool value);
    bool ScanPorts() const { return ScanPorts_; }
    void ScanPorts(bool value);
    bool ScanAllPorts() const { return ScanAllPorts_; }
    void ScanAllPorts(bool value);
    PortChoice Port() const;
    // 1 and 256 while all ports are scanned, whatever is stored.
    qint32 StartPort() const { return ScanAllPorts_ ? 1 : StartPort_; }
    void StartPort(qint32 value) { StartPort_ = value; }
    qint32 EndPort() const { return ScanAllPorts_ ? 256 : EndPort_; }
    void EndPort(qint32 value) { EndPort_ = value; }
    // Writes "LastPort", then sets it.
    void SaveLastPort(qint32 port);
    // Choose a port choice and write all three of its values.
    void SetLastChoice();
    void SetScanAllPorts();

    PARLOVA_SETTING(qint32, LastPort);
    PARLOVA_SETTING(qint32, PortSpeedIndex);

public:
    // Bits per second of PortSpeedIndex: 9600 ... 57600, else 115200.
    qint32 PortSpeed() const;

    PARLOVA_SETTING(qint32, Coding);
    PARLOVA_SETTING(qint32, Class);
    PARLOVA_SETTING(qint32, ValidityType);
    PARLOVA_SETTING(qint32, RelativeValidity);
    PARLOVA_SETTING(bool, RequestReport);
    PARLOVA_SETTING(bool, SCNumberFromPhone);
    PARLOVA_SETTING(QString, SCNumber);

    // Colours are OLE values; by default the system's window text and window
    // background.
    PARLOVA_SETTING(qint32, ConfereesForeColor);
    PARLOVA_SETTING(qint32, ConfereesBackColor);
    PARLOVA_SETTING(qint32, MessageForeColor);
    PARLOVA_SETTING(qint32, MessageBackColor);
    PARLOVA_SETTING(qint32, LogForeColor);
    PARLOVA_SETTING(qint32, LogBackColor);
    PARLOVA_SETTING(qint32, BookForeColor);
    PARLOVA_SETTING(qint32, BookBackColor);
    PARLOVA_SETTING(qint32, OtherForeColor);
    PARLOVA_SETTING(qint32, OtherBackColor);

public:
    // Serial time-outs in ms: read interval, read multiplier, read constant,
    // write multiplier, write constant (-1 is all ones).
    std::array<qint32, 5> Timeouts() const { return Timeouts_; }
    void TO0(qint32 value) { Timeouts_[0] = value; }
    void TO1(qint32 value) { Timeouts_[1] = value; }
    void TO2(qint32 value) { Timeouts_[2] = value; }
    void TO3(qint32 value) { Timeouts_[3] = value; }
    void TO4(qint32 value) { Timeouts_[4] = value; }

    PARLOVA_SETTING(bool, LogToFile);
    PARLOVA_SETTING(bool, UseExtender);
    PARLOVA_SETTING(QString, Extender);
    PARLOVA_SETTING(bool, LimitMsgToExt);
    PARLOVA_SETTING(qint32, MaxPartsToExt);
    PARLOVA_SETTING(bool, ConnectAtStartUpEmail);
    PARLOVA_SETTING(QString, UserName);
    PARLOVA_SETTING(QString, EmailAddress);
    PARLOVA_SETTING(QString, Login);
    // Kept as plain text; the store's file is private to the user.
    PARLOVA_SETTING(QString, Password);
    PARLOVA_SETTING(QString, POP3Address);
    PARLOVA_SETTING(qint32, POP3Port);
    PARLOVA_SETTING(bool, POP3SSLRequired);
    PARLOVA_SETTING(qint32, POP3PollInterval);
    PARLOVA_SETTING(QString, SMTPAddress);
    PARLOVA_SETTING(qint32, SMTPPort);
    PARLOVA_SETTING(bool, SMTPSSLRequired);
    PARLOVA_SETTING(qint32, ServerTimeout);
    PARLOVA_SETTING(bool, SPARequired);
    PARLOVA_SETTING(qint32, MaxSize);
    // The e-mail gate's service type, set at start-up; never stored.
    PARLOVA_SETTING(qint32, EmailType);

public:
    // A style's font, made with the default font on first use.
    platform::FontSpec StyleFont(int style);
    qint32 StyleForeColor(int style) const;
    qint32 StyleBackColor(int style) const;
    // Set when the dialog's "Font..." button of the style is used; from then
    // on every save writes the style's font.
    bool StyleFontChanged(int style) const;
    void SetStyleFontChanged(int style);

    // A history as stored; one empty string while it was never stored.
    QStringList History(HistoryList list) const;
    // What the combo box offers: the history, or the box's own items while
    // the history was never stored.
    QStringList ComboItems(HistoryList list) const;
    static QStringList DesignItems(HistoryList list);

    static constexpr qint32 kWindowText = qint32(0x80000008u);
    static constexpr qint32 kWindowBack = qint32(0x80000005u);

private:
    struct Property;
    static const std::vector<Property>& Properties();
    struct HistoryState {
        QStringList items;
        bool stored = false;
    };

    void SetFromText(const Property& p, const QString& text);
    void SetDefault(const Property& p);
    bool SaveProperty(const Property& p, OptionsSnapshot& controls);
    void ShowProperty(const Property& p, OptionsSnapshot& controls) const;
    void SavePortChoice(OptionsSnapshot& controls);
    void SaveStyleFonts(OptionsSnapshot& controls);
    void TellWorkingFolder();
    void TellLogToFile();
    void UpdateHistory(HistoryList list, const QString& text);
    void WriteStyleFont(int style);
    qint32& ForeColorOf(int style);
    qint32& BackColorOf(int style);

    bool LastChoice_ = false;
    bool ScanPorts_ = false;
    bool ScanAllPorts_ = true;
    qint32 StartPort_{};
    qint32 EndPort_{};
    std::array<qint32, 5> Timeouts_{};
    std::array<std::optional<platform::FontSpec>, 5> styleFonts_;
    std::array<bool, 5> fontChanged_{};
    std::array<HistoryState, 4> histories_;
};

#undef PARLOVA_SETTING

}  // namespace parlova
