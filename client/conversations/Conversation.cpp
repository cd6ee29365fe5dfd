#include "client/conversations/Conversation.h"

#include "client/conversations/Conference.h"
#include "client/conversations/MessageParameters.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Module1.h"
#include "client/core/Order.h"
#include "client/core/Settings.h"
#include "client/core/ValidityPeriodText.h"

#include "platform/Clock.h"
#include "platform/ProfileFile.h"
#include "platform/VbError.h"

#include <algorithm>

namespace parlova {

namespace {

const QString kCRLF = QStringLiteral("\r\n");

const char* const kFontSections[] = {"Conferees_font", "New_message_font", "Archive_font"};

int AreaOfControl(const QString& name)
{
    if (name == QLatin1String("List1"))
        return kConfereeArea;
    if (name == QLatin1String("Text4"))
        return kNewMessageArea;
    if (name == QLatin1String("Text5"))
        return kLogArea;
    return -1;
}

// The address of a conferee line: between its last "<" and last ">".
QString LineAddress(const QString& line)
{
    const qsizetype open = line.lastIndexOf(QLatin1Char('<'));
    const qsizetype close = line.lastIndexOf(QLatin1Char('>'));
    if (open < 0 || close <= open)
        return QString();
    return line.mid(open + 1, close - open - 1);
}

// The key of tlbTalk's "Message Options" button.
const QString kMessageOptionsKey = QStringLiteral("14");

// Runs body; a failure of the main window's refresh is no failure here.
template <class F>
void IgnoringErrors(F body)
{
    try {
        body();
    } catch (const std::exception&) {
    }
}

}  // namespace

Conversation::Conversation() : instance_(NextClassID())
{
    // The controls as the window loads: the first entries, no validity, the
    // picker at the present minute.
    talk_.Coding = MessageParameters::CodingAt(0);
    talk_.Class = MessageParameters::ClassAt(0);
    talk_.Validity = 0;
    talk_.validityCode = 0;
    const QDateTime now = platform::Now();
    talk_.validityDate = QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()));
    CountNewMessage();
}

Conversation::~Conversation()
{
    if (registry_)
        registry_->Forget(this);
}

qint32 Conversation::CodingIndex() const { return std::max(MessageParameters::CodingIndex(talk_.Coding), 0); }

qint32 Conversation::ClassIndex() const { return std::max(MessageParameters::ClassIndex(talk_.Class), 0); }

qint32 Conversation::CodingA() const
{
    if (CodingIndex() == 0)
        return IsGsmText(Text()) ? 0 : 1;
    return talk_.Coding;
}

qint32 Conversation::Coding() const { return MessageParameters::CodingAt(CodingIndex()); }

void Conversation::SetCoding(qint32 value)
{
    talk_.Coding = MessageParameters::CodingIndex(value) < 0 ? MessageParameters::CodingAt(0) : value;
    CountNewMessage();
    Refresh(TalkPart::Parameters);
}

qint32 Conversation::Class() const { return MessageParameters::ClassAt(ClassIndex()); }

void Conversation::SetClass(qint32 value)
{
    if (MessageParameters::ClassIndex(value) < 0)
        return;
    talk_.Class = value;
    Refresh(TalkPart::Parameters);
}

qint32 Conversation::Validity() const { return talk_.Validity; }

void Conversation::SetValidity(qint32 value)
{
    talk_.Validity = (value == 2 || value == 3) ? value : 0;
    Refresh(TalkPart::Parameters);
}

void Conversation::SetSliderValue(qint32 code)
{
    talk_.validityCode = std::clamp(code, 0, 255);
    Refresh(TalkPart::Parameters);
}

void Conversation::SetPickerValue(const QDateTime& value)
{
    talk_.validityDate = value;
    Refresh(TalkPart::Parameters);
}

void Conversation::SetReportValue(qint32 value)
{
    talk_.report = value ? 1 : 0;
    Refresh(TalkPart::Parameters);
}

void Conversation::SetAutosave(qint32 value)
{
    talk_.Autosave = value != 0;
    Refresh(TalkPart::Parameters);
}

void Conversation::SetArea(int area, const TalkArea& style)
{
    if (area < 0 || area > 2)
        return;
    talk_.areas[area] = style;
    Refresh(TalkPart::Styles);
}

void Conversation::SaveToFile(const QString& path)
{
    TalkRecord record = talk_;
    record.Text = Text();
    file_.SaveToFile(record, path);
    talk_.Pathname = record.Pathname;
    talk_.Theme = record.Theme;
    talk_.Dirty = false;
    talk_.autosaveEnabled = true;
    UpdateCaption(0, 0);
    Refresh(TalkPart::Parameters);
}

QString Conversation::OpenFromFile(QString& warnings, const QString& path)
{
    const qint32 shownClass = talk_.Class;
    const QString refused = file_.OpenFromFile(talk_, warnings, path);
    if (!refused.isEmpty())
        return refused;
    // Room for the entries to come, so that the first one does not copy
    // the whole log.
    talk_.log.reserve(talk_.log.size() + std::max<qsizetype>(talk_.log.size() / 2, 4096));
    // The file's values go through the controls' own rules.
    SetCoding(talk_.Coding);
    if (MessageParameters::ClassIndex(talk_.Class) < 0)
        talk_.Class = shownClass;
    SetValidity(talk_.Validity);
    selected_ = QList<bool>(talk_.conferees.size(), false);
    listIndex_ = -1;
    UpdateCaption(0, 0);
    Refresh(TalkPart::Draft);
    Refresh(TalkPart::Log);
    Refresh(TalkPart::Styles);
    Refresh(TalkPart::Parameters);
    ListChanged();
    return QString();
}

QString Conversation::WriteTalkFileEntry(const QString& section, const QString& key, const QString& text)
{
    TalkRecord record = talk_;
    record.Text = Text();
    return file_.WriteTalkFileEntry(record, section, key, text);
}

QString Conversation::AddConferee(const QString& address, const QString& name)
{
    return platform::TextOrError([&] {
        QString n = name, a = address, line;
        NameAndAddress(n, a, line);
        talk_.conferees << line;
        selected_ << false;
        ListChanged();
        return Persist(QStringLiteral("Conferees"), QString(), false);
    });
}

qint32 Conversation::FindConferee(const QString& address) const
{
    if (address.isEmpty())
        return -1;
    // The line whose own address it is comes first, so +4412 never stands
    // for Bob <+44123>.
    for (qsizetype i = 0; i < talk_.conferees.size(); ++i)
        if (LineAddress(talk_.conferees[i]).compare(address, Qt::CaseInsensitive) == 0)
            return qint32(i);
    for (qsizetype i = 0; i < talk_.conferees.size(); ++i)
        if (talk_.conferees[i].contains(address, Qt::CaseInsensitive))
            return qint32(i);
    return -1;
}

QString Conversation::GetConfName(const QString& address)
{
    const qint32 at = FindConferee(address);
    return at < 0 ? QString() : talk_.conferees[at];
}

QString Conversation::GetNameAndTelNo(QString& name, QString& address, qint32 index) const
{
    return platform::TextOrError([&] {
        if (index < 0 || index >= talk_.conferees.size())
            platform::Raise(platform::vberr::InvalidProcedureCall, QStringLiteral("frmTalk"),
                            QStringLiteral("Invalid procedure call or argument"));
        QString line = talk_.conferees[index];
        return NameAndAddress(name, address, line);
    });
}

void Conversation::SetTheme(const QString& theme)
{
    if (!talk_.Theme.isEmpty())
        return;
    talk_.Theme = theme;
    UpdateCaption(0, 0);
}

QString Conversation::RemoveConferee(const QString& address)
{
    return platform::TextOrError([&] {
        const qint32 at = FindConferee(address);
        if (at < 0)
            return QString();
        return RemoveConfereeByPosition(at);
    });
}

QString Conversation::RemoveConfereeByPosition(qint32 index)
{
    return platform::TextOrError([&] {
        if (index < 0 || index >= talk_.conferees.size())
            platform::Raise(platform::vberr::InvalidProcedureCall, QStringLiteral("frmTalk"),
                            QStringLiteral("Invalid procedure call or argument"));
        talk_.conferees.removeAt(index);
        selected_.removeAt(index);
        if (listIndex_ >= talk_.conferees.size())
            listIndex_ = qint32(talk_.conferees.size()) - 1;
        if (!registering_)
            ListChanged();
        return Persist(QStringLiteral("Conferees"), QString(), false);
    });
}

QString Conversation::NormalizeLineEnds(const QString& text)
{
    QString t = text;
    t.replace(kCRLF, QStringLiteral("\r"));
    t.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    QStringList kept;
    for (const QString& piece : t.split(QLatin1Char('\r'))) {
        QString trimmed = piece;
        while (trimmed.startsWith(QLatin1Char(' ')))
            trimmed.remove(0, 1);
        while (trimmed.endsWith(QLatin1Char(' ')))
            trimmed.chop(1);
        if (!trimmed.isEmpty())
            kept << trimmed;
    }
    return kept.join(kCRLF);
}

void Conversation::Log(qint32 kind, const QString& text)
{
    const QString error = platform::TextOrError([&] {
        switch (kind) {
        case 0:
            UpdateCaption(-1, 0);
            break;
        case 1:
        case 3:
            UpdateCaption(0, 1);
            break;
        case 2:
            UpdateCaption(0, 0);
            break;
        default:
            break;
        }
        if (text.isEmpty())
            return QString();
        const QString entry = kCRLF + NormalizeLineEnds(text);
        talk_.log += entry;
        LogAppended(entry);
        if (!talk_.Autosave || registering_) {
            talk_.Dirty = true;
            return QString();
        }
        const QString written = WriteTalkFileEntry(QStringLiteral("Archive"), QString(), entry);
        if (!written.isEmpty())
            talk_.Dirty = true;
        return written;
    });
    if (!error.isEmpty())
        IgnoringErrors([&] { MainWin().alertUser(talk_.Theme + QStringLiteral(": ") + error); });
}

QStringList Conversation::SelectedConferees() const
{
    QStringList out;
    for (qsizetype i = talk_.conferees.size() - 1; i >= 0; --i)
        if (selected_[i])
            out << talk_.conferees[i];
    return out;
}

void Conversation::UpdateCaption(qint32 sendingChange, qint32 unreadChange)
{
    sending_ += sendingChange;
    unread_ += unreadChange;
    Refresh(TalkPart::Caption);
}

QString Conversation::Caption() const
{
    if (unread_ > 0 && sending_ > 0)
        return talk_.Theme + QStringLiteral(" (unread %1, sending %2)").arg(unread_).arg(sending_);
    if (unread_ > 0)
        return talk_.Theme + QStringLiteral(" (unread %1)").arg(unread_);
    if (sending_ > 0)
        return talk_.Theme + QStringLiteral(" (sending %1)").arg(sending_);
    return talk_.Theme;
}

void Conversation::Read()
{
    unread_ = 0;
    UpdateCaption(0, 0);
}

QString Conversation::ToggleTalkOptions()
{
    return platform::TextOrError([&] {
        optionsChecked_ = !optionsChecked_;
        fullView_ = optionsChecked_;
        Refresh(TalkPart::View);
        MainWin().SetButtonValue(tlbTalk, kMessageOptionsKey, fullView_ ? 1 : 0);
        return QString();
    });
}

void Conversation::DeselectAll()
{
    for (qsizetype i = selected_.size() - 1; i >= 0; --i)
        selected_[i] = false;
    ListChanged();
}

QString Conversation::Text() const
{
    QString set;
    return TrimSet(talk_.Text, set);
}

QString Conversation::Label4Text() const { return ValidityPeriodText(talk_.validityCode); }

QString Conversation::Label5Text() const
{
    return QStringLiteral("%1 total / %2 selected").arg(talk_.conferees.size()).arg(SelectedConferees().size());
}

QString Conversation::Label6Text() const { return QStringLiteral("Log : %1 chr").arg(talk_.log.size()); }

QString Conversation::ListToolTip() const
{
    return listIndex_ >= 0 && listIndex_ < talk_.conferees.size() ? talk_.conferees[listIndex_] : QString();
}

void Conversation::CountNewMessage()
{
    qint32 length = 0, parts = 0;
    float cost = 0;
    CountSMSParts(length, parts, cost, Text(), CodingA());
    const Settings& settings = Settings::Instance();
    QString costText;
    if (settings.ShowCost())
        costText = QStringLiteral(", ") + settings.CurrencySign() +
                   QString::number(double(cost) * double(talk_.conferees.size()), 'f', 2);
    if (parts > 1)
        label2_ = QStringLiteral("%1 chr / %2 parts").arg(length).arg(parts) + costText;
    else
        label2_ = QStringLiteral("%1 chr").arg(length) + costText;
    Refresh(TalkPart::Counter);
}

void Conversation::SetRegistering(bool on)
{
    registering_ = on;
    if (!on)
        ListChanged();
}

void Conversation::ListChanged()
{
    Refresh(TalkPart::Conferees);
    CountNewMessage();
}

QString Conversation::Persist(const QString& section, const QString& key, bool needsPath)
{
    if (registering_)
        return QString();
    if (!talk_.Autosave) {
        talk_.Dirty = true;
        return QString();
    }
    if (needsPath && talk_.Pathname.isEmpty())
        return QString();
    const QString error = WriteTalkFileEntry(section, key, QString());
    if (!error.isEmpty())
        talk_.Dirty = true;
    return error;
}

QString Conversation::SaveStyle(const QString& controlName, const QString& key)
{
    if (!talk_.Autosave) {
        talk_.Dirty = true;
        return QString();
    }
    const int area = AreaOfControl(controlName);
    if (area < 0)
        return QString();
    const QString error = WriteTalkFileEntry(QString::fromLatin1(kFontSections[area]), key, QString());
    if (!error.isEmpty())
        talk_.Dirty = true;
    return error;
}

QString Conversation::SaveFont(const QString& controlName) { return SaveStyle(controlName, QStringLiteral("Fore_color")); }
QString Conversation::SaveCharset(const QString& controlName) { return SaveStyle(controlName, QStringLiteral("Charset")); }
QString Conversation::SaveColor(const QString& controlName) { return SaveStyle(controlName, QStringLiteral("Back_color")); }

void Conversation::ShowParameterError(const QString& error, bool icon)
{
    if (!error.isEmpty())
        ModalQuestion::Ask(error, icon ? platform::vbExclamation : platform::vbOKOnly, talk_.Theme);
}

void Conversation::OnDraftChanged(const QString& text)
{
    talk_.Text = text;
    CountNewMessage();
    talk_.Dirty = true;
}

void Conversation::SetDraft(const QString& text)
{
    OnDraftChanged(text);
    Refresh(TalkPart::Draft);
}

void Conversation::OnListClick(const QList<bool>& selection, qint32 current)
{
    if (selection.size() == talk_.conferees.size())
        selected_ = selection;
    listIndex_ = current;
    ListChanged();
}

void Conversation::OnCodingClick(qint32 index)
{
    if (index < 0 || index >= MessageParameters::CodingCount())
        return;
    talk_.Coding = MessageParameters::CodingAt(index);
    CountNewMessage();
    ShowParameterError(Persist(QStringLiteral("Message parameters"), QStringLiteral("Coding"), false), true);
}

void Conversation::OnClassClick(qint32 index)
{
    if (index < 0 || index >= MessageParameters::ClassCount())
        return;
    talk_.Class = MessageParameters::ClassAt(index);
    ShowParameterError(Persist(QStringLiteral("Message parameters"), QStringLiteral("Class"), false), true);
}

void Conversation::OnReportClick(qint32 value)
{
    talk_.report = value ? 1 : 0;
    ShowParameterError(platform::TextOrError([&] {
                           return Persist(QStringLiteral("Message parameters"), QStringLiteral("Report"), true);
                       }),
                       false);
}

QString Conversation::WriteTalkValidity()
{
    return platform::TextOrError(
        [&] { return Persist(QStringLiteral("Message parameters"), QStringLiteral("Validity_format"), true); });
}

void Conversation::OnValidityClick(qint32 validity)
{
    talk_.Validity = (validity == 2 || validity == 3) ? validity : 0;
    ShowParameterError(WriteTalkValidity(), false);
}

void Conversation::OnSliderChange(qint32 code)
{
    talk_.validityCode = std::clamp(code, 0, 255);
    Refresh(TalkPart::Parameters);
    ShowParameterError(WriteTalkValidity(), false);
}

void Conversation::OnPickerChange(const QDateTime& value)
{
    talk_.validityDate = value;
    ShowParameterError(WriteTalkValidity(), false);
}

void Conversation::OnAutosaveClick(qint32 value)
{
    talk_.Autosave = value != 0;
    const QString error = platform::TextOrError([&] {
        if (talk_.Autosave && (talk_.Dirty || IsOldFormat()))
            SaveToFile(talk_.Pathname);
        if (talk_.Pathname.isEmpty())
            return QString();
        const QString written =
            WriteTalkFileEntry(QStringLiteral("Message parameters"), QStringLiteral("Autosave"), QString());
        if (!written.isEmpty())
            talk_.Dirty = true;
        return written;
    });
    if (!error.isEmpty())
        ModalQuestion::Ask(error, platform::vbOKOnly);
}

void Conversation::Activate()
{
    // Only the label: looking at a conversation is no change to save.
    Refresh(TalkPart::Parameters);
    IgnoringErrors([&] { MainWin().SetButtonValue(tlbTalk, kMessageOptionsKey, fullView_ ? 1 : 0); });
}

bool Conversation::Unload()
{
    QString error;
    if (unread_ > 0) {
        const int answer = ModalQuestion::Ask(QStringLiteral("There are %1 unread messages.").arg(unread_) + kCRLF +
                                                  QStringLiteral("Do you want to close the conference?"),
                                              platform::vbYesNo + platform::vbQuestion, talk_.Theme);
        if (answer != platform::vbYes)
            return false;
        if (registry_)
            registry_->Read(talk_.Theme);
        else
            Read();
    }
    if (talk_.Dirty) {
        if (talk_.Autosave) {
            error = WriteTalkFileEntry(QStringLiteral("New message"), QString(), QString());
        } else {
            const int answer = ModalQuestion::Ask(QStringLiteral("There are unsaved changes.") + kCRLF +
                                                      QStringLiteral("Do you want to save the changes?"),
                                                  platform::vbYesNoCancel + platform::vbQuestion, talk_.Theme);
            if (answer == platform::vbCancel)
                return false;
            if (answer == platform::vbYes) {
                error = SaveTalkFileProcedure() ? SaveTalkFileProcedure()(*this, false) : QString();
                // A cancelled Save dialog saves nothing: the window stays.
                if (error.isEmpty() && talk_.Dirty)
                    return false;
            }
        }
    }
    if (error.isEmpty() && registry_)
        registry_->RemoveTalk(talk_.Theme);
    if (!error.isEmpty()) {
        ModalQuestion::Ask(talk_.Theme + QStringLiteral(": ") + error, platform::vbExclamation, talk_.Theme);
        return false;
    }
    return true;
}

void Conversation::CloseWindow()
{
    if (Unload())
        delete this;
}

void Conversation::Discard() { delete this; }

Conversation::SaveProcedure& Conversation::SaveTalkFileProcedure()
{
    static SaveProcedure procedure;
    return procedure;
}

bool Conversation::IsOldFormat() const
{
    if (talk_.Pathname.isEmpty())
        return false;
    platform::ProfileFile file(talk_.Pathname);
    return file.load() && file.integer("Chunks", "Chunk_size", 0) != 0;
}

}  // namespace parlova
