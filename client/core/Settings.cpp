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
}  // namespace

struct Settings::Property {
    const char* name;
    std::variant<bool Settings::*, qint32 Settings::*, float Settings::*, QString Settings::*, TimeoutIndex> target;
};

// The properties a stored value may set by its name. The port choice is
// read apart, in a fixed order; read-only and unstored properties are not
// here, so a value of that name is ignored.
const std::vector<Settings::Property>& Settings::Properties()
{
    static const std::vector<Property> props = {
        {"ShowCost", &Settings::ShowCost_},
        {"Price", &Settings::Price_},
        {"CurrencySign", &Settings::CurrencySign_},
        {"RememberRecentFiles", &Settings::RememberRecentFiles_},
        {"RecentFilesNumber", &Settings::RecentFilesNumber_},
        {"WorkingFolder", &Settings::WorkingFolder_},
        {"SimplifiedLog", &Settings::SimplifiedLog_},
        {"DateTimeFormat", &Settings::DateTimeFormat_},
        {"ConnectAtStartUp", &Settings::ConnectAtStartUp_},
        {"JoinParts", &Settings::JoinParts_},
        {"StartPort", &Settings::StartPort_},
        {"EndPort", &Settings::EndPort_},
        {"LastPort", &Settings::LastPort_},
        {"PortSpeedIndex", &Settings::PortSpeedIndex_},
        {"Coding", &Settings::Coding_},
        {"Class", &Settings::Class_},
        {"ValidityType", &Settings::ValidityType_},
        {"RelativeValidity", &Settings::RelativeValidity_},
        {"RequestReport", &Settings::RequestReport_},
        {"SCNumberFromPhone", &Settings::SCNumberFromPhone_},
        {"SCNumber", &Settings::SCNumber_},
        {"ConfereesForeColor", &Settings::ConfereesForeColor_},
        {"ConfereesBackColor", &Settings::ConfereesBackColor_},
        {"MessageForeColor", &Settings::MessageForeColor_},
        {"MessageBackColor", &Settings::MessageBackColor_},
        {"LogForeColor", &Settings::LogForeColor_},
        {"LogBackColor", &Settings::LogBackColor_},
        {"BookForeColor", &Settings::BookForeColor_},
        {"BookBackColor", &Settings::BookBackColor_},
        {"OtherForeColor", &Settings::OtherForeColor_},
        {"OtherBackColor", &Settings::OtherBackColor_},
        {"TO0", TimeoutIndex{0}},
        {"TO1", TimeoutIndex{1}},
        {"TO2", TimeoutIndex{2}},
        {"TO3", TimeoutIndex{3}},
        {"TO4", TimeoutIndex{4}},
        {"LogToFile", &Settings::LogToFile_},
        {"UseExtender", &Settings::UseExtender_},
        {"Extender", &Settings::Extender_},
        {"LimitMsgToExt", &Settings::LimitMsgToExt_},
        {"MaxPartsToExt", &Settings::MaxPartsToExt_},
        {"ConnectAtStartUpEmail", &Settings::ConnectAtStartUpEmail_},
        {"UserName", &Settings::UserName_},
        {"EmailAddress", &Settings::EmailAddress_},
        {"Login", &Settings::Login_},
        {"Password", &Settings::Password_},
        {"POP3Address", &Settings::POP3Address_},
        {"POP3Port", &Settings::POP3Port_},
        {"POP3SSLRequired", &Settings::POP3SSLRequired_},
        {"POP3PollInterval", &Settings::POP3PollInterval_},
        {"SMTPAddress", &Settings::SMTPAddress_},
        {"SMTPPort", &Settings::SMTPPort_},
        {"SMTPSSLRequired", &Settings::SMTPSSLRequired_},
        {"ServerTimeout", &Settings::ServerTimeout_},
        {"SPARequired", &Settings::SPARequired_},
        {"MaxSize", &Settings::MaxSize_},
    };
    return props;
}

Settings::Settings()
{
    QString folder;
    GetSpecialFolderPath(folder, kCsidlPersonal, true);
    WorkingFolder_ = folder;
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
            } else {
                if (auto v = ParseLong(text))
                    Timeouts_[target.index] = *v;
            }
        },
        p.target);
}

void Settings::GetOptions()
{
    const QList<QPair<QString, QString>> values = platform::GetAllSettings(App(), kOptions);
    for (const auto& [name, text] : values) {
        for (const Property& p : Properties()) {
            if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
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
        f.size = size && *size > 0 ? double(*size) : double(g.DefaultFontSize);
        f.bold = ParseBool(read("Bold")).value_or(false);
        f.italic = ParseBool(read("Italic")).value_or(false);
        f.strikethrough = ParseBool(read("Strikethru")).value_or(false);
        f.underline = ParseBool(read("Underline")).value_or(false);
    }
}

QString Settings::SaveOptions(OptionsSnapshot& c)
{
    g_saveError.clear();
    auto store = [&](auto& stored, const auto& control, const char* key, auto toText) {
        if (stored == control)
            return false;
        stored = control;
        Write(kOptions, QLatin1String(key), toText(control));
        return true;
    };
    auto flag = [&](bool& stored, bool control, const char* key) { return store(stored, control, key, BoolText); };
    auto number = [&](qint32& stored, qint32 control, const char* key) { return store(stored, control, key, LongText); };
    auto text = [&](QString& stored, const QString& control, const char* key) {
        return store(stored, control, key, [](const QString& s) { return s; });
    };
    // A text box that holds no number leaves its setting alone.
    auto numberBox = [&](qint32& stored, const QString& box, const char* key) {
        if (auto v = ParseLong(box))
            number(stored, *v, key);
    };

    flag(ShowCost_, c.ShowCost, "ShowCost");
    const std::optional<float> price = ParseSingle(c.Price);
    if (!price)
        c.Price.clear();
    if (store(Price_, price.value_or(0.0f), "Price", SingleText))
        UpdateHistory(HistoryList::Price, c.Price);
    if (text(CurrencySign_, c.CurrencySign, "CurrencySign"))
        UpdateHistory(HistoryList::Currency, c.CurrencySign);
    flag(RememberRecentFiles_, c.RememberRecentFiles, "RememberRecentFiles");
    number(RecentFilesNumber_, c.RecentFilesNumber, "RecentFilesNumber");
    if (text(WorkingFolder_, c.WorkingFolder, "WorkingFolder") && WorkingFolderChanged)
        WorkingFolderChanged(WorkingFolder_);
    flag(SimplifiedLog_, c.SimplifiedLog, "SimplifiedLog");
    if (text(DateTimeFormat_, c.DateTimeFormat, "DateTimeFormat"))
        UpdateHistory(HistoryList::DateTimeFormat, c.DateTimeFormat);
    flag(ConnectAtStartUp_, c.ConnectAtStartUp, "ConnectAtStartUp");
    flag(JoinParts_, c.JoinParts, "JoinParts");
    // The three values of the port choice are written together, so the
    // store never holds two of them True.
    if (c.Port != Port()) {
        switch (c.Port) {
        case PortChoice::LastChoice: LastChoice(true); break;
        case PortChoice::ScanPorts: ScanPorts(true); break;
        case PortChoice::ScanAllPorts: ScanAllPorts(true); break;
        }
        Write(kOptions, QStringLiteral("LastChoice"), BoolText(LastChoice_));
        Write(kOptions, QStringLiteral("ScanPorts"), BoolText(ScanPorts_));
        Write(kOptions, QStringLiteral("ScanAllPorts"), BoolText(ScanAllPorts_));
    }
    // Compared with what the dialog was shown (1 and 256 while all ports are
    // scanned), so an untouched range does not overwrite the stored one.
    if (c.StartPort != StartPort()) {
        StartPort_ = c.StartPort;
        Write(kOptions, QStringLiteral("StartPort"), LongText(StartPort_));
    }
    if (c.EndPort != EndPort()) {
        EndPort_ = c.EndPort;
        Write(kOptions, QStringLiteral("EndPort"), LongText(EndPort_));
    }
    number(PortSpeedIndex_, c.PortSpeedIndex, "PortSpeedIndex");
    number(Coding_, c.Coding, "Coding");
    number(Class_, c.Class, "Class");
    number(ValidityType_, c.ValidityType, "ValidityType");
    number(RelativeValidity_, c.RelativeValidity, "RelativeValidity");
    flag(RequestReport_, c.RequestReport, "RequestReport");
    flag(SCNumberFromPhone_, c.SCNumberFromPhone, "SCNumberFromPhone");
    if (text(SCNumber_, c.SCNumber, "SCNumber"))
        UpdateHistory(HistoryList::SCNumber, c.SCNumber);

    for (int style : {kConfereesStyle, kMessageStyle, kLogStyle, kOtherStyle}) {
        if (fontChanged_[size_t(style)]) {
            styleFonts_[size_t(style)] = c.Samples[size_t(style)].font;
            WriteStyleFont(style);
        }
    }

    number(ConfereesForeColor_, c.Samples[kConfereesStyle].foreColor, "ConfereesForeColor");
    number(ConfereesBackColor_, c.Samples[kConfereesStyle].backColor, "ConfereesBackColor");
    number(MessageForeColor_, c.Samples[kMessageStyle].foreColor, "MessageForeColor");
    number(MessageBackColor_, c.Samples[kMessageStyle].backColor, "MessageBackColor");
    number(LogForeColor_, c.Samples[kLogStyle].foreColor, "LogForeColor");
    number(LogBackColor_, c.Samples[kLogStyle].backColor, "LogBackColor");
    number(OtherForeColor_, c.Samples[kOtherStyle].foreColor, "OtherForeColor");
    number(OtherBackColor_, c.Samples[kOtherStyle].backColor, "OtherBackColor");

    const bool emailPage = EmailType_ == 1 || EmailType_ == 2;
    if (emailPage) {
        flag(ConnectAtStartUpEmail_, c.ConnectAtStartUpEmail, "ConnectAtStartUpEmail");
        text(UserName_, c.UserName, "UserName");
    }
    text(EmailAddress_, c.EmailAddress, "EmailAddress");
    text(Login_, c.Login, "Login");
    text(Password_, c.Password, "Password");
    text(POP3Address_, c.POP3Address, "POP3Address");
    numberBox(POP3Port_, c.POP3Port, "POP3Port");
    flag(POP3SSLRequired_, c.POP3SSLRequired, "POP3SSLRequired");
    if (emailPage)
        numberBox(POP3PollInterval_, c.POP3PollInterval, "POP3PollInterval");
    text(SMTPAddress_, c.SMTPAddress, "SMTPAddress");
    numberBox(SMTPPort_, c.SMTPPort, "SMTPPort");
    flag(SMTPSSLRequired_, c.SMTPSSLRequired, "SMTPSSLRequired");
    numberBox(ServerTimeout_, c.ServerTimeout, "ServerTimeout");
    flag(SPARequired_, c.SPARequired, "SPARequired");
    numberBox(MaxSize_, c.MaxSize, "MaxSize");

    flag(UseExtender_, c.UseExtender, "UseExtender");
    text(Extender_, c.Extender, "Extender");
    flag(LimitMsgToExt_, c.LimitMsgToExt, "LimitMsgToExt");
    numberBox(MaxPartsToExt_, c.MaxPartsToExt, "MaxPartsToExt");

    for (size_t i = 0; i < 5; ++i) {
        const std::optional<qint32> v = ParseLong(c.Timeouts[i]);
        if (!v)
            c.Timeouts[i].clear();
        const QByteArray key = "TO" + QByteArray::number(qulonglong(i));
        number(Timeouts_[i], v.value_or(0), key.constData());
    }

    // The gate is told at once, so the log starts or stops without a restart.
    if (flag(LogToFile_, c.LogToFile, "LogToFile") && G().PhoneGate)
        G().PhoneGate->LogToFile(LogToFile_ ? WorkingFolder_ : QString());
    return g_saveError;
}

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
    c.ShowCost = ShowCost_;
    c.Price = SingleText(Price_);
    c.CurrencySign = CurrencySign_;
    c.RememberRecentFiles = RememberRecentFiles_;
    c.RecentFilesNumber = RecentFilesNumber_;
    c.WorkingFolder = WorkingFolder_;
    c.SimplifiedLog = SimplifiedLog_;
    c.DateTimeFormat = DateTimeFormat_;
    c.ConnectAtStartUp = ConnectAtStartUp_;
    c.JoinParts = JoinParts_;
    c.Port = Port();
    c.StartPort = StartPort();
    c.EndPort = EndPort();
    c.PortSpeedIndex = PortSpeedIndex_;
    c.SCNumberFromPhone = SCNumberFromPhone_;
    c.SCNumber = SCNumber_;
    c.Coding = Coding_;
    c.Class = Class_;
    c.ValidityType = ValidityType_;
    c.RelativeValidity = RelativeValidity_;
    c.RequestReport = RequestReport_;
    for (int style = 0; style < 5; ++style)
        c.Samples[size_t(style)] = {StyleFont(style), StyleForeColor(style), StyleBackColor(style)};
    c.ConnectAtStartUpEmail = ConnectAtStartUpEmail_;
    c.UserName = UserName_;
    c.EmailAddress = EmailAddress_;
    c.Login = Login_;
    c.Password = Password_;
    c.POP3Address = POP3Address_;
    c.POP3Port = LongText(POP3Port_);
    c.POP3SSLRequired = POP3SSLRequired_;
    c.POP3PollInterval = LongText(POP3PollInterval_);
    c.SMTPAddress = SMTPAddress_;
    c.SMTPPort = LongText(SMTPPort_);
    c.SMTPSSLRequired = SMTPSSLRequired_;
    c.ServerTimeout = LongText(ServerTimeout_);
    c.SPARequired = SPARequired_;
    c.MaxSize = LongText(MaxSize_);
    c.UseExtender = UseExtender_;
    c.Extender = Extender_;
    c.LimitMsgToExt = LimitMsgToExt_;
    c.MaxPartsToExt = LongText(MaxPartsToExt_);
    for (size_t i = 0; i < 5; ++i)
        c.Timeouts[i] = LongText(Timeouts_[i]);
    c.LogToFile = LogToFile_;
    return c;
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
    if (h.items.contains(text))
        return;
    // One past the highest number stored, so no stored item is overwritten.
    int next = 0;
    for (const auto& [key, value] : platform::GetAllSettings(App(), section))
        next = std::max(next, ItemNumber(key) + 1);
    Write(section, QStringLiteral("Item") + QString::number(next), text);
    h.items << text;
}

}  // namespace parlova
