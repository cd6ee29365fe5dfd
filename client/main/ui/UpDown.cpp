#include "client/main/ui/UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace parlova {

UpDown::UpDown(QLineEdit* buddy, qint32 min, qint32 max, QWidget* parent)
    : QWidget(parent), buddy_(buddy), min_(min), max_(max), value_(min)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, step] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
        button->setFixedWidth(16);
        connect(button, &QToolButton::clicked, this, [this, step = step] { setValue(value_ + step); });
        layout->addWidget(button);
    }
    // The two arrows share the height of the box they step.
    setFixedHeight(buddy ? buddy->sizeHint().height() : 22);
}

void UpDown::setValue(qint32 value)
{
    value = std::clamp(value, min_, max_);
    if (value == value_ && buddy_ && buddy_->text() == QString::number(value))
        return;
    const bool changed = value != value_;
    value_ = value;
    if (buddy_ && buddy_->text() != QString::number(value))
        buddy_->setText(QString::number(value));
    if (changed)
        Q_EMIT valueChanged(value_);
}

}  // namespace parlova
