#include "common/LogFunction.h"

#include "platform/Ansi.h"
#include "platform/Clock.h"

#include <QFile>

#include <cmath>

namespace common {

QString EnsureTrailingSlash(const QString& path)
{
    QString p = path;
    while (p.endsWith(QLatin1Char(' ')))
        p.chop(1);
    if (!p.endsWith(QLatin1Char('/')) && !p.endsWith(QLatin1Char('\\')))
        p.append(QLatin1Char('/'));
    return p;
}

LogFunction::LogFunction() = default;

LogFunction::~LogFunction() { CloseLogFile(); }

void LogFunction::OpenLogFile(const QString& fullPath)
{
    CloseLogFile();
    auto file = std::make_unique<QFile>(fullPath);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file_ = std::move(file);
}

void LogFunction::CloseLogFile()
{
    if (!file_)
        return;
    file_->close();
    file_.reset();
}

bool LogFunction::IsOpen() const { return file_ != nullptr; }

QString LogFunction::FormatSeconds(float seconds)
{
    // Rounded half away from zero to one decimal; a negative difference (a
    // line after midnight) keeps its minus sign before the literal plus.
    const double tenths = std::round(std::fabs(static_cast<double>(seconds)) * 10.0);
    const QString digits = QString::number(tenths / 10.0, 'f', 1);
    const bool negative = seconds < 0 && tenths > 0;
    return (negative ? QStringLiteral("-+") : QStringLiteral("+")) + digits;
}

void LogFunction::WriteLogLine(const QString& text)
{
    const float now = static_cast<float>(platform::SecondsSinceMidnight());
    const QString line = FormatSeconds(now - previous_) + QLatin1Char('\t') + text + QStringLiteral("\r\n");
    previous_ = static_cast<float>(platform::SecondsSinceMidnight());
    if (!file_)
        return;
    const QByteArray bytes = platform::TextToAnsi(line);
    // A full disk must not stop whoever logs: the log just ends here.
    if (file_->write(bytes) != bytes.size() || !file_->flush())
        CloseLogFile();
}

}  // namespace common
