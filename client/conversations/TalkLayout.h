#pragma once
// Where the conversation window's controls stand, in twips, for an inner
// size and the new-message box's height: the log above, the new message
// below it, and in the full view the conferee list and the message
// parameters under both. The parameter panel keeps its size and moves
// right when the window is wider than 7410 twips.
#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace parlova {

class TalkLayout {
public:
    // The design-time height of the new-message box.
    static constexpr int kText4Height = 1215;
    // The narrowest inner size that shows every control of the full view.
    static constexpr int kMinWidth = 7410;

    // The smallest inner size that shows every control of the view and a
    // few lines of the log.
    static QSize MinimumSize(int text4Height, bool fullView);

    // Rectangles by control name; the controls of the frame Frame3 are
    // relative to it.
    static QHash<QString, QRect> Place(int width, int height, int text4Height, bool fullView);

    // The new-message box's height after its top edge moved up by delta,
    // or none when the box would vanish or its top come to 345 or less.
    static std::optional<int> ResizedText4Height(int top, int height, int delta);

    // A mouse move over the new-message box, y twips below its top edge
    // (negative above): whether the box's edge is being dragged, the
    // resize it asks for, and the pointer to show.
    enum class Pointer { Unchanged, Sizing, Default };
    struct EdgeStep {
        bool dragging;
        std::optional<int> resizeBy;
        Pointer pointer;
    };
    static EdgeStep EdgeMove(int y, int band, bool leftDown, bool dragging);
};

}  // namespace parlova
