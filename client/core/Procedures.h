#pragma once
// The procedures that cross layers: the main window's menus and toolbar
// dispatcher call those of the conversation and store areas, and the
// windows of every area call the shared ones of the main window. Each area
// fills its slots when the program starts; an empty slot does nothing (and
// gives an empty result).
//
// Windows and controls travel as QWidget*, declared only.
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

class QWidget;

namespace parlova {

// What a conversation submenu item stands for: a conversation by its theme,
// "[nowhere]" or "More conferences..." (the picker of all conversations).
// The flags, never the caption, tell them apart: a conversation may be
// called "[nowhere]".
struct TalkChoice {
    QString theme;
    bool more = false;
    bool nowhere = false;
};

template <class Signature>
class Slot;

template <class R, class... Args>
class Slot<R(Args...)> {
public:
    Slot() = default;
    template <class F>
    Slot(F f) : f_(std::move(f))
    {
    }
    template <class F>
    Slot& operator=(F f)
    {
        f_ = std::function<R(Args...)>(std::move(f));
        return *this;
    }
    explicit operator bool() const { return bool(f_); }
    R operator()(Args... args) const
    {
        if (!f_)
            return R();
        return f_(std::forward<Args>(args)...);
    }

private:
    std::function<R(Args...)> f_;
};

struct Procedures {
    // Conversations. OpenTalkFile: no path opens the file dialog, an empty
    // one makes a new conversation, any other opens that file.
    Slot<void(std::optional<QString> path)> OpenTalkFile;
    // "" or the error text.
    Slot<QString(QWidget* talk, bool saveAs)> SaveTalkFile;
    Slot<QString(QWidget* talk)> ToggleTalkOptions;
    // True when at least one order was queued.
    Slot<bool(const QString& theme, bool selectedOnly, const QString& oneAddress, const QString& text)>
        SendTalkMessage;
    Slot<void()> StartFind;

    // Conferees, from the conversation window's menus and conferee list;
    // position is the line of the conferee list, from 0.
    Slot<void(QWidget* talk)> AddConfereesFromPhonebooks;
    Slot<void(QWidget* talk)> AskAddConferee;
    Slot<void(const QString& theme, qint32 position)> AskEditConferee;
    Slot<void(const QString& theme)> AskRemoveConferees;
    Slot<void(const QString& theme, const TalkChoice& destination)> AskMoveConferees;
    Slot<void(const QString& theme, const TalkChoice& destination)> AskJoinTalks;

    // Phone books.
    Slot<void()> ShowPhonebook;
    Slot<void(qint32 book, const QString& number, const QString& name)> AskAddContact;
    Slot<void()> AskEditContact;
    Slot<void()> AskDeleteContact;
    Slot<void(bool move)> AskCopyMoveContact;
    Slot<void()> StartTalkWithContacts;
    // book: a phone-book number of the phone-book records.
    Slot<void(QWidget* talk, qint32 book)> CopyConfereesToBook;

    // Message store; owner is the message-store window's caption.
    Slot<void(const QString& owner)> StoreNewMessage;
    Slot<void()> ToggleMessageOptions;
    Slot<void(const QString& owner)> DeleteStoreMessage;
    Slot<void(const QString& owner)> StartTalkFromStore;

    // Shared by the windows of every area.
    Slot<void(QWidget* control)> ChooseFont;
    Slot<void(QWidget* control)> ChooseColor;
    Slot<void(const QString& text, const QString& theme)> ExportTalk;
    Slot<void(const QString& theme)> MarkTalkRead;
    Slot<void(qint32 context)> ShowHelp;
    Slot<void(QWidget* owner)> OpenWebSite;
    Slot<void()> ShowMessageStore;
    Slot<void(QWidget* owner)> ShowOptions;
    Slot<void(QWidget* owner)> ShowAbout;
    // 0 cascade, 1 tile horizontally (stacked), 2 tile vertically, 3 icons.
    Slot<void(qint32 arrangement)> Arrange;
};

// The current application object's table.
Procedures& Procs();

}  // namespace parlova
