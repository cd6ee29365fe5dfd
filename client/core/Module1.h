#pragma once
// Small helpers every window and procedure of the program uses. Those that
// can fail return a text: empty on success, else the message for the user.
#include <QString>

class QLocale;

namespace parlova {

// Shell special-folder numbers the program asks for.
constexpr int kCsidlDesktop = 0;
constexpr int kCsidlPersonal = 5;  // the user's documents
constexpr int kCsidlMyMusic = 13;
constexpr int kCsidlMyVideo = 14;
constexpr int kCsidlDesktopDirectory = 16;
constexpr int kCsidlAppData = 26;
constexpr int kCsidlLocalAppData = 28;
constexpr int kCsidlInternetCache = 32;
constexpr int kCsidlMyPictures = 39;
constexpr int kCsidlProfile = 40;
constexpr int kCsidlFlagCreate = 0x8000;

// The path of a shell special folder, made when create is set (or the
// number carries kCsidlFlagCreate). Empty on success, else "Folder is
// invalid", "Folder does not exist" or "Unknown error occured"; path is set
// only on success.
QString GetSpecialFolderPath(QString& path, int folder, bool create);
// The file name without folder (split at "/" and "\") and extension.
QString FileTitle(const QString& path);
// Removes the characters of set from both ends of text. An empty set is
// replaced by CR, LF, blank, BS and TAB, and the caller's set receives it.
QString TrimSet(const QString& text, QString& set);
// What a text costs as SMS in coding 0 (GSM 7-bit), 1 (UCS2) or 2 (8-bit),
// counted exactly as the message will be split: the length in characters
// as sent (CR LF counts as one; an overlong text counts what is kept), the
// parts, and the cost at the setting Price. JoinParts decides between concatenated and
// separate parts. Any other coding gives zeros.
void CountSMSParts(qint32& length, qint32& parts, float& cost, const QString& text, qint32 coding);
QString CharsetName(qint32 charset);
// Sets the default-font globals for the user's locale.
void InitDefaultFont();
void InitDefaultFont(const QLocale& locale);
// The text before the first character 0.
QString TrimAtNull(const QString& text);
// A conferee line, "name <address>": split when combined is not empty,
// else built. A line that cannot be split gives "description (number)" and
// leaves name and address as they were.
QString NameAndAddress(QString& name, QString& address, QString& combined);
bool IsEmailAddress(const QString& text);
// A text shown as a menu caption: "&" stands for itself, never for a key.
QString MenuCaption(QString text);
// Every character has a code in the GSM 7-bit alphabet or its extension.
bool IsGsmText(const QString& text);

}  // namespace parlova
