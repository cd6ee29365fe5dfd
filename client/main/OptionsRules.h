#pragma once
// What the options dialog shows and the rules between its controls, kept
// apart from the widgets so they can be checked without a window.
#include "platform/ui/Dialogs.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace parlova {

struct OptionsTab {
    QString caption;
    QString key;
    QString toolTip;
    int helpContext;
};

// A number box whose value is checked when the focus leaves it.
struct NumberCheck {
    const char* box;
    qint32 min;
    qint32 max;
    const char* message;
};

class OptionsRules {
public:
    static constexpr int kTabCount = 5;
    static constexpr int kPageCount = 7;
    // The page no tab shows; only Ctrl+6 brings it up.
    static constexpr int kHiddenPage = 5;
    // The Email tab of a program without e-mail service shows nothing.
    static constexpr int kNoPage = -1;

    static const std::array<OptionsTab, kTabCount>& Tabs();
    // The page a tab (0-based) shows for the e-mail service type.
    static int PageOfTab(int tab, qint32 emailType);
    static int NextTab(int tab);

    static QString LastPortCaption(qint32 lastPort);
    // Name, size and character-set name, "; " between them.
    static QString FontDescription(const platform::FontSpec& font);
    static QString DateTimeExample(const QString& format, const QDateTime& now);

    // The option each stored value selects: the value itself, or what an
    // unknown value falls back to (std::nullopt for a class: nothing).
    static qint32 CodingShown(qint32 coding);
    static std::optional<qint32> ClassShown(qint32 messageClass);
    static qint32 ValidityShown(qint32 validityType);

    // The value a number box with an up-down sets: the whole number the text
    // starts with, held to the up-down's bounds. rewrite is set when the
    // text must be replaced by that bound.
    struct BoxValue {
        qint32 value;
        bool rewrite;
    };
    static BoxValue ScanBoxValue(const QString& text, qint32 min, qint32 max);

    static const std::array<NumberCheck, 7>& NumberChecks();
    // Empty when the text is a number within the box's range, else the
    // box's message.
    static QString CheckNumber(const NumberCheck& check, const QString& text);
};

}  // namespace parlova
