#pragma once
// The conversation window: a child of the main window's MDI area showing
// one Conversation. It places its controls in twips, shows what the model
// holds and hands the user's actions to it; code that sets a control
// blocks the control's signals, so only the user's changes reach the
// handlers.
#include "client/conversations/Conversation.h"
#include "client/conversations/TalkFinder.h"
#include "client/core/WindowSeams.h"
#include "client/core/ui/SharedActions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QListWidget;
class QMdiArea;
class QMdiSubWindow;
class QPlainTextEdit;
class QRadioButton;
class QSlider;

namespace parlova {

class TalkMenus;

class frmTalk : public QWidget, public Conversation, public FormatOwner, public ChildMenus, public FindLog {
    Q_OBJECT
public:
    // A new window, unshown, in area (a top-level window without one).
    static frmTalk* Create(QMdiArea* area);
    ~frmTalk() override;

    QString SaveFont(QWidget* control) override;
    QString SaveCharset(QWidget* control) override;
    QString SaveColor(QWidget* control) override;
    QString Theme() const override { return Conversation::Theme(); }

    QMdiSubWindow* SubWindow() const { return sub_; }

    // The menus the main window shows while this window is current.
    QList<QMenu*> Menus() const override;
    TalkMenus& MenuSet() { return *menus_; }
    // The new-message box grows by delta twips upwards, unless its top
    // would come too near the window's top; the layout follows.
    void ResizeNewMessageBox(int delta);
    int Text4Height() const { return text4Height_; }

    // The log box, for find.
    QString LogBoxText() const override;
    qint32 LogCaret() const override;
    QString LogSelection() const override;
    bool LogFocused() const override;
    void ShowFound(qint32 start, qint32 length) override;

    QPlainTextEdit* Text5;
    QLabel* Label6;
    QPlainTextEdit* Text4;
    QLabel* Label1;
    QLabel* Label2;
    QListWidget* List1;
    QLabel* Label3;
    QLabel* Label5;
    QLabel* Label7;
    QComboBox* Combo1;
    QLabel* Label8;
    QComboBox* Combo2;
    QGroupBox* Frame3;
    QRadioButton* Option1;
    QRadioButton* Option7;
    QRadioButton* Option8;
    QSlider* Slider2;
    QLabel* Label4;
    QDateTimeEdit* DTPicker1;
    QCheckBox* Check1;
    QCheckBox* Check2;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void CloseWindow() override;
    void TakeFocus() override;
    void ShowQuietly() override;
    void Discard() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void Refresh(TalkPart part) override;
    void LogAppended(const QString& entry) override;

private:
    explicit frmTalk(QWidget* parent = nullptr);
    void Build();
    void Wire();
    void PlaceControls();
    void minimumChanged();
    void ShowConferees();
    void ShowParameters();
    void ShowStyles();
    void ShowView();
    QWidget* Control(const QString& name) const;
    // The model's copy of an area's style, from the control.
    void TakeStyle(QWidget* control);

    QMdiSubWindow* sub_ = nullptr;
    TalkMenus* menus_ = nullptr;
    int text4Height_;
};

}  // namespace parlova
