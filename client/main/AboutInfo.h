#pragma once
// What the about box says and does, without its widgets.
#include <QString>
#include <QtGlobal>

namespace parlova {

class AboutInfo {
public:
    struct Version {
        int major = 0;
        int minor = 0;
        int revision = 0;
    };
    // The version the program was built as (the project's version; the
    // revision is its patch number).
    static Version BuiltVersion();

    // "About " and the application title.
    static QString Caption();
    // The title, the trade-mark sign, the version and, on the next line, the
    // copyright.
    static QString Title(const Version& version = BuiltVersion());
    static QString Copyright();
    static QString Comments();
    static QString Disclaimer();

    // Starts the desktop's system-information tool; when that fails, says
    // why in an exclamation box.
    static void StartSysInfo();
    static QString SysInfoUnavailable(const QString& error);

    // Reads a value of the program's settings store: the key name is the
    // section, the value name the key; the root is ignored (there is no
    // machine-wide store). False and an empty value when it is missing.
    static bool GetKeyValue(qint32 root, const QString& keyName, const QString& valueName, QString& value);
};

}  // namespace parlova
