#include "client/core/Settings.h"

#include "client/core/Globals.h"
#include "client/core/Module1.h"

#include "hub/engine/Gate.h"

#include "platform/FontSpec.h"
#include "platform/UserSettings.h"
#include "platform/VbError.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <variant>

namespace parlova {
namespace {

const QString kOptions = QStringLiteral("Options");

const char* const kStyleSections[5] = {"Options_ConfereesFont", "Options_MessageFont", "Options_LogFont",
                                       "Options_BookFont", "Options_OtherFont"};

QString HistorySection(HistoryList list)
{
    switch (list) {
    case HistoryList::Price: return QStringLiteral("Options_Combo2");
    case HistoryList::Currency: return QStringLiteral("Options_Combo3");
    case HistoryList::DateTimeFormat: return QStringLiteral("Options_Combo1");
    case HistoryList::SCNumber: return QStringLiteral("Options_Combo5");
    }
    return QString();
}

QString App() { return G().AppName; }

// The first failure since SaveOptions began, for it to give back.
QString g_saveError;

void Write(const QString& section, const QString& key, const QString& text)
{
    const QString error = platform::SaveSetting(App(), section, key, text);
    if (g_saveError.isEmpty())
        g_saveError = error;
}

// Values are stored as the text the BASIC runtime would give them and read
// back the way it converts text: the locale's number format first, then
// the invariant one (a file written under another locale stays readable).

QString BoolText(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }
QString LongText(qint32 v) { return QString::number(v); }

QString SingleText(float v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest text that reads back as the same single
    QString text = QString::fromLatin1(buf, r.ptr - buf);
    text.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return text;
}

std::optional<double> ParseNumber(const QString& raw)
{
    const QString text = raw.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    static const QRegularExpression hex(QStringLiteral("^&[Hh]([0-9A-Fa-f]{1,8})$"));
    const QRegularExpressionMatch m = hex.match(text);
    if (m.hasMatch()) {
        const quint32 u = m.captured(1).toUInt(nullptr, 16);
        return m.captured(1).size() <= 4 ? double(qint16(u)) : double(qint32(u));
    }
    bool ok = false;
    double v = QLocale().toDouble(text, &ok);
    if (!ok)
        v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<bool> ParseBool(const QString& raw)
{
    const QString text = raw.trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (auto n = ParseNumber(text))
        return *n != 0;
    return std::nullopt;
}

std::optional<qint32> ParseLong(const QString& text)
{
    const std::optional<double> n = ParseNumber(text);
    if (!n)
        return std::nullopt;
    const double r = std::nearbyint(*n);  // halves go to the even neighbour
    if (r < double(std::numeric_limits<qint32>::min()) || r > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(r);
}

std::optional<float> ParseSingle(const QString& text)
{
    const std::optional<double> n = ParseNumber(text);
    if (!n || std::fabs(*n) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*n);
}

int ItemNumber(const QString& key)
{
    static const QRegularExpression item(QStringLiteral("^item(\\d{1,9})$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = item.match(key);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

bool ValidStyle(int style) { return style >= 0 && style <= 4; }

}  // namespace

namespace {
struct TimeoutIndex {
    size_t index;
};
// A colour of a style's sample box.
struct SampleColor {
    int style;
    bool fore;
};
}  // namespace

// One stored setting: the field it loads into, its default, the control of
// the options dialog it is saved from and shown in. A row with no key is a
// step of SaveOptions that writes more than one value.
struct Settings::Property {
    const char* key = nullptr;
    std::variant<std::monostate, bool Settings::*, qint32 Settings::*, float Settings::*, QString Settings::*, TimeoutIndex>
        field{};
    std::variant<std::monostate, bool, qint32, float, const char*> def{};
    // Empty for a value the dialog does not edit.
    std::variant<std::monostate, bool OptionsSnapshot::*, qint32 OptionsSnapshot::*, QString OptionsSnapshot::*,
                 SampleColor, TimeoutIndex>
        control{};
    std::optional<HistoryList> history{};
    // Saved only while the dialog shows an e-mail page of a service.
    bool emailPage = false;
    // The value the dialog was shown, when it is not the stored one.
    qint32 (Settings::*shown)() const = nullptr;
    void (Settings::*changed)() = nullptr;
    void (Settings::*step)(OptionsSnapshot&) = nullptr;
};

// In the order SaveOptions writes. The port choice is read apart, in a fixed
// order; read-only and unstored properties are not here, so a value of that
// name is ignored.
const std::vector<Settings::Property>& Settings::Properties()
{
    using S = Settings;
    using O = OptionsSnapshot;
    static const std::vector<Property> props = {
        {.key = "ShowCost", .field = &S::ShowCost_, .def = true, .control = &O::ShowCost},
        {.key = "Price", .field = &S::Price_, .def = 0.06f, .control = &O::Price, .history = HistoryList::Price},
        {.key = "CurrencySign", .field = &S::CurrencySign_, .def = "$", .control = &O::CurrencySign,
         .history = HistoryList::Currency},
        {.key = "RememberRecentFiles", .field = &S::RememberRecentFiles_, .def = true, .control = &O::RememberRecentFiles},
        {.key = "RecentFilesNumber", .field = &S::RecentFilesNumber_, .def = 4, .control = &O::RecentFilesNumber},
        {.key = "WorkingFolder", .field = &S::WorkingFolder_, .def = "", .control = &O::WorkingFolder,
         .changed = &S::TellWorkingFolder},
        {.key = "SimplifiedLog", .field = &S::SimplifiedLog_, .def = false, .control = &O::SimplifiedLog},
        {.key = "DateTimeFormat", .field = &S::DateTimeFormat_, .def = "yyyy/MM/dd  HH:mm", .control = &O::DateTimeFormat,
         .history = HistoryList::DateTimeFormat},
        {.key = "ConnectAtStartUp", .field = &S::ConnectAtStartUp_, .def = false, .control = &O::ConnectAtStartUp},
        {.key = "JoinParts", .field = &S::JoinParts_, .def = true, .control = &O::JoinParts},
        {.step = &S::SavePortChoice},
        // Compared with what the dialog was shown (1 and 256 while all ports
        // are scanned), so an untouched range does not overwrite the stored one.
        {.key = "StartPort", .field = &S::StartPort_, .def = 1, .control = &O::StartPort, .shown = &S::StartPort},
        {.key = "EndPort", .field = &S::EndPort_, .def = 256, .control = &O::EndPort, .shown = &S::EndPort},
        {.key = "LastPort", .field = &S::LastPort_, .def = 0},
        {.key = "PortSpeedIndex", .field = &S::PortSpeedIndex_, .def = 6, .control = &O::PortSpeedIndex},
        {.key = "Coding", .field = &S::Coding_, .def = 10, .control = &O::Coding},
        {.key = "Class", .field = &S::Class_, .def = 4, .control = &O::Class},
        {.key = "ValidityType", .field = &S::ValidityType_, .def = 2, .control = &O::ValidityType},
        {.key = "RelativeValidity", .field = &S::RelativeValidity_, .def = 170, .control = &O::RelativeValidity},
        {.key = "RequestReport", .field = &S::RequestReport_, .def = false, .control = &O::RequestReport},
        {.key = "SCNumberFromPhone", .field = &S::SCNumberFromPhone_, .def = true, .control = &O::SCNumberFromPhone},
        {.key = "SCNumber", .field = &S::SCNumber_, .def = "", .control = &O::SCNumber, .history = HistoryList::SCNumber},
        {.step = &S::SaveStyleFonts},
        {.key = "ConfereesForeColor", .field = &S::ConfereesForeColor_, .def = kWindowText,
         .control = SampleColor{kConfereesStyle, true}},
        {.key = "ConfereesBackColor", .field = &S::ConfereesBackColor_, .def = kWindowBack,
         .control = SampleColor{kConfereesStyle, false}},
        {.key = "MessageForeColor", .field = &S::MessageForeColor_, .def = kWindowText,
         .control = SampleColor{kMessageStyle, true}},
        {.key = "MessageBackColor", .field = &S::MessageBackColor_, .def = kWindowBack,
         .control = SampleColor{kMessageStyle, false}},
        {.key = "LogForeColor", .field = &S::LogForeColor_, .def = kWindowText, .control = SampleColor{kLogStyle, true}},
        {.key = "LogBackColor", .field = &S::LogBackColor_, .def = kWindowBack, .control = SampleColor{kLogStyle, false}},
        // Shown in the dialog, saved from the phone-book grid only.
        {.key = "BookForeColor", .field = &S::BookForeColor_, .def = kWindowText, .control = SampleColor{kBookStyle, true}},
        {.key = "BookBackColor", .field = &S::BookBackColor_, .def = kWindowBack, .control = SampleColor{kBookStyle, false}},
        {.key = "OtherForeColor", .field = &S::OtherForeColor_, .def = kWindowText,
         .control = SampleColor{kOtherStyle, true}},
        {.key = "OtherBackColor", .field = &S::OtherBackColor_, .def = kWindowBack,
         .control = SampleColor{kOtherStyle, false}},
        {.key = "ConnectAtStartUpEmail", .field = &S::ConnectAtStartUpEmail_, .def = false,
         .control = &O::ConnectAtStartUpEmail, .emailPage = true},
        {.key = "UserName", .field = &S::UserName_, .def = "", .control = &O::UserName, .emailPage = true},
        {.key = "EmailAddress", .field = &S::EmailAddress_, .def = "", .control = &O::EmailAddress},
        {.key = "Login", .field = &S::Login_, .def = "", .control = &O::Login},
        {.key = "Password", .field = &S::Password_, .def = "", .control = &O::Password},
        {.key = "POP3Address", .field = &S::POP3Address_, .def = "", .control = &O::POP3Address},
        {.key = "POP3Port", .field = &S::POP3Port_, .def = 110, .control = &O::POP3Port},
        {.key = "POP3SSLRequired", .field = &S::POP3SSLRequired_, .def = false, .control = &O::POP3SSLRequired},
        {.key = "POP3PollInterval", .field = &S::POP3PollInterval_, .def = 1, .control = &O::POP3PollInterval,
         .emailPage = true},
        {.key = "SMTPAddress", .field = &S::SMTPAddress_, .def = "", .control = &O::SMTPAddress},
        {.key = "SMTPPort", .field = &S::SMTPPort_, .def = 25, .control = &O::SMTPPort},
        {.key = "SMTPSSLRequired", .field = &S::SMTPSSLRequired_, .def = false, .control = &O::SMTPSSLRequired},
        {.key = "ServerTimeout", .field = &S::ServerTimeout_, .def = 60, .control = &O::ServerTimeout},
        {.key = "SPARequired", .field = &S::SPARequired_, .def = false, .control = &O::SPARequired},
        {.key = "MaxSize", .field = &S::MaxSize_, .def = 0, .control = &O::MaxSize},
        {.key = "UseExtender", .field = &S::UseExtender_, .def = false, .control = &O::UseExtender},
        {.key = "Extender", .field = &S::Extender_, .def = "", .control = &O::Extender},
        {.key = "LimitMsgToExt", .field = &S::LimitMsgToExt_, .def = false, .control = &O::LimitMsgToExt},
        {.key = "MaxPartsToExt", .field = &S::MaxPartsToExt_, .def = 1, .control = &O::MaxPartsToExt},
        {.key = "TO0", .field = TimeoutIndex{0}, .def = -1, .control = TimeoutIndex{0}},
        {.key = "TO1", .field = TimeoutIndex{1}, .def = 0, .control = TimeoutIndex{1}},
        {.key = "TO2", .field = TimeoutIndex{2}, .def = 0, .control = TimeoutIndex{2}},
        {.key = "TO3", .field = TimeoutIndex{3}, .def = 0, .control = TimeoutIndex{3}},
        {.key = "TO4", .field = TimeoutIndex{4}, .def = 0, .control = TimeoutIndex{4}},
        // The gate is told at once, so the log starts or stops without a restart.
        {.key = "LogToFile", .field = &S::LogToFile_, .def = false, .control = &O::LogToFile, .changed = &S::TellLogToFile},
    };
    return props;
}

Settings::Settings()
{
    for (const Property& p : Properties())
        SetDefault(p);
    QString folder;
    GetSpecialFolderPath(folder, kCsidlPersonal, true);
    WorkingFolder_ = folder;
}

// A default of the wrong type throws at the first Settings made.
void Settings::SetDefault(const Property& p)
{
    std::visit(
        [&](auto field) {
            using F = decltype(field);
            if constexpr (std::is_same_v<F, bool Settings::*>)
                this->*field = std::get<bool>(p.def);
            else if constexpr (std::is_same_v<F, qint32 Settings::*>)
                this->*field = std::get<qint32>(p.def);
            else if constexpr (std::is_same_v<F, float Settings::*>)
                this->*field = std::get<float>(p.def);
            else if constexpr (std::is_same_v<F, QString Settings::*>)
                this->*field = QString::fromUtf8(std::get<const char*>(p.def));
            else if constexpr (std::is_same_v<F, TimeoutIndex>)
                Timeouts_[field.index] = std::get<qint32>(p.def);
        },
        p.field);
}

void Settings::SetFromText(const Property& p, const QString& text)
{
    std::visit(
        [&](auto target) {
            using T = decltype(target);
            if constexpr (std::is_same_v<T, bool Settings::*>) {
                if (auto v = ParseBool(text))
                    this->*target = *v;
            } else if constexpr (std::is_same_v<T, qint32 Settings::*>) {
                if (auto v = ParseLong(text))
                    this->*target = *v;
            } else if constexpr (std::is_same_v<T, float Settings::*>) {
                if (auto v = ParseSingle(text))
                    this->*target = *v;
            } else if constexpr (std::is_same_v<T, QString Settings::*>) {
                this->*target = text;
            } else if constexpr (std::is_same_v<T, TimeoutIndex>) {
                if (auto v = ParseLong(text))
                    Timeouts_[target.index] = *v;
            }
        },
        p.field);
}

void Settings::GetOptions()
{
    const QList<QPair<QString, QString>> values = platform::GetAllSettings(App(), kOptions);
    for (const auto& [name, text] : values) {
        for (const Property& p : Properties()) {
            if (p.key && name.compare(QLatin1String(p.key), Qt::CaseInsensitive) == 0) {
                SetFromText(p, text);
                break;
            }
        }
    }
    // The port choice in a fixed order, so a file that holds more than one
    // of them True gives the same choice at every start.
    const std::pair<const char*, void (Settings::*)(bool)> choice[] = {
        {"LastChoice", &Settings::LastChoice}, {"ScanPorts", &Settings::ScanPorts}, {"ScanAllPorts", &Settings::ScanAllPorts}};
    for (const auto& [key, set] : choice) {
        for (const auto& [name, text] : values) {
            if (name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0) {
                if (auto v = ParseBool(text))
                    (this->*set)(*v);
                break;
            }
        }
    }

    for (HistoryList list : {HistoryList::Price, HistoryList::Currency, HistoryList::DateTimeFormat, HistoryList::SCNumber}) {
        // By item number: the store keeps its keys sorted as text (Item10 before Item2).
        std::vector<std::pair<int, QString>> items;
        for (const auto& [key, text] : platform::GetAllSettings(App(), HistorySection(list))) {
            const int n = ItemNumber(key);
            if (n >= 0)
                items.emplace_back(n, text);
        }
        std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        HistoryState& h = histories_[size_t(list)];
        h.items.clear();
        for (auto& item : items)
            h.items << item.second;
        h.stored = !h.items.isEmpty();
    }

    const Globals& g = G();
    for (int style = 0; style < 5; ++style) {
        platform::FontSpec& f = styleFonts_[size_t(style)].emplace(StyleFont(style));
        const QString section = QLatin1String(kStyleSections[style]);
        auto read = [&](const char* key) { return platform::GetSetting(App(), section, QLatin1String(key)); };
        f.name = platform::GetSetting(App(), section, QStringLiteral("Name"), g.DefaultFontName);
        f.charset = ParseLong(read("CharSet")).value_or(g.DefaultFontCharset);
        const std::optional<float> size = ParseSingle(read("Size"));
        f.size = size && platform::SaneFontSize(*size) ? double(*size) : double(g.DefaultFontSize);
        f.bold = ParseBool(read("Bold")).value_or(false);
        f.italic = ParseBool(read("Italic")).value_or(false);
        f.strikethrough = ParseBool(read("Strikethru")).value_or(false);
        f.underline = ParseBool(read("Underline")).value_or(false);
    }
}

namespace {
// Writes the control's value where it differs from the stored one.
template <typename T, typename ToText>
bool Store(const char* key, T& stored, const T& control, ToText toText)
{
    if (stored == control)
        return false;
    stored = control;
    Write(kOptions, QLatin1String(key), toText(control));
    return true;
}

QString SameText(const QString& s) { return s; }
}  // namespace

QString Settings::SaveOptions(OptionsSnapshot& c)
{
    g_saveError.clear();
    const bool emailPage = EmailType_ == 1 || EmailType_ == 2;
    for (const Property& p : Properties()) {
        if (p.step) {
            (this->*p.step)(c);
            continue;
        }
        if (p.emailPage && !emailPage)
            continue;
        if (!SaveProperty(p, c))
            continue;
        if (p.history)
            UpdateHistory(*p.history, c.*std::get<QString OptionsSnapshot::*>(p.control));
        if (p.changed)
            (this->*p.changed)();
    }
    return g_saveError;
}

bool Settings::SaveProperty(const Property& p, OptionsSnapshot& c)
{
    return std::visit(
        [&](auto field, auto control) -> bool {
            using F = decltype(field);
            using C = decltype(control);
            if constexpr (std::is_same_v<F, bool Settings::*> && std::is_same_v<C, bool OptionsSnapshot::*>) {
                return Store(p.key, this->*field, c.*control, BoolText);
            } else if constexpr (std::is_same_v<F, qint32 Settings::*> && std::is_same_v<C, qint32 OptionsSnapshot::*>) {
                if (!p.shown)
                    return Store(p.key, this->*field, c.*control, LongText);
                if (c.*control == (this->*p.shown)())
                    return false;
                this->*field = c.*control;
                Write(kOptions, QLatin1String(p.key), LongText(c.*control));
                return true;
            } else if constexpr (std::is_same_v<F, qint32 Settings::*> && std::is_same_v<C, SampleColor>) {
                // The Book style has no sample box in the dialog.
                if (control.style == kBookStyle)
                    return false;
                const StyleSample& sample = c.Samples[size_t(control.style)];
                return Store(p.key, this->*field, control.fore ? sample.foreColor : sample.backColor, LongText);
            } else if constexpr (std::is_same_v<F, qint32 Settings::*> && std::is_same_v<C, QString OptionsSnapshot::*>) {
                // A text box that holds no number leaves its setting alone.
                const std::optional<qint32> v = ParseLong(c.*control);
                return v && Store(p.key, this->*field, *v, LongText);
            } else if constexpr (std::is_same_v<F, float Settings::*> && std::is_same_v<C, QString OptionsSnapshot::*>) {
                const std::optional<float> v = ParseSingle(c.*control);
                if (!v)
                    (c.*control).clear();
                return Store(p.key, this->*field, v.value_or(0.0f), SingleText);
            } else if constexpr (std::is_same_v<F, QString Settings::*> && std::is_same_v<C, QString OptionsSnapshot::*>) {
                return Store(p.key, this->*field, c.*control, SameText);
            } else if constexpr (std::is_same_v<F, TimeoutIndex> && std::is_same_v<C, TimeoutIndex>) {
                QString& box = c.Timeouts[control.index];
                const std::optional<qint32> v = ParseLong(box);
                if (!v)
                    box.clear();
                return Store(p.key, Timeouts_[field.index], v.value_or(0), LongText);
            } else {
                // No control, or a pairing the table never makes.
                Q_ASSERT((std::is_same_v<C, std::monostate>));
                return false;
            }
        },
        p.field, p.control);
}

// The three values of the port choice are written together, so the store
// never holds two of them True.
void Settings::SavePortChoice(OptionsSnapshot& c)
{
    if (c.Port == Port())
        return;
    switch (c.Port) {
    case PortChoice::LastChoice: LastChoice(true); break;
    case PortChoice::ScanPorts: ScanPorts(true); break;
    case PortChoice::ScanAllPorts: ScanAllPorts(true); break;
    }
    Write(kOptions, QStringLiteral("LastChoice"), BoolText(LastChoice_));
    Write(kOptions, QStringLiteral("ScanPorts"), BoolText(ScanPorts_));
    Write(kOptions, QStringLiteral("ScanAllPorts"), BoolText(ScanAllPorts_));
}

void Settings::SaveStyleFonts(OptionsSnapshot& c)
{
    for (int style : {kConfereesStyle, kMessageStyle, kLogStyle, kOtherStyle}) {
        if (fontChanged_[size_t(style)]) {
            styleFonts_[size_t(style)] = c.Samples[size_t(style)].font;
            WriteStyleFont(style);
        }
    }
}

void Settings::TellWorkingFolder()
{
    if (WorkingFolderChanged)
        WorkingFolderChanged(WorkingFolder_);
}

void Settings::TellLogToFile()
{
    if (G().PhoneGate)
        G().PhoneGate->LogToFile(LogToFile_ ? WorkingFolder_ : QString());
}

std::optional<qint32> Settings::LongFromText(const QString& text) { return ParseLong(text); }

void Settings::SaveBookOptions(bool fontChanged, const platform::FontSpec& font, qint32 foreColor, qint32 backColor)
{
    if (fontChanged) {
        styleFonts_[kBookStyle] = font;
        WriteStyleFont(kBookStyle);
    }
    if (foreColor != BookForeColor_) {
        BookForeColor_ = foreColor;
        Write(kOptions, QStringLiteral("BookForeColor"), LongText(foreColor));
    }
    if (backColor != BookBackColor_) {
        BookBackColor_ = backColor;
        Write(kOptions, QStringLiteral("BookBackColor"), LongText(backColor));
    }
}

OptionsSnapshot Settings::Snapshot()
{
    OptionsSnapshot c;
    for (const Property& p : Properties())
        ShowProperty(p, c);
    c.Port = Port();
    for (int style = 0; style < 5; ++style)
        c.Samples[size_t(style)].font = StyleFont(style);
    return c;
}

void Settings::ShowProperty(const Property& p, OptionsSnapshot& c) const
{
    std::visit(
        [&](auto field, auto control) {
            using F = decltype(field);
            using C = decltype(control);
            if constexpr (std::is_same_v<F, bool Settings::*> && std::is_same_v<C, bool OptionsSnapshot::*>) {
                c.*control = this->*field;
            } else if constexpr (std::is_same_v<F, qint32 Settings::*> && std::is_same_v<C, qint32 OptionsSnapshot::*>) {
                c.*control = p.shown ? (this->*p.shown)() : this->*field;
            } else if constexpr (std::is_same_v<F, qint32 Settings::*> && std::is_same_v<C, SampleColor>) {
                StyleSample& sample = c.Samples[size_t(control.style)];
                (control.fore ? sample.foreColor : sample.backColor) = this->*field;
            } else if constexpr (std::is_same_v<F, qint32 Settings::*> && std::is_same_v<C, QString OptionsSnapshot::*>) {
                c.*control = LongText(this->*field);
            } else if constexpr (std::is_same_v<F, float Settings::*> && std::is_same_v<C, QString OptionsSnapshot::*>) {
                c.*control = SingleText(this->*field);
            } else if constexpr (std::is_same_v<F, QString Settings::*> && std::is_same_v<C, QString OptionsSnapshot::*>) {
                c.*control = this->*field;
            } else if constexpr (std::is_same_v<F, TimeoutIndex> && std::is_same_v<C, TimeoutIndex>) {
                c.Timeouts[control.index] = LongText(Timeouts_[field.index]);
            } else {
                Q_ASSERT((std::is_same_v<C, std::monostate>));
            }
        },
        p.field, p.control);
}

void Settings::LastChoice(bool value)
{
    if (!value)
        return;
    LastChoice_ = true;
    ScanPorts_ = ScanAllPorts_ = false;
}

void Settings::ScanPorts(bool value)
{
    if (!value)
        return;
    ScanPorts_ = true;
    LastChoice_ = ScanAllPorts_ = false;
}

void Settings::ScanAllPorts(bool value)
{
    if (!value)
        return;
    ScanAllPorts_ = true;
    LastChoice_ = ScanPorts_ = false;
}

PortChoice Settings::Port() const
{
    return LastChoice_ ? PortChoice::LastChoice : ScanPorts_ ? PortChoice::ScanPorts : PortChoice::ScanAllPorts;
}

void Settings::SaveLastPort(qint32 port)
{
    Write(kOptions, QStringLiteral("LastPort"), LongText(port));
    LastPort_ = port;
}

void Settings::SetLastChoice()
{
    LastChoice(true);
    Write(kOptions, QStringLiteral("LastChoice"), BoolText(true));
    Write(kOptions, QStringLiteral("ScanPorts"), BoolText(false));
    Write(kOptions, QStringLiteral("ScanAllPorts"), BoolText(false));
}

void Settings::SetScanAllPorts()
{
    ScanAllPorts(true);
    Write(kOptions, QStringLiteral("LastChoice"), BoolText(false));
    Write(kOptions, QStringLiteral("ScanPorts"), BoolText(false));
    Write(kOptions, QStringLiteral("ScanAllPorts"), BoolText(true));
}

qint32 Settings::PortSpeed() const
{
    static constexpr qint32 kSpeeds[] = {9600, 14400, 19200, 38400, 56000, 57600};
    return PortSpeedIndex_ >= 0 && PortSpeedIndex_ < 6 ? kSpeeds[PortSpeedIndex_] : 115200;
}

platform::FontSpec Settings::StyleFont(int style)
{
    if (!ValidStyle(style))
        return {};
    std::optional<platform::FontSpec>& f = styleFonts_[size_t(style)];
    if (!f) {
        const Globals& g = G();
        f = platform::FontSpec{};
        f->name = g.DefaultFontName;
        f->charset = g.DefaultFontCharset;
        f->size = g.DefaultFontSize;
    }
    return *f;
}

qint32& Settings::ForeColorOf(int style)
{
    qint32* colors[5] = {&ConfereesForeColor_, &MessageForeColor_, &LogForeColor_, &BookForeColor_, &OtherForeColor_};
    return *colors[style];
}

qint32& Settings::BackColorOf(int style)
{
    qint32* colors[5] = {&ConfereesBackColor_, &MessageBackColor_, &LogBackColor_, &BookBackColor_, &OtherBackColor_};
    return *colors[style];
}

qint32 Settings::StyleForeColor(int style) const
{
    return ValidStyle(style) ? const_cast<Settings*>(this)->ForeColorOf(style) : 0;
}

qint32 Settings::StyleBackColor(int style) const
{
    return ValidStyle(style) ? const_cast<Settings*>(this)->BackColorOf(style) : 0;
}

bool Settings::StyleFontChanged(int style) const { return ValidStyle(style) && fontChanged_[size_t(style)]; }

void Settings::SetStyleFontChanged(int style)
{
    if (ValidStyle(style))
        fontChanged_[size_t(style)] = true;
}

void Settings::WriteStyleFont(int style)
{
    const platform::FontSpec f = StyleFont(style);
    const QString section = QLatin1String(kStyleSections[style]);
    Write(section, QStringLiteral("Name"), f.name);
    Write(section, QStringLiteral("CharSet"), LongText(f.charset));
    Write(section, QStringLiteral("Size"), SingleText(float(f.size)));
    Write(section, QStringLiteral("Bold"), BoolText(f.bold));
    Write(section, QStringLiteral("Italic"), BoolText(f.italic));
    Write(section, QStringLiteral("Strikethru"), BoolText(f.strikethrough));
    Write(section, QStringLiteral("Underline"), BoolText(f.underline));
}

QStringList Settings::History(HistoryList list) const
{
    const HistoryState& h = histories_[size_t(list)];
    return h.stored ? h.items : QStringList{QString()};
}

QStringList Settings::ComboItems(HistoryList list) const
{
    const HistoryState& h = histories_[size_t(list)];
    return h.stored ? h.items : DesignItems(list);
}

QStringList Settings::DesignItems(HistoryList list)
{
    if (list == HistoryList::DateTimeFormat)
        return {QStringLiteral("yyyy/MM/dd  HH:mm"), QStringLiteral("dd.MM.yy HH:mm")};
    return {};
}

void Settings::UpdateHistory(HistoryList list, const QString& text)
{
    HistoryState& h = histories_[size_t(list)];
    const QString section = HistorySection(list);
    // A history never stored starts from the box's own items; the empty
    // marker is replaced, not kept in front of them.
    if (!h.stored) {
        h.items = DesignItems(list);
        for (qsizetype i = 0; i < h.items.size(); ++i)
            Write(section, QStringLiteral("Item") + QString::number(i), h.items[i]);
        h.stored = true;
    }
    // A box emptied because its text was no number adds nothing.
    if (text.isEmpty() || h.items.contains(text))
        return;
    // One past the highest number stored, so no stored item is overwritten.
    int next = 0;
    for (const auto& [key, value] : platform::GetAllSettings(App(), section))
        next = std::max(next, ItemNumber(key) + 1);
    Write(section, QStringLiteral("Item") + QString::number(next), text);
    h.items << text;
}

}  // namespace parlova
