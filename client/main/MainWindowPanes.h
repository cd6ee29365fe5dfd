#pragma once
// The widget-free half of the main window: the status panes' texts, tool
// tips and states, the toolbar buttons' values, the caption and which
// toolbar is shown. The window shows what it holds and is told of every
// change through the callbacks.
#include "client/core/WindowSeams.h"

#include <QString>

#include <array>
#include <functional>
#include <map>

namespace parlova {

struct StatusPane {
    QString text;
    QString toolTip;
    bool enabled = true;
};

class MainWindowPanes : public MainWindow {
public:
    MainWindowPanes();

    void alertUser(const QString& text) override;
    void ShowProgress(qint32 percent, const QString& caption = QString()) override;
    void Ready() override;
    void SMS() override;
    void phoneName(const QString& name) override;
    void Email() override;
    void SetButtonValue(ToolbarId toolbar, const QString& key, qint32 value) override;
    void UpdateCaption(qint32 unread) override;
    void UpdateRecentFilesList(const QString& path) override;
    ToolbarId ActiveToolbar() const override { return activeToolbar_; }
    bool ActiveToolbarVisible() const override { return toolbarVisible_; }
    void SetActiveToolbarVisible(bool visible) override;
    void ChangeToolbar(bool mainWindow) override;
    void Arrange(qint32 arrangement) override;

    // Panes 1 to 4; another number raises.
    const StatusPane& Pane(int index) const;
    // 0 for a button never set.
    qint32 ButtonValue(ToolbarId toolbar, const QString& key) const;
    QString ProgressCaption() const { return progressCaption_; }
    QString Caption() const { return caption_; }
    // Shows toolbar (start-up's tlbMDI).
    void SetActiveToolbar(ToolbarId toolbar);

    // Told after a pane or a button changed, so a window can show it.
    std::function<void(int pane)> paneChanged;
    std::function<void(ToolbarId toolbar, const QString& key)> buttonChanged;
    std::function<void()> captionChanged;
    // The shown toolbar or its visibility changed.
    std::function<void()> toolbarChanged;
    // The stored recent-file list changed: the menu is to be rebuilt.
    std::function<void()> recentFilesChanged;
    std::function<void(qint32 arrangement)> arrangeRequested;
    // The form name of the current child window ("" without one).
    std::function<QString()> activeChildName;

private:
    StatusPane& pane(int index);
    void changed(int index);
    void notifyToolbar();

    std::array<StatusPane, 4> panes_;
    std::map<std::pair<int, QString>, qint32> buttons_;
    QString progressCaption_;
    QString caption_;
    ToolbarId activeToolbar_ = tlbMDI;
    bool toolbarVisible_ = true;
};

}  // namespace parlova
