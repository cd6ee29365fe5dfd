#pragma once
// The options dialog over a settings store of the test's own, with boxes,
// dialogs and the clock answered by the test.
#include "client/main/ui/frmOptions.h"

#include "client/core/Application.h"
#include "client/core/Module1.h"
#include "client/core/Settings.h"
#include "client/main/OptionsRules.h"
#include "client/main/ui/OptionsPages.h"
#include "client/main/ui/UpDown.h"
#include "hub/engine/Gate.h"
#include "platform/Clock.h"
#include "platform/VbError.h"
#include "platform/ui/Dialogs.h"
#include "support/ui/DialogRecorder.h"
#include "support/ui/MessageBoxRecorder.h"
#include "support/ui/RecordingDesktopService.h"

#include "client/support/SettingsStoreFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>

#include <memory>

namespace optionstest {

using parlova::frmOptions;
using parlova::OptionsRules;

class OptionsDialogTest : public SettingsStoreTest {
protected:
    void SetUp() override
    {
        SettingsStoreTest::SetUp();
        clock_.setNow(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 7)));
        app_ = std::make_unique<parlova::Application>();
    }
    void TearDown() override
    {
        dialog_.reset();
        app_.reset();
        SettingsStoreTest::TearDown();
    }

    parlova::Settings& settings() { return app_->settings(); }

    // Opens the dialog on its first tab; the first opening loads the store,
    // as start-up does.
    frmOptions& Open(qint32 emailType = 1)
    {
        dialog_.reset();
        if (!loaded_)
            settings().GetOptions();
        loaded_ = true;
        settings().EmailType(emailType);
        dialog_ = std::make_unique<frmOptions>(settings());
        dialog_->show();
        dialog_->activateWindow();
        QApplication::processEvents();
        return *dialog_;
    }

    template <class W>
    W* Find(const char* name)
    {
        W* w = dialog_->findChild<W*>(QLatin1String(name));
        if (!w)
            ADD_FAILURE() << "no control " << name;
        return w;
    }

    // What a control shows, as text.
    QString Shown(const char* name)
    {
        QObject* o = dialog_->findChild<QObject*>(QLatin1String(name));
        if (auto* b = qobject_cast<QAbstractButton*>(o))
            return b->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        if (auto* e = qobject_cast<QLineEdit*>(o))
            return e->text();
        if (auto* c = qobject_cast<QComboBox*>(o))
            return c->currentText();
        if (auto* s = qobject_cast<QSpinBox*>(o))
            return QString::number(s->value());
        if (auto* s = qobject_cast<QSlider*>(o))
            return QString::number(s->value());
        if (auto* l = qobject_cast<QLabel*>(o))
            return l->text();
        ADD_FAILURE() << "no control " << name;
        return QString();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dialog_.get();
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
    }

    void ClickTab(int tab)
    {
        QTabBar* bar = dialog_->tbsOptions;
        const QPoint at = bar->tabRect(tab).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, bar->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, bar->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        QApplication::sendEvent(bar, &release);
    }

    // Types into a box and moves the focus on, as a user leaving it does.
    void Leave(const char* box, const QString& text, const char* next)
    {
        QLineEdit* b = Find<QLineEdit>(box);
        b->setFocus();
        QApplication::processEvents();
        b->setText(text);
        Find<QWidget>(next)->setFocus();
        QApplication::processEvents();
    }

    platform::MessageBoxRecorder boxes_;
    platform::FakeClock clock_;
    std::unique_ptr<parlova::Application> app_;
    std::unique_ptr<frmOptions> dialog_;
    bool loaded_ = false;
};

}  // namespace optionstest
