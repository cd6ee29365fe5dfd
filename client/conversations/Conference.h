#pragma once
// The registry of open conversations and of their conferees, and the way in
// for arrivals: an SMS, a status report or a letter is written into its
// sender's conversation, which is opened first when the sender belongs to
// none. One number or address is a conferee of at most one open
// conversation; themes and addresses compare without regard to case.
//
// The registry does not own the windows: a window unregisters itself when
// it goes, and the registry's end leaves the windows it still knows.
#include "client/conversations/Conferee.h"
#include "client/conversations/Conversation.h"
#include "client/conversations/ExtenderMenu.h"
#include "client/core/WindowSeams.h"

#include "platform/Collection.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

namespace parlova {

class Conference : public ConferenceRegistry {
public:
    // Makes a new, unshown conversation window.
    using TalkMaker = std::function<Conversation*()>;

    explicit Conference(TalkMaker maker);
    ~Conference() override;
    Conference(const Conference&) = delete;
    Conference& operator=(const Conference&) = delete;

    // Who opens a conversation: the user, whose window becomes active, or
    // an arrival, whose window shows without taking the focus from the
    // window the user is typing in.
    enum class OpenedBy { User, Arrival };

    // A new conversation (empty path) or one read from a file. "" or the
    // error; the warnings gather per-line problems.
    QString AddTalk(QString& theme, QString& warnings, const QString& pathname, OpenedBy by = OpenedBy::User);
    bool TalkExist(const QString& theme) override;
    // Forgets the conversation and its conferees; the window calls it while
    // it unloads.
    void RemoveTalk(const QString& theme);
    bool ConfereeExist(const QString& number) override;
    QString AddConferee(const QString& number, const QString& name, const QString& theme);
    QString RemoveConferee(const QString& line, const QString& theme);
    QString MoveConferee(const QString& line, const QString& source, const QString& destination);
    QString JoinTalks(const QString& destination, const QString& source);
    // The theme holding the number, "" when none.
    QString LocateConferee(const QString& number);
    // A missing theme or position raises.
    Conversation& Talk(const QString& theme) override;
    Conversation& Talk(qint32 position);
    // The registered record, or none.
    const parlova::Conferee* Conferee(const QString& number) const;
    QString ConfereeName(const QString& number) override;
    qint32 TalksCount() override;
    qint32 ConfereesCount() const { return qint32(conferees_.Count()); }
    QString SaveFile(const QString& theme, const QString& pathname);
    QString PutMessage(const QString& number, const QString& text, bool isStatusReport, qint32 mr,
                       const QDateTime& dischargeTime) override;
    QString PutEmailMessage(const quenby::EmailLetter& letter) override;
    // Its unread entries count as read; the main window's caption follows.
    void Read(const QString& theme) override;
    qint32 Unread();
    // The themes joined with ",", as Themes orders them.
    void TalksList(QString& list, const QString& first, bool backwards);
    // The open conversations' themes in registration order (or backwards),
    // rotated to begin at the theme first when it is open.
    QStringList Themes(const QString& first = QString(), bool backwards = false) const;

    // The extender's menu and its remote functions: the items of a
    // selection such as "12" or "1Send.x", and a function's answer.
    const ExtenderMenu& Extender() const { return extender_; }
    static QStringList ParseMenuPath(const QString& selection);
    QString RunExtenderFunction(qint32 function, const QString& argument);

    // Called by a window that is destroyed.
    void Forget(Conversation* talk);

private:
    QString NewTheme();
    void Rename(Conversation& talk, const QString& oldTheme, const QString& newTheme);
    static void RenameOwners(const QString& oldTheme, const QString& newTheme);

    TalkMaker maker_;
    platform::Collection<Conversation*> talks_;
    platform::Collection<std::shared_ptr<parlova::Conferee>> conferees_;
    qint32 themeCounter_ = 0;
    ExtenderMenu extender_;
};

// The application's registry; error 91 when none was made.
Conference& Conferences();

}  // namespace parlova
