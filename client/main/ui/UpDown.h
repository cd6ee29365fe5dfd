#pragma once
// A pair of arrow buttons that steps a whole number between two bounds and
// writes it into its buddy box. Unlike a spin box it never judges what is
// typed into the buddy: the owner decides that, so an entry beyond a bound
// can be set back to the bound instead of being refused.
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace parlova {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, qint32 min, qint32 max, QWidget* parent = nullptr);

    qint32 value() const { return value_; }
    qint32 minimum() const { return min_; }
    qint32 maximum() const { return max_; }
    // Held to the bounds; a new value is written into the buddy.
    void setValue(qint32 value);

Q_SIGNALS:
    void valueChanged(qint32 value);

private:
    QLineEdit* buddy_;
    qint32 min_;
    qint32 max_;
    qint32 value_;
};

}  // namespace parlova
