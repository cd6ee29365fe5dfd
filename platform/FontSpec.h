#pragma once
#include <QString>

namespace platform {

// A font as the program stores it. Qt fonts have no character set, so a
// widget carries it beside its font.
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

}  // namespace platform
