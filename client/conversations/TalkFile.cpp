#include "client/conversations/TalkFile.h"

#include "client/core/Module1.h"
#include "common/Utf8.h"
#include "platform/Ansi.h"
#include "platform/VbError.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cerrno>
#include <optional>

namespace parlova {

namespace {

const QByteArray kFileParameters("File parameters");
const QByteArray kMessageParameters("Message parameters");
const QByteArray kConferees("Conferees");
const QByteArray kArchive("Archive");
const QByteArray kNewMessage("New message");
const QByteArray kChunks("Chunks");
const QByteArrayList kTrailingSections = {kArchive, kNewMessage};
const QByteArray kFontSections[3] = {"Conferees_font", "New_message_font", "Archive_font"};
const QByteArrayList kParameterKeys = {"Coding", "Class", "Validity_format", "Relative_validity_period",
                                       "Absolute_validity_period", "Report", "Autosave"};
const QByteArrayList kValidityKeys = {"Validity_format", "Relative_validity_period", "Absolute_validity_period"};
const QByteArrayList kFontKeys = {"Name", "Size", "Charset", "Bold", "Italic", "Underline", "Strikethru",
                                  "Fore_color", "Back_color"};
// The keys a change of font writes together.
const QByteArrayList kFontChangeKeys = {"Name", "Size", "Bold", "Italic", "Underline", "Strikethru", "Fore_color"};

const QString kNotSaved = QStringLiteral("The file was not saved");
constexpr int kInvalidPropertyValue = 380;
constexpr int kLongestConferee = 32767;
constexpr int kCorruptChunkCount = 99999;

QByteArray Utf8Bytes(const QString& text) { return platform::TextToAnsi(common::UTF8Encode(text)); }

// Decoded text, bad octets dropped; ok tells whether there were any.
QString Utf8Text(const QByteArray& bytes, bool& ok)
{
    QString text;
    int bad = 0;
    ok = common::UTF8Decode(text, bad, platform::AnsiToText(bytes)).isEmpty();
    return text;
}

QString Substituted(QString text)
{
    text.replace(QLatin1Char('['), QChar(0xFF3B));
    text.replace(QLatin1Char(']'), QChar(0xFF3D));
    return text;
}

QString Restored(QString text)
{
    text.replace(QChar(0xFF3B), QLatin1Char('['));
    text.replace(QChar(0xFF3D), QLatin1Char(']'));
    return text;
}

// The lines a log or new message is stored as.
QByteArrayList TextLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    const QByteArray bytes = Utf8Bytes(Substituted(text));
    QByteArrayList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.append(bytes.mid(start));
    return lines;
}

// The lines a log entry adds to the archive's: the line end it starts with
// ends the archive's last line, so it is a line of its own only in an
// empty archive. The log read back is then the log written.
QByteArrayList EntryLines(const QString& entry, bool emptyArchive)
{
    QByteArrayList lines = TextLines(entry);
    if (!emptyArchive && lines.size() > 1 && lines.first().isEmpty())
        lines.removeFirst();
    return lines;
}

QByteArray SizeText(double size) { return QByteArray::number(size, 'g', 7); }

QByteArray DateText(const QDateTime& when)
{
    if (!when.isValid())
        return {};
    const QDate d = when.date();
    const QTime t = when.time();
    return QString::asprintf("%04d/%02d/%02d  %02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute()).toLatin1();
}

// Written with "/" and ":"; files from regional settings may hold "." or
// "-" in the date, or the day first.
std::optional<QDateTime> ReadDate(const QString& text)
{
    static const QRegularExpression yearFirst(
        QStringLiteral(R"(^\s*(\d{4})[/.\-](\d{1,2})[/.\-](\d{1,2})(?:\s+(\d{1,2})[:.](\d{1,2})(?:[:.](\d{1,2}))?)?\s*$)"));
    static const QRegularExpression dayFirst(
        QStringLiteral(R"(^\s*(\d{1,2})[.\-](\d{1,2})[.\-](\d{4})(?:\s+(\d{1,2})[:.](\d{1,2})(?:[:.](\d{1,2}))?)?\s*$)"));
    int year = 0, month = 0, day = 0;
    QRegularExpressionMatch m = yearFirst.match(text);
    if (m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else if ((m = dayFirst.match(text)).hasMatch()) {
        day = m.captured(1).toInt();
        month = m.captured(2).toInt();
        year = m.captured(3).toInt();
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

// Written with ".", read with "." or ",".
std::optional<double> ReadSize(const QString& text)
{
    bool ok = false;
    const double size = QLocale::c().toDouble(text.trimmed().replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    if (!ok)
        return std::nullopt;
    return size;
}

QByteArray ParameterValue(const TalkRecord& talk, const QByteArray& key)
{
    if (key == "Coding")
        return QByteArray::number(talk.Coding);
    if (key == "Class")
        return QByteArray::number(talk.Class);
    if (key == "Validity_format")
        return QByteArray::number(talk.Validity);
    if (key == "Relative_validity_period")
        return QByteArray::number(talk.validityCode);
    if (key == "Absolute_validity_period")
        return Utf8Bytes(QString::fromLatin1(DateText(talk.validityDate)));
    if (key == "Report")
        return QByteArray::number(talk.report);
    return talk.Autosave ? "1" : "0";
}

QByteArray FontValue(const TalkArea& area, const QByteArray& key)
{
    auto flag = [](bool on) { return on ? QByteArray("-1") : QByteArray("0"); };
    if (key == "Name")
        return Utf8Bytes(area.font.name);
    if (key == "Size")
        return SizeText(area.font.size);
    if (key == "Charset")
        return QByteArray::number(area.font.charset);
    if (key == "Bold")
        return flag(area.font.bold);
    if (key == "Italic")
        return flag(area.font.italic);
    if (key == "Underline")
        return flag(area.font.underline);
    if (key == "Strikethru")
        return flag(area.font.strikethrough);
    if (key == "Fore_color")
        return QByteArray::number(area.foreColor);
    return QByteArray::number(area.backColor);
}

QByteArray ConfereeKey(int position) { return QString::asprintf("Conf%05d", position).toLatin1(); }

QByteArrayList ConfereeLines(const TalkRecord& talk)
{
    QByteArrayList lines;
    for (int i = 0; i < talk.conferees.size(); ++i)
        lines.append(platform::ProfileFile::EntryLine(ConfereeKey(i + 1), Utf8Bytes(talk.conferees[i])));
    return lines;
}

int FontSectionIndex(const QString& section)
{
    for (int i = 0; i < 3; ++i)
        if (section == QLatin1String(kFontSections[i]))
            return i;
    return -1;
}

void Warn(QString& warnings, const QString& warning) { warnings += QStringLiteral("\r\n") + warning; }

void WarnRefused(QString& warnings, const QByteArray& section, const QString& description, int number)
{
    Warn(warnings, QStringLiteral("Section [") + QString::fromLatin1(section) + QStringLiteral("] error: ") +
                       platform::ErrorText(description, number));
}

void WarnInvalid(QString& warnings, const QByteArray& section)
{
    WarnRefused(warnings, section, QStringLiteral("Invalid property value"), kInvalidPropertyValue);
}

void WarnMismatch(QString& warnings, const QByteArray& section)
{
    WarnRefused(warnings, section, QStringLiteral("Type mismatch"), platform::vberr::TypeMismatch);
}

// The keys of a section set to the values they have now.
template <class ValueOf>
platform::ProfileFile::Edit KeysEdit(const QByteArray& section, const QByteArrayList& keys, ValueOf valueOf)
{
    QByteArrayList values;
    for (const QByteArray& k : keys)
        values << valueOf(k);
    return [section, keys, values](platform::ProfileFile& f) {
        for (qsizetype i = 0; i < keys.size(); ++i)
            f.setValue(section, keys[i], values[i]);
    };
}

[[noreturn]] void RaiseFileError(const platform::ProfileFile& file, const QString& source)
{
    platform::Raise(file.error(), source, file.errorDescription());
}

}  // namespace

TalkFile::TalkFile() { file_.setTrailingSections(kTrailingSections); }

QByteArray TalkFile::Layout(const TalkRecord& talk)
{
    QByteArray out;
    auto line = [&out](const QByteArray& text) {
        out += text;
        out += "\r\n";
    };
    using platform::ProfileFile;
    line("; This file contains parameters and a log of messages for the conference of the Parlova application");
    line('[' + kFileParameters + ']');
    line(ProfileFile::EntryLine("Coding", "UTF-8"));
    line(ProfileFile::EntryLine("Version", "2"));
    line('[' + kMessageParameters + ']');
    for (const QByteArray& key : kParameterKeys)
        line(ProfileFile::EntryLine(key, ParameterValue(talk, key)));
    line({});
    line('[' + kConferees + ']');
    for (const QByteArray& entry : ConfereeLines(talk))
        line(entry);
    line({});
    for (int i = 0; i < 3; ++i) {
        line('[' + kFontSections[i] + ']');
        for (const QByteArray& key : kFontKeys)
            line(ProfileFile::EntryLine(key, FontValue(talk.areas[i], key)));
    }
    line({});
    line('[' + kArchive + ']');
    for (const QByteArray& text : TextLines(talk.log))
        line(text);
    line('[' + kNewMessage + ']');
    for (const QByteArray& text : TextLines(talk.Text))
        line(text);
    line({});
    return out;
}

void TalkFile::SaveToFile(TalkRecord& talk, const QString& path)
{
    // A file another running copy has open is not written over.
    platform::FileClaim claim;
    const bool claimed = claim_.covers(path);
    if (!claimed && !claim.take(path))
        platform::Raise(EBUSY, QStringLiteral("SaveToFile"), OpenElsewhereText());
    // Another path is written through a file of its own, so that a failed
    // save leaves what is still owed to the conversation's file in place.
    platform::ProfileFile other;
    platform::ProfileFile& file = path == file_.path() ? file_ : other;
    file.setTrailingSections(kTrailingSections);
    file.setPath(path);
    file.replaceAll(Layout(talk));
    if (!file.commit())
        RaiseFileError(file, QStringLiteral("SaveToFile"));
    if (&file == &other)
        file_ = std::move(other);
    if (!claimed)
        claim_ = std::move(claim);
    talk.Pathname = path;
    talk.Theme = FileTitle(path);
    talk.Dirty = false;
    talk.autosaveEnabled = true;
}

QString TalkFile::WriteTalkFileEntry(const TalkRecord& talk, const QString& section, const QString& key,
                                     const QString& text)
{
    return platform::TextOrError([&]() -> QString {
        if (talk.Pathname.isEmpty())
            return kNotSaved;
        file_.setPath(talk.Pathname);
        // One lock from the read to the write: no other writer comes between.
        const bool loaded = file_.load(platform::ProfileFile::Editing);
        const struct Release {
            platform::ProfileFile& file;
            ~Release() { file.release(); }
        } release{file_};
        if (loaded && file_.integer(kChunks, "Chunk_size", 0) != 0)
            return QStringLiteral("The file has an old format");
        const std::optional<platform::ProfileFile::Edit> edit = EditFor(talk, section, key, text);
        // Kept even when the file could not be read: the next write that
        // can read it makes it too, in its place among the others.
        if (edit)
            file_.change(*edit);
        // A file deleted or moved away is not made again from one entry.
        if (!loaded)
            return file_.error() == ENOENT ? kNotSaved : file_.errorText();
        if (!edit)
            return {};
        const bool tail = section == QLatin1String(kArchive);
        const bool written = tail ? file_.commitTail() : file_.commit();
        return written ? QString() : file_.errorText();
    });
}

std::optional<platform::ProfileFile::Edit> TalkFile::EditFor(const TalkRecord& talk, const QString& section,
                                                             const QString& key, const QString& text)
{
    using platform::ProfileFile;
    const QByteArray keyBytes = key.toLatin1();
    if (section == QLatin1String(kMessageParameters)) {
        QByteArrayList keys;
        if (kValidityKeys.contains(keyBytes))
            keys = kValidityKeys;
        else if (keyBytes == "Coding" || keyBytes == "Class" || keyBytes == "Report" || keyBytes == "Autosave")
            keys = {keyBytes};
        else
            return std::nullopt;
        return KeysEdit(kMessageParameters, keys, [&](const QByteArray& k) { return ParameterValue(talk, k); });
    }
    if (section == QLatin1String(kConferees))
        return [lines = ConfereeLines(talk)](ProfileFile& f) { f.replaceSection(kConferees, lines); };
    if (const int area = FontSectionIndex(section); area >= 0) {
        QByteArrayList keys;
        if (keyBytes == "Charset" || keyBytes == "Back_color")
            keys = {keyBytes};
        else if (kFontChangeKeys.contains(keyBytes))
            keys = kFontChangeKeys;
        else
            return std::nullopt;
        return KeysEdit(kFontSections[area], keys, [&](const QByteArray& k) { return FontValue(talk.areas[area], k); });
    }
    if (section != QLatin1String(kArchive) && section != QLatin1String(kNewMessage))
        return std::nullopt;
    // The new message ends the file, so a log entry goes in just before it
    // and only the bytes from there on are rewritten.
    const bool entry = section == QLatin1String(kArchive);
    return [entry, text, draft = TextLines(talk.Text)](ProfileFile& f) {
        f.removeSection(kNewMessage);
        if (entry)
            f.appendToSection(kArchive, EntryLines(text, f.lineCount(kArchive) == 0));
        f.replaceSection(kNewMessage, draft);
    };
}

bool TalkFile::OpenElsewhere(const QString& path) { return platform::FileClaim::HeldElsewhere(path); }

QString TalkFile::OpenElsewhereText() { return QStringLiteral("The file is open in another running copy of the program"); }

QString TalkFile::NameRefusal(const QString& path)
{
    if (!FileTitle(path).isEmpty())
        return {};
    return QStringLiteral("The file name '") + QFileInfo(path).fileName() +
           QStringLiteral("' has no name before its extension, and a conference is named after its file");
}

QString TalkFile::OpenFromFile(TalkRecord& talk, QString& warnings, const QString& path)
{
    if (!talk.Theme.isEmpty())
        return QStringLiteral("Conference ") + talk.Theme + QStringLiteral(" have been already opened");
    if (const QString refused = NameRefusal(path); !refused.isEmpty())
        return refused;
    if (!claim_.take(path))
        return QStringLiteral("File '") + path + QStringLiteral("' have already opened");
    QString gathered;
    file_.setPath(path);
    if (file_.load()) {
        const bool utf8 = file_.string(kFileParameters, "Coding", "ANSI") == "UTF-8";
        readParameters(talk, utf8, gathered);
        readConferees(talk, utf8, gathered);
        readFonts(talk, utf8, gathered);
        readText(talk.Text, false, gathered);
        readText(talk.log, true, gathered);
    } else if (file_.error() != ENOENT) {
        RaiseFileError(file_, QStringLiteral("OpenFromFile"));
    }
    talk.Pathname = path;
    talk.Theme = FileTitle(path);
    talk.autosaveEnabled = true;
    warnings = gathered;
    return {};
}

void TalkFile::readParameters(TalkRecord& talk, bool utf8, QString& warnings) const
{
    const QByteArray& s = kMessageParameters;
    talk.Coding = file_.integer(s, "Coding", 0);
    talk.Class = file_.integer(s, "Class", 2);
    talk.Validity = file_.integer(s, "Validity_format", 2);

    // A value the window's controls would refuse keeps its default.
    const qint32 code = file_.integer(s, "Relative_validity_period", 170);
    talk.validityCode = 170;
    if (code < 0 || code > 255)
        WarnInvalid(warnings, s);
    else
        talk.validityCode = code;

    const QByteArray date = file_.string(s, "Absolute_validity_period", {});
    if (!date.isEmpty()) {
        bool ok = true;
        const QString text = utf8 ? Utf8Text(date, ok) : platform::AnsiToText(date);
        if (ok) {
            if (const std::optional<QDateTime> when = ReadDate(text))
                talk.validityDate = *when;
            else
                WarnMismatch(warnings, s);
        }
    }

    auto checkBox = [&](const char* key) {
        const qint32 value = file_.integer(s, key, 0);
        if (value >= 0 && value <= 2)
            return value;
        WarnInvalid(warnings, s);
        return 0;
    };
    talk.report = checkBox("Report");
    talk.Autosave = checkBox("Autosave") != 0;
}

void TalkFile::readConferees(TalkRecord& talk, bool utf8, QString& warnings) const
{
    // One pass over the section, not one per key: thousands of conferees.
    const QHash<QByteArray, QByteArray> values = file_.sectionValues(kConferees);
    for (int position = 1; position <= 32000; ++position) {
        const QByteArray key = ConfereeKey(position);
        const QByteArray value = values.value(key.toLower());
        if (value.isEmpty())
            break;
        if (value.size() >= kLongestConferee) {
            Warn(warnings, QStringLiteral("Conferee ") + QString::fromLatin1(key) + QStringLiteral(" was truncated"));
            continue;
        }
        bool ok = true;
        const QString line = utf8 ? Utf8Text(value, ok) : platform::AnsiToText(value);
        if (ok)
            talk.conferees.append(line);
    }
}

void TalkFile::readFonts(TalkRecord& talk, bool utf8, QString& warnings) const
{
    for (int i = 0; i < 3; ++i) {
        const QByteArray& s = kFontSections[i];
        TalkArea& area = talk.areas[i];
        const QByteArray name = file_.string(s, "Name", {});
        if (!name.isEmpty()) {
            bool ok = true;
            const QString text = utf8 ? Utf8Text(name, ok) : platform::AnsiToText(name);
            if (ok)
                area.font.name = text;
        }
        const QString size = TrimAtNull(platform::AnsiToText(file_.string(s, "Size", {})));
        if (!size.isEmpty()) {
            const std::optional<double> points = ReadSize(size);
            if (!points)
                WarnMismatch(warnings, s);
            else if (*points <= 0 || *points > 2048)
                WarnInvalid(warnings, s);
            else
                area.font.size = *points;
        }
        area.font.charset = file_.integer(s, "Charset", 1);
        area.font.bold = file_.integer(s, "Bold", 0) != 0;
        area.font.italic = file_.integer(s, "Italic", 0) != 0;
        area.font.underline = file_.integer(s, "Underline", 0) != 0;
        area.font.strikethrough = file_.integer(s, "Strikethru", 0) != 0;
        area.foreColor = file_.integer(s, "Fore_color", kWindowTextColor);
        area.backColor = file_.integer(s, "Back_color", kWindowBackColor);
    }
}

void TalkFile::readText(QString& target, bool archive, QString& warnings) const
{
    const QByteArray& section = archive ? kArchive : kNewMessage;
    const QString name = QString::fromLatin1(section);
    const int chunks = file_.integer(kChunks, archive ? "Archive_saved_chunks" : "New_message_saved_chunks", 0);
    if (chunks >= kCorruptChunkCount) {
        Warn(warnings, QStringLiteral("Section [") + name + QStringLiteral("] corrupted"));
        return;
    }
    if (chunks >= 1) {
        target = readChunks(name, chunks).mid(2);
        if (archive) {
            const QString rule(60, QLatin1Char('_'));
            target += QStringLiteral("\r\n") + rule + QStringLiteral("\r\n!!! Messages above are in the reverse order !!!\r\n") + rule;
        }
        return;
    }
    std::optional<QByteArrayList> lines = file_.sectionLines(section);
    if (!lines)
        return;
    // The log comes back line for line, its empty lines too (the one it
    // starts with, those inside a text); the new message without the empty
    // lines that end the file.
    if (!archive)
        while (!lines->isEmpty() && lines->last().isEmpty())
            lines->removeLast();
    const QByteArray bytes = lines->join("\r\n");
    if (bytes.isEmpty())
        return;
    // Bad octets are dropped, not the whole text: the next save keeps the rest.
    QString text;
    int bad = 0;
    const QString error = common::UTF8Decode(text, bad, platform::AnsiToText(bytes));
    if (!error.isEmpty())
        Warn(warnings, QStringLiteral("Section [") + name + QStringLiteral("] error: ") + error);
    target = Restored(text);
}

QString TalkFile::readChunks(const QString& name, int count) const
{
    QString gathered;
    for (int j = 1; j <= count; ++j) {
        const std::optional<QByteArrayList> lines =
            file_.sectionLines((name + QString::asprintf(" %05d", j)).toLatin1());
        if (!lines)
            continue;
        QString chunk;
        for (const QByteArray& line : *lines)
            if (!line.isEmpty())
                chunk += QStringLiteral("\r\n") + platform::AnsiToText(line);
        if (chunk.startsWith(QStringLiteral("\r\n~~\r\n")))
            chunk.remove(0, 6);
        gathered.prepend(chunk);
    }
    return gathered;
}

}  // namespace parlova
