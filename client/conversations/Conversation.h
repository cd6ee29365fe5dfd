#pragma once
// One open conversation as its window shows it: theme, file, conferee lines,
// log, new message, message parameters, counters and the texts of its
// labels. The window (frmTalk) derives from it and only displays what it
// holds; tests drive it without any widget.
//
// Every member a caller can reach by name keeps the name the window has;
// the handlers a window runs on a user's action are the On... members.
#include "client/conversations/TalkFile.h"
#include "client/conversations/TalkRecord.h"
#include "client/core/WindowSeams.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace parlova {

class Conference;

// The parts of the window a change asks the view to show again.
enum class TalkPart { Caption, Conferees, Draft, Log, Parameters, Counter, View, Styles };

class Conversation : public TalkWindow {
public:
    Conversation();
    ~Conversation() override;
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;

    QString LastConfereeName;
    QString LastConfereeAddress;

    qint32 InstanceNumber() const { return instance_; }

    // The coding the counter uses: Auto resolved from the text.
    qint32 CodingA() const;
    qint32 Coding() const;
    // 0 GSM, 2 Windows, 1 Unicode, anything else Auto.
    void SetCoding(qint32 value);
    qint32 Class() const;
    // 4, 0, 2, 1, 3 choose their entry; anything else changes nothing.
    void SetClass(qint32 value);
    // 0 none, 2 relative, 3 absolute.
    qint32 Validity() const;
    void SetValidity(qint32 value);

    // The whole file, through a temporary file; raises on failure.
    void SaveToFile(const QString& path);
    // Fills a window that has no theme yet; "" or the refusal.
    QString OpenFromFile(QString& warnings, const QString& path);

    QString AddConferee(const QString& address, const QString& name);
    QString GetConfName(const QString& address) override;
    QString GetNameAndTelNo(QString& name, QString& address, qint32 index) const;
    QString Theme() const { return talk_.Theme; }
    // Takes effect only while the theme is empty.
    void SetTheme(const QString& theme);
    qint32 ConfereesCount() const { return qint32(talk_.conferees.size()); }
    QString RemoveConferee(const QString& address);
    QString RemoveConfereeByPosition(qint32 index);
    QString Pathname() const { return talk_.Pathname; }

    void Log(qint32 kind, const QString& text) override;
    QString Log() const { return talk_.log; }

    // Selected lines, the bottom-most first; empty when none.
    QStringList SelectedConferees() const;
    QStringList AllConferees() const { return talk_.conferees; }

    void UpdateCaption(qint32 sendingChange, qint32 unreadChange);
    QString Caption() const;
    void Read();
    qint32 Unread() const { return unread_; }
    qint32 Sending() const { return sending_; }

    // Full view and compact view; "" or the error text.
    QString ToggleTalkOptions();
    bool FullView() const { return fullView_; }
    void DeselectAll();

    // The new message without blanks and line breaks at its ends, CR LF.
    QString Text() const;
    bool ForbidExtender() const { return false; }
    qint32 Autosave() const { return talk_.Autosave ? 1 : 0; }
    void SetAutosave(qint32 value);
    bool AutosaveEnabled() const { return talk_.autosaveEnabled; }
    bool Dirty() const { return talk_.Dirty; }
    void SetDirty(bool value) { talk_.Dirty = value; }

    // A style change of List1, Text4 or Text5 (by control name): written at
    // once with autosave, else Dirty. "" or the writer's error.
    QString SaveFont(const QString& controlName);
    QString SaveCharset(const QString& controlName);
    QString SaveColor(const QString& controlName);

    // The controls' values as the window shows them.
    QString DraftText() const { return talk_.Text; }
    // Replaces the new message, as if typed, and shows it.
    void SetDraft(const QString& text);
    qint32 CodingIndex() const;
    qint32 ClassIndex() const;
    qint32 SliderValue() const { return talk_.validityCode; }
    void SetSliderValue(qint32 code);
    QDateTime PickerValue() const { return talk_.validityDate; }
    void SetPickerValue(const QDateTime& value);
    qint32 ReportValue() const { return talk_.report; }
    void SetReportValue(qint32 value);
    QList<bool> Selection() const { return selected_; }
    qint32 ListIndex() const { return listIndex_; }
    bool OptionsChecked() const { return optionsChecked_; }
    TalkArea Area(int area) const { return talk_.areas.at(area); }
    void SetArea(int area, const TalkArea& style);

    // Label texts.
    QString Label2Text() const { return label2_; }
    QString Label4Text() const;
    QString Label5Text() const;
    QString Label6Text() const;
    QString ListToolTip() const;

    // What the user did.
    void OnDraftChanged(const QString& text);
    void OnListClick(const QList<bool>& selection, qint32 current);
    void OnCodingClick(qint32 index);
    void OnClassClick(qint32 index);
    void OnReportClick(qint32 value);
    void OnValidityClick(qint32 validity);
    void OnSliderChange(qint32 code);
    void OnPickerChange(const QDateTime& value);
    void OnAutosaveClick(qint32 value);
    // The window became the active child.
    void Activate();
    // The unload's questions and steps; False cancels it.
    bool Unload();

    // The window, asked to close: runs Unload and goes when it agrees.
    virtual void CloseWindow();
    // Shown and active.
    virtual void TakeFocus() {}
    // Shown, the window the user is in keeping the focus.
    virtual void ShowQuietly() {}
    // A window that never showed, dropped (its file did not load).
    virtual void Discard();

    // The registry that holds it (none while unregistered).
    void SetRegistry(Conference* registry) { registry_ = registry; }
    Conference* Registry() const { return registry_; }
    // While the registry registers the file's conferees nothing is written,
    // and the list is shown once, at the end, whatever it refused.
    void SetRegistering(bool on);

    // What Yes to "save the changes?" runs: the save procedure with its
    // dialog; "" when saved or cancelled, else the error.
    using SaveProcedure = std::function<QString(Conversation& talk, bool saveAs)>;
    static SaveProcedure& SaveTalkFileProcedure();

    // Line ends: CR LF and LF become CR, pieces trimmed, empty ones dropped,
    // joined with CR LF.
    static QString NormalizeLineEnds(const QString& text);

protected:
    // What the view shows again after a change.
    virtual void Refresh(TalkPart) {}
    // An entry (beginning with CR LF) was added at the end of the log: the
    // view adds it and the log's size, without showing the whole log again.
    virtual void LogAppended(const QString&) {}

private:
    void CountNewMessage();
    void ListChanged();
    qint32 FindConferee(const QString& address) const;
    // With autosave the one key is written, else Dirty; a failed write
    // sets Dirty too, so closing still asks.
    QString Persist(const QString& section, const QString& key, bool needsPath);
    QString WriteTalkFileEntry(const QString& section, const QString& key, const QString& text);
    QString WriteTalkValidity();
    void ShowParameterError(const QString& error, bool icon);
    QString SaveStyle(const QString& controlName, const QString& key);
    // The file still has the chunked layout.
    bool IsOldFormat() const;

    qint32 instance_;
    TalkRecord talk_;
    TalkFile file_;
    qint32 unread_ = 0;
    qint32 sending_ = 0;
    bool registering_ = false;
    Conference* registry_ = nullptr;

    QList<bool> selected_;
    qint32 listIndex_ = -1;
    QString label2_;
    bool fullView_ = true;
    bool optionsChecked_ = true;
};

}  // namespace parlova
