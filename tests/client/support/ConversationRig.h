#pragma once
// The real conference registry on a fresh application object, its
// conversations without widgets (or as windows, when a test asks), a
// main window that records its caption and recent files, a fixed "now",
// boxes and file dialogs answered by recorders, and a folder for files.
#include "client/conversations/Conference.h"
#include "client/conversations/Conversation.h"
#include "client/conversations/ui/TalkFileProcedures.h"
#include "client/conversations/ui/TalkWindows.h"
#include "client/support/ClientRig.h"
#include "support/ui/DialogRecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace clienttest {

// Records every caption count and recent file besides keeping them.
class CaptionMainWindow : public RecordingMainWindow {
public:
    QList<qint32> captions;
    QStringList recent;
    void UpdateCaption(qint32 unread) override
    {
        captions << unread;
        RecordingMainWindow::UpdateCaption(unread);
    }
    void UpdateRecentFilesList(const QString& path) override
    {
        recent << path;
        RecordingMainWindow::UpdateRecentFilesList(path);
    }
};

class ConversationRig {
public:
    explicit ConversationRig(parlova::Conference::TalkMaker maker = [] { return new parlova::Conversation(); })
        : conference(std::make_shared<parlova::Conference>(std::move(maker)))
    {
        clock.setNow(QDateTime(QDate(2024, 5, 17), QTime(14, 2)));
        client.app.globals().Conferences = conference;
        previousSave = parlova::Conversation::SaveTalkFileProcedure();
        parlova::TalkWindows::InstallProcedures(client.app.procedures());
    }
    ~ConversationRig()
    {
        // Whatever a test left open goes without questions.
        while (conference->TalksCount() > 0)
            conference->Talk(1).Discard();
        parlova::Conversation::SaveTalkFileProcedure() = previousSave;
    }
    ConversationRig(const ConversationRig&) = delete;
    ConversationRig& operator=(const ConversationRig&) = delete;

    // A new conversation with a generated theme.
    parlova::Conversation& open()
    {
        QString theme, warnings;
        const QString error = conference->AddTalk(theme, warnings, QString());
        EXPECT_EQ(error, QString());
        return conference->Talk(theme);
    }
    parlova::Conversation& talk(const QString& theme) { return conference->Talk(theme); }
    // A new conversation saved as Team.plv in the folder, autosave ticked.
    parlova::Conversation& autosaved()
    {
        parlova::Conversation& t = open();
        EXPECT_EQ(conference->SaveFile(t.Theme(), path(QStringLiteral("Team.plv"))), QString());
        t.OnAutosaveClick(1);
        return t;
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    static QByteArray bytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& file, const QByteArray& content)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    parlova::Settings& settings() { return client.app.settings(); }
    QStringList boxTexts() const
    {
        QStringList out;
        for (const platform::MessageBoxRequest& b : client.boxes.boxes())
            out << b.prompt;
        return out;
    }

    platform::FakeClock clock;
    ClientApp client;
    CaptionMainWindow main;
    parlova::WindowRegistration mainRegistration = client.app.windows().Register(static_cast<parlova::MainWindow&>(main));
    platform::DialogRecorder dialogs;
    QTemporaryDir dir;
    std::shared_ptr<parlova::Conference> conference;
    parlova::Conversation::SaveProcedure previousSave;
};

}  // namespace clienttest
