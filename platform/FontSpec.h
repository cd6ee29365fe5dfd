#pragma once
// A font and a colour as the program stores them, without widgets: the
// settings keep them, the common dialogs and the windows apply them.
//
// Colours are OLE values: 0x00BBGGRR, or 0x80000000 plus a system colour
// index (8 window text, 5 window background, ...).
#include <QString>
#include <QtGlobal>

namespace platform {

// Qt fonts have no character set, so a widget carries it beside its font.
struct FontSpec {
    QString name;
    int charset = 1;
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool strikethrough = false;
    bool underline = false;
    bool operator==(const FontSpec&) const = default;
};

// Sizes a window can still be used with; a stored size outside them is a
// damaged value, not a wish.
constexpr double kMinFontSize = 1;
constexpr double kMaxFontSize = 400;
constexpr bool SaneFontSize(double points) { return points >= kMinFontSize && points <= kMaxFontSize; }

constexpr qint32 kSystemColorFlag = qint32(0x80000000u);
constexpr bool IsSystemColor(qint32 ole) { return (quint32(ole) & 0x80000000u) != 0; }

}  // namespace platform
