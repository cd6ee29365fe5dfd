#include "client/core/ui/MdiChild.h"

#include "platform/ui/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace parlova {

MdiChild::MdiChild(std::function<QMdiArea*()> area, std::function<QWidget*()> make, QSizeF openSize,
                   std::function<void(QMdiSubWindow*, QWidget*)> made)
    : area_(std::move(area)), make_(std::move(make)), openSize_(openSize), made_(std::move(made))
{
}

MdiChild::~MdiChild() { delete sub_.data(); }

QWidget* MdiChild::Form() const
{
    // Qt hides a minimised child's widget; the sub-window tells.
    return sub_ && !sub_->isHidden() ? form_.data() : nullptr;
}

qint32 MdiChild::WindowState() const
{
    if (!Form())
        return vbNormal;
    if (sub_->isMinimized())
        return vbMinimized;
    return sub_->isMaximized() ? vbMaximized : vbNormal;
}

void MdiChild::SetWindowState(qint32 state)
{
    if (!Form())
        return;
    if (state == vbMinimized)
        sub_->showMinimized();
    else if (state == vbMaximized)
        sub_->showMaximized();
    else
        sub_->showNormal();
}

void MdiChild::KeepMinimum(QMdiSubWindow& sub)
{
    // A layout does not hold a child window at its minimum as it does a
    // top-level one: left alone, Tile squeezes the controls over each other.
    sub.setMinimumSize(sub.minimumSizeHint());
}

void MdiChild::OpenSize(QMdiSubWindow& sub, const QSize& wanted, const QSize& room)
{
    KeepMinimum(sub);
    const QSize size = room.isEmpty() ? wanted : wanted.boundedTo(room);
    sub.resize(size.expandedTo(sub.minimumSize()));
}

void MdiChild::KeepInside(QMdiSubWindow& sub, const QSize& room)
{
    // The area places a new window where it overlaps the others least,
    // which may leave part of it outside, where nothing can reach it.
    const QPoint at(std::max(0, std::min(sub.x(), room.width() - sub.width())),
                    std::max(0, std::min(sub.y(), room.height() - sub.height())));
    sub.move(at);
}

void MdiChild::SetFocus()
{
    QMdiArea* area = area_ ? area_() : nullptr;
    if (!area)
        return;
    if (!Form()) {
        Unload();
        QWidget* form = make_();
        QMdiSubWindow* sub = area->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(form->windowTitle());
        OpenSize(*sub,
                 QSize(platform::TwipsToPixelsX(openSize_.width()), platform::TwipsToPixelsY(openSize_.height())),
                 area->viewport()->size());
        if (made_)
            made_(sub, form);
        sub_ = sub;
        form_ = form;
        sub->show();
        KeepInside(*sub, area->viewport()->size());
    }
    area->setActiveSubWindow(sub_);
    form_->setFocus();
}

void MdiChild::Unload()
{
    if (sub_) {
        sub_->close();
        // A window closed by its owner goes at once: the next load must not
        // meet the old one's rows.
        sub_->deleteLater();
    }
    sub_ = nullptr;
    form_ = nullptr;
}

}  // namespace parlova
