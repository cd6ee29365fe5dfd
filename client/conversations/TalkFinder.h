#pragma once
// Finding a text in the logs of the open conversations: in the active one
// or in all of them, down or up, with or without case. The state lives in
// the find globals, so the conversation window's Find Next and the find
// dialog share it. Positions count in the log as its box holds it.
#include <QString>

#include <functional>

namespace parlova {

class Conference;
class Conversation;

// What find sees of a conversation's log box; the window implements it.
class FindLog {
public:
    virtual ~FindLog() = default;
    virtual QString LogBoxText() const = 0;
    virtual qint32 LogCaret() const = 0;
    // The selected text, "" when none.
    virtual QString LogSelection() const = 0;
    virtual bool LogFocused() const = 0;
    // Selects the match and brings the window to the front.
    virtual void ShowFound(qint32 start, qint32 length) = 0;
};

class TalkFinder {
public:
    // A search or a box runs under the busy pointer: on(true) before,
    // on(false) on every way out. Empty: no pointer change.
    static std::function<void(bool on)>& BusyPointer();

    // The region starts again at the caret of the active conversation's
    // log (the find text, the scope or the starting point changed).
    static void NewRegion(Conversation* active);
    // The next match. active is the main window's active conversation
    // (nullptr when the active child is none); fromDialog: the find dialog
    // has the focus, so the log's caret counts as the log's own focus does.
    static void FindNext(Conference& registry, Conversation* active, bool fromDialog);

    static QString NotActiveText() { return QStringLiteral("A conference window must be active to start searching"); }
    static QString SearchedText() { return QStringLiteral("The specified region have been searched"); }
};

}  // namespace parlova
