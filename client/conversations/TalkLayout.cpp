#include "client/conversations/TalkLayout.h"

namespace parlova {

QSize TalkLayout::MinimumSize(int text4Height, bool fullView)
{
    constexpr int kLogLines = 720;
    return QSize(kMinWidth, (fullView ? 2670 : 345) + text4Height + kLogLines);
}

QHash<QString, QRect> TalkLayout::Place(int width, int height, int text4Height, bool fullView)
{
    QHash<QString, QRect> r;
    const int below = fullView ? 2670 : 345;
    const int log = text4Height + below < height ? height - below - text4Height : 0;

    r[QStringLiteral("Text5")] = QRect(0, 0, width, log);
    r[QStringLiteral("Label1")] = QRect(60, log + 105, 600, 225);
    r[QStringLiteral("Label2")] = QRect(720, log + 105, 3000, 225);
    r[QStringLiteral("Label6")] = QRect(3960, log + 105, 2400, 225);
    r[QStringLiteral("Text4")] = QRect(0, log + 345, width, text4Height);
    if (!fullView)
        return r;

    const int b = log + 345 + text4Height;
    const int e = width - kMinWidth;
    const int shift = e < 1 ? 0 : e;
    r[QStringLiteral("Label3")] = QRect(60, b + 105, 1000, 225);
    r[QStringLiteral("Label5")] = QRect(1140, b + 105, 3000, 225);
    r[QStringLiteral("List1")] = QRect(60, b + 345, e < 1 ? 4335 : e + 4455, 1935);
    r[QStringLiteral("Label7")] = QRect(shift + 4680, b + 105, 700, 225);
    r[QStringLiteral("Combo1")] = QRect(shift + 5400, b + 105, 1935, 315);
    r[QStringLiteral("Label8")] = QRect(shift + 4680, b + 465, 700, 225);
    r[QStringLiteral("Combo2")] = QRect(shift + 5400, b + 465, 1935, 315);
    r[QStringLiteral("Frame3")] = QRect(shift + 4560, b + 825, 2850, 810);
    r[QStringLiteral("DTPicker1")] = QRect(shift + 5400, b + 1665, 2010, 315);
    r[QStringLiteral("Check1")] = QRect(shift + 4680, b + 2060, 1200, 255);
    r[QStringLiteral("Check2")] = QRect(shift + 6000, b + 2060, 1300, 255);

    r[QStringLiteral("Label4")] = QRect(1500, 15, 1290, 195);
    r[QStringLiteral("Option1")] = QRect(90, 210, 1650, 195);
    r[QStringLiteral("Option7")] = QRect(90, 405, 1650, 195);
    r[QStringLiteral("Option8")] = QRect(90, 600, 1650, 195);
    r[QStringLiteral("Slider2")] = QRect(1740, 390, 1050, 240);
    return r;
}

std::optional<int> TalkLayout::ResizedText4Height(int top, int height, int delta)
{
    const int newHeight = height + delta;
    if (newHeight > 0 && top - delta > 345)
        return newHeight;
    return std::nullopt;
}

TalkLayout::EdgeStep TalkLayout::EdgeMove(int y, int band, bool leftDown, bool dragging)
{
    const bool inBand = -band <= y && y < band;
    if (leftDown) {
        if (dragging)
            return {true, -y, Pointer::Unchanged};
        return inBand ? EdgeStep{true, std::nullopt, Pointer::Sizing} : EdgeStep{false, std::nullopt, Pointer::Default};
    }
    if (inBand)
        return {false, std::nullopt, dragging ? Pointer::Unchanged : Pointer::Sizing};
    return {false, std::nullopt, Pointer::Default};
}

}  // namespace parlova
