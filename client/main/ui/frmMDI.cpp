#include "client/main/ui/frmMDI.h"

#include "client/main/ChildArrangement.h"
#include "client/main/CommandLine.h"
#include "client/core/Application.h"
#include "client/main/MainWindowTables.h"
#include "client/core/Procedures.h"
#include "client/main/RecentFiles.h"
#include "client/core/Settings.h"
#include "client/core/ui/MdiChild.h"
#include "client/main/WindowPlacement.h"
#include "client/main/ui/ToolbarIcons.h"
#include "client/main/ui/frmPort.h"
#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"
#include "platform/VbError.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace parlova {

namespace {

QString ButtonKey(ToolbarId toolbar, const QString& key) { return ToolbarName(toolbar) + QLatin1Char('/') + key; }

// A pane shows one line: CR and LF become blanks.
QString PaneText(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

}  // namespace

frmMDI::frmMDI(const QStringList& arguments, QWidget* parent) : QMainWindow(parent), arguments_(arguments)
{
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(panes_.Caption());
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(mdi_);
    setContextMenuPolicy(Qt::NoContextMenu);

    buildMenus();
    buildToolbars();
    buildStatusBar();
    port_ = new frmPort(this);

    panes_.paneChanged = [this](int pane) { showPane(pane); };
    panes_.buttonChanged = [this](ToolbarId toolbar, const QString& key) { showButton(toolbar, key); };
    panes_.captionChanged = [this] { setWindowTitle(panes_.Caption()); };
    panes_.toolbarChanged = [this] { showToolbars(); };
    panes_.recentFilesChanged = [this] { loadRecentFiles(); };
    panes_.arrangeRequested = [this](qint32 arrangement) { ArrangeChildren(arrangement); };
    panes_.activeChildName = [this] { return ActiveFormName(); };

    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* child) { childActivated(child); });

    // Buttons start showing no connection.
    ShowConnectionState(panes_, false);

    mdiRegistration_ = Windows().Register(panes_);
    portRegistration_ = Windows().Register(static_cast<PortDialog&>(*port_));
    SharedActions::SetInstance(this);
    Procs().Arrange = [this](qint32 arrangement) { ArrangeChildren(arrangement); };
}

frmMDI::~frmMDI()
{
    // The frame's children outlive this object's own part: nothing they
    // signal from here on reaches it.
    disconnect(mdi_, nullptr, this, nullptr);
    timer1_.reset();
    if (SharedActions::Instance() == this)
        SharedActions::SetInstance(nullptr);
    Procs().Arrange = nullptr;
}

// ---------------------------------------------------------------------------
// Building

void frmMDI::buildMenus()
{
    QMenu* menu = nullptr;
    for (const MenuItemSpec& spec : MainMenuItems()) {
        if (spec.level == 0) {
            menu = menuBar()->addMenu(spec.caption);
            menu->setObjectName(spec.name);
            actions_.insert(spec.name, menu->menuAction());
            ownMenus_ << menu->menuAction();
            continue;
        }
        QAction* action = spec.caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(spec.caption);
        action->setObjectName(spec.name);
        if (!spec.shortcut.isEmpty())
            action->setShortcut(QKeySequence(spec.shortcut));
        actions_.insert(spec.name, action);
        if (spec.name == QLatin1String("mnuFileExit")) {
            // The recent files follow Exit: a separator, then nine entries.
            for (int k = 0; k <= RecentFiles::kMaxEntries; ++k) {
                QAction* entry = k == 0 ? menu->addSeparator() : menu->addAction(QString());
                entry->setObjectName(QStringLiteral("mnuRecentFile") + QString::number(k));
                entry->setVisible(false);
                if (k > 0)
                    connect(entry, &QAction::triggered, this, [this, entry] {
                        const QString path = entry->data().toString();
                        guarded([&] { Procs().OpenTalkFile(path); });
                    });
                actions_.insert(entry->objectName(), entry);
                recent_ << entry;
            }
        }
    }

    const auto on = [this](const char* name, std::function<void()> command) {
        connect(actions_.value(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, command = std::move(command)] { guarded(command); });
    };
    on("mnuFileNew", [] { Procs().OpenTalkFile(QString()); });
    on("mnuFileOpen", [] { Procs().OpenTalkFile(std::nullopt); });
    on("mnuFileExit", [this] { close(); });
    on("mnuToolsConnect", [] { ConnectPhone(0); });
    on("mnuToolsDisconnect", [] { DisconnectPhone(0); });
    on("mnuToolsMessageStore", [] { Procs().ShowMessageStore(); });
    on("mnuToolsPhonebook", [] { Procs().ShowPhonebook(); });
    on("mnuToolsConnectEmail", [] { ConnectEmail(); });
    on("mnuToolsDisconnectEmail", [] { DisconnectEmail(QString()); });
    on("mnuToolsOptions", [this] { Procs().ShowOptions(this); });
    on("mnuHelpHelp", [] { Procs().ShowHelp(21000); });
    on("mnuHelpHelpContent", [] { Procs().ShowHelp(0); });
    on("mnuHelpWeb", [this] { Procs().OpenWebSite(this); });
    on("mnuHelpAbout", [this] { Procs().ShowAbout(this); });

    QAction* toolbar = actions_.value(QStringLiteral("mnuToolsToolbar"));
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    connect(toolbar, &QAction::triggered, this, [this](bool checked) { panes_.SetActiveToolbarVisible(checked); });
}

void frmMDI::buildToolbars()
{
    for (ToolbarId id : {tlbMDI, tlbTalk, tlbBook, tlbStore}) {
        auto* bar = new QToolBar(this);
        bar->setObjectName(ToolbarName(id));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setContextMenuPolicy(Qt::PreventContextMenu);
        bar->toggleViewAction()->setEnabled(false);
        bar->setIconSize(QSize(20, 20));
        addToolBar(Qt::TopToolBarArea, bar);
        toolbars_[id] = bar;
        for (const ToolButtonSpec& spec : ToolbarButtons(id)) {
            if (spec.tag == 11 || spec.tag == 27 || spec.tag == 14 || spec.tag == 114 || spec.tag == 29)
                bar->addSeparator();
            auto* action = new QAction(ToolbarIcon(spec.tag), spec.toolTip, bar);
            action->setToolTip(spec.toolTip);
            action->setData(spec.tag);
            action->setObjectName(spec.key);
            action->setCheckable(spec.checkable);
            buttons_.insert(ButtonKey(id, spec.key), action);
            const qint32 tag = spec.tag;
            const QString key = spec.key;
            connect(action, &QAction::triggered, this, [this, id, tag, key, action] {
                // The pressed state shows what SetButtonValue says, never the click.
                if (action->isCheckable())
                    action->setChecked(panes_.ButtonValue(id, key) != 0);
                dispatcher_.ToolbarButtonClick(tag, 0);
            });
            if (spec.dropDown) {
                auto* menu = new QMenu(bar);
                qint32 index = 0;
                for (const QString& entry : DropDownEntries()) {
                    QAction* item = menu->addAction(entry);
                    item->setData(tag == 15 ? QStringLiteral("Font") : QStringLiteral("Color"));
                    const qint32 i = ++index;
                    connect(item, &QAction::triggered, this,
                            [this, tag, i] { dispatcher_.ToolbarButtonClick(tag, i); });
                }
                action->setMenu(menu);
            }
            bar->addAction(action);
            if (spec.dropDown) {
                if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
                    button->setPopupMode(QToolButton::MenuButtonPopup);
            }
        }
        bar->setVisible(false);
    }
}

void frmMDI::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Panel") + QString::number(i + 1));
        label->setTextFormat(Qt::PlainText);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMargin(1);
        label->installEventFilter(this);
        panes_labels_[i] = label;
    }
    panes_labels_[0]->setMinimumWidth(platform::TwipsToPixelsX(3000));
    panes_labels_[1]->setMinimumWidth(platform::TwipsToPixelsX(1200));
    panes_labels_[2]->setMinimumWidth(platform::TwipsToPixelsX(900));
    panes_labels_[3]->setMinimumWidth(platform::TwipsToPixelsX(900));
    panes_labels_[2]->setAlignment(Qt::AlignCenter);
    panes_labels_[3]->setAlignment(Qt::AlignCenter);
    bar->addWidget(panes_labels_[0], 1);
    bar->addWidget(panes_labels_[1]);
    bar->addPermanentWidget(panes_labels_[2]);
    bar->addPermanentWidget(panes_labels_[3]);
    for (int pane = 1; pane <= 4; ++pane)
        showPane(pane);
}

// ---------------------------------------------------------------------------
// Showing the model

void frmMDI::showPane(int pane)
{
    const StatusPane& state = panes_.Pane(pane);
    QLabel* label = PaneLabel(pane);
    label->setText(PaneText(state.text));
    label->setToolTip(state.toolTip);
    // Greyed while disabled; its clicks still arrive through the filter.
    label->setEnabled(state.enabled);
}

QAction* frmMDI::ButtonAction(ToolbarId toolbar, const QString& key) const
{
    return buttons_.value(ButtonKey(toolbar, key));
}

void frmMDI::showButton(ToolbarId toolbar, const QString& key)
{
    if (QAction* action = ButtonAction(toolbar, key)) {
        if (action->isCheckable())
            action->setChecked(panes_.ButtonValue(toolbar, key) != 0);
    }
}

void frmMDI::showToolbars()
{
    const bool visible = panes_.ActiveToolbarVisible();
    for (ToolbarId id : {tlbMDI, tlbTalk, tlbBook, tlbStore})
        toolbars_[id]->setVisible(visible && id == panes_.ActiveToolbar());
    if (QAction* item = ToolbarAction()) {
        const QSignalBlocker block(item);
        item->setChecked(visible);
    }
}

void frmMDI::showMenusOf(QMdiSubWindow* child)
{
    auto* menus = child ? dynamic_cast<ChildMenus*>(child->widget()) : nullptr;
    QList<QAction*> wanted = ownMenus_;
    if (menus) {
        wanted.clear();
        for (QMenu* menu : menus->Menus())
            wanted << menu->menuAction();
    }
    if (menuBar()->actions() == wanted)
        return;
    menuBar()->clear();
    for (QAction* action : wanted)
        menuBar()->addAction(action);
}

void frmMDI::loadRecentFiles()
{
    const std::optional<RecentFiles::Menu> menu = RecentFiles::Load(recent_.at(0)->isVisible());
    if (!menu)
        return;
    recent_.at(0)->setVisible(menu->separator);
    for (int k = 1; k <= RecentFiles::kMaxEntries; ++k) {
        QAction* entry = recent_.at(k);
        const QString path = menu->paths.value(k - 1);
        entry->setText(RecentFiles::Caption(path));
        entry->setData(path);
        entry->setVisible(k <= menu->paths.size());
    }
}

void frmMDI::childActivated(QMdiSubWindow* child)
{
    if (!child) {
        // Also sent while the application is inactive: only a frame with no
        // child left shows its own toolbar.
        if (!mdi_->subWindowList().isEmpty())
            return;
        panes_.ChangeToolbar(true);
        showMenusOf(nullptr);
        return;
    }
    panes_.ChangeToolbar(false);
    showMenusOf(child);
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void frmMDI::Load()
{
    Settings& settings = Settings::Instance();
    // Only the SMTP and POP3 service is connected and disconnected by hand.
    const bool cdo = settings.EmailType() == 1;
    actions_.value(QStringLiteral("mnuToolsConnectEmail"))->setEnabled(cdo);
    actions_.value(QStringLiteral("mnuToolsDisconnectEmail"))->setEnabled(cdo);

    panes_.SetActiveToolbar(tlbMDI);
    panes_.SetActiveToolbarVisible(true);
    placeWindow();
    panes_.UpdateCaption(0);
    panes_.Email();
    panes_.Ready();
    panes_.SMS();
    show();

    timer1_ = std::make_unique<platform::Timer>([this] { loop_.Tick(); }, MainLoop::kIntervalMs);
    timer1_->setEnabled(true);

    guarded([&] {
        if (settings.ConnectAtStartUp())
            ConnectPhone(0);
        if (settings.ConnectAtStartUpEmail())
            ConnectEmail();
    });
    platform::SetInitialFolder(settings.WorkingFolder());
    OpenCommandLineFiles(arguments_, QDir::currentPath());
    loadRecentFiles();
    G().FindDirection = 1;
}

void frmMDI::placeWindow()
{
    QList<QRectF> screens;
    const auto twips = [](const QRect& r) {
        return QRectF(platform::PixelsToTwipsX(r.x()), platform::PixelsToTwipsY(r.y()),
                      platform::PixelsToTwipsX(r.width()), platform::PixelsToTwipsY(r.height()));
    };
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens << twips(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            screens << twips(screen->availableGeometry());
    const QRectF placement = WindowPlacement::Load(kDesignWidth, kDesignHeight, screens);
    setGeometry(platform::TwipsToPixelsX(placement.left()), platform::TwipsToPixelsY(placement.top()),
                platform::TwipsToPixelsX(placement.width()), platform::TwipsToPixelsY(placement.height()));
}

void frmMDI::savePlacement()
{
    try {
        // The normal placement, whatever the window's state.
        const QRect normal = isMaximized() || isMinimized() || isFullScreen() ? normalGeometry() : geometry();
        WindowPlacement::Save(QRectF(platform::PixelsToTwipsX(normal.x()), platform::PixelsToTwipsY(normal.y()),
                                     platform::PixelsToTwipsX(normal.width()),
                                     platform::PixelsToTwipsY(normal.height())));
    } catch (...) {
    }
}

void frmMDI::closeEvent(QCloseEvent* event)
{
    if (unloaded_) {
        event->accept();
        return;
    }
    // Every child first: one that refuses keeps the program open with
    // nothing released.
    for (QMdiSubWindow* child : mdi_->subWindowList()) {
        if (!child->close()) {
            event->ignore();
            return;
        }
    }
    port_->Unload();
    unloaded_ = true;
    timer1_.reset();
    Application::Current().ShutDown();
    savePlacement();
    mdiRegistration_.Release();
    event->accept();
}

bool frmMDI::eventFilter(QObject* watched, QEvent* event)
{
    // A disabled pane gets no clicks of its own; the filter sees them still.
    if (event->type() == QEvent::MouseButtonPress && watched == panes_labels_[2]) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            guarded([] { ConnectPhone(0); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMDI::guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        platform::msgBox(platform::ErrorText(e), platform::vbExclamation, G().AppName);
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------
// The children

namespace {

// How far a cascade moves each child: its title bar and a little more, so
// every caption stays readable.
int CascadeStep(const QWidget& child)
{
    QStyleOptionTitleBar option;
    option.initFrom(&child);
    return child.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &child) +
           child.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &child);
}

}  // namespace

void frmMDI::ArrangeChildren(qint32 arrangement)
{
    QList<QMdiSubWindow*> shown;
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* child : mdi_->subWindowList()) {
        if (child->isHidden())
            continue;
        (child->isMinimized() ? icons : shown) << child;
    }
    const QRect area = mdi_->viewport()->rect();
    switch (arrangement) {
    case 0:
    case 1:
    case 2: {
        if (shown.isEmpty())
            break;
        if (arrangement == 0) {
            const QList<QMdiSubWindow*> own = shown;
            shown.clear();
            for (qsizetype i : ChildArrangement::CascadeOrder(own.size(), own.indexOf(mdi_->currentSubWindow())))
                shown << own.at(i);
        }
        QList<QSize> minimums;
        for (QMdiSubWindow* child : shown) {
            if (child->isMaximized())
                child->showNormal();
            MdiChild::KeepMinimum(*child);
            minimums << child->minimumSize();
        }
        const QList<QRect> places =
            arrangement == 0 ? ChildArrangement::Cascade(minimums, area.size(), CascadeStep(*shown.front()))
                             : ChildArrangement::Tile(minimums, area.size(), arrangement == 1);
        for (qsizetype i = 0; i < shown.size(); ++i)
            shown.at(i)->setGeometry(places.at(i));
        // The last one placed lies on top, as a cascade shows it: the
        // active one, which stays active.
        if (arrangement == 0)
            for (QMdiSubWindow* child : shown)
                child->raise();
        break;
    }
    case 3: {
        int left = 0;
        for (QMdiSubWindow* icon : icons) {
            const QSize size = icon->size();
            icon->move(left, area.height() - size.height());
            left += size.width();
        }
        break;
    }
    default:
        break;
    }
}

QWidget* frmMDI::ActiveWindow() const
{
    QMdiSubWindow* current = mdi_->currentSubWindow();
    return current ? current->widget() : nullptr;
}

QString frmMDI::ActiveFormName() const
{
    QWidget* window = ActiveWindow();
    return window ? window->objectName() : QString();
}

QString frmMDI::ActiveTheme() const
{
    QWidget* window = ActiveWindow();
    if (!window)
        return QString();
    if (auto* owner = dynamic_cast<FormatOwner*>(window))
        return owner->Theme();
    return window->property("Theme").toString();
}

QString frmMDI::ActiveCaption() const
{
    QMdiSubWindow* current = mdi_->currentSubWindow();
    return current ? current->windowTitle() : QString();
}

QWidget* frmMDI::ActiveControl(const QString& name) const
{
    QWidget* window = ActiveWindow();
    return window ? window->findChild<QWidget*>(name) : nullptr;
}

namespace {

// The edit commands on a text box of any of Qt's three kinds.
template <class Box>
bool Edit(QWidget* widget, TextCommand command)
{
    auto* box = qobject_cast<Box*>(widget);
    if (!box)
        return false;
    switch (command) {
    case TextCommand::Clear:
        box->clear();
        break;
    case TextCommand::Cut:
        box->cut();
        break;
    case TextCommand::Copy:
        box->copy();
        break;
    case TextCommand::Paste:
        box->paste();
        break;
    }
    return true;
}

void EditBox(QWidget* box, TextCommand command)
{
    Edit<QLineEdit>(box, command) || Edit<QPlainTextEdit>(box, command) || Edit<QTextEdit>(box, command);
}

}  // namespace

void frmMDI::EditText(TextCommand command)
{
    QWidget* window = ActiveWindow();
    if (!window)
        return;
    QWidget* text4 = window->findChild<QWidget*>(QStringLiteral("Text4"));
    QWidget* text5 = window->findChild<QWidget*>(QStringLiteral("Text5"));
    QWidget* focused = window->focusWidget();
    switch (command) {
    case TextCommand::Clear:
        if (text4) {
            EditBox(text4, command);
            text4->setFocus();
        }
        break;
    case TextCommand::Cut:
    case TextCommand::Paste:
        if (text4 && focused == text4)
            EditBox(text4, command);
        break;
    case TextCommand::Copy:
        if (focused && (focused == text4 || focused == text5))
            EditBox(focused, command);
        break;
    }
}

}  // namespace parlova
