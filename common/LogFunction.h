#pragma once
// A plain-text log: one line per call, the seconds since the previous line
// as "+0.0", a tab, the text, CR LF. Each component owns one (the phone
// terminal "ParlovaPhoneLog.txt", the hub "ParlovaHubLog.txt").
#include <QString>

#include <memory>

class QFile;

namespace common {

// Trailing blanks removed, then "/" appended unless the path already ends in
// "/" or "\". An empty path becomes "/".
QString EnsureTrailingSlash(const QString& path);

class LogFunction {
public:
    LogFunction();
    ~LogFunction();
    LogFunction(const LogFunction&) = delete;
    LogFunction& operator=(const LogFunction&) = delete;

    // Closes an open log first, then creates or truncates the file. A file
    // that cannot be opened leaves logging off, silently.
    void OpenLogFile(const QString& fullPath);
    void CloseLogFile();
    // The clock moves on even while no log is open. A line that cannot be
    // written closes the log; the caller never sees the failure.
    void WriteLogLine(const QString& text);
    bool IsOpen() const;

    // "+1.3" for 1.26 seconds.
    static QString FormatSeconds(float seconds);

private:
    std::unique_ptr<QFile> file_;
    float previous_ = 0.0f;
};

}  // namespace common
