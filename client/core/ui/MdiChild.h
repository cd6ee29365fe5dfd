#pragma once
// A single-instance child window of the main window's work area, as its
// handle keeps it: made on demand by SetFocus, answering for the window
// while it is not loaded, closed by Unload. The store windows' handles
// hold one each and add their own operations.
#include "client/core/WindowSeams.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QSize;

namespace parlova {

class MdiChild {
public:
    // area: where the window opens; make: a new window; openSize: its first
    // size in twips; made: runs once the new window has its sub-window.
    MdiChild(std::function<QMdiArea*()> area, std::function<QWidget*()> make, QSizeF openSize,
             std::function<void(QMdiSubWindow*, QWidget*)> made = {});
    ~MdiChild();
    MdiChild(const MdiChild&) = delete;
    MdiChild& operator=(const MdiChild&) = delete;

    // The loaded window while it shows (minimised included), else nullptr.
    QWidget* Form() const;
    bool Visible() const { return Form() != nullptr; }
    qint32 WindowState() const;
    void SetWindowState(qint32 state);
    // Loads, shows and activates it.
    void SetFocus();
    // Closes it; the next SetFocus loads a new one.
    void Unload();

    // Gives a sub-window the minimum its contents fit in; the area's own
    // arrangements and a user's resizing keep to it.
    static void KeepMinimum(QMdiSubWindow& sub);
    // The first size of a new sub-window: wanted (pixels) as far as room
    // shows it, never below its minimum.
    static void OpenSize(QMdiSubWindow& sub, const QSize& wanted, const QSize& room);

    // Moves a sub-window left and up as far as it takes to lie within room
    // (the area's visible size), never past its top left corner.
    static void KeepInside(QMdiSubWindow& sub, const QSize& room);

private:
    std::function<QMdiArea*()> area_;
    std::function<QWidget*()> make_;
    QSizeF openSize_;
    std::function<void(QMdiSubWindow*, QWidget*)> made_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<QWidget> form_;
};

}  // namespace parlova
