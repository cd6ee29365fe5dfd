// The two text helpers the windows and the orders share: a log entry's time
// stamp and the words for a relative validity period.
#include "client/core/Application.h"
#include "client/core/LogTime.h"
#include "client/core/ValidityPeriodText.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(TextHelpers, LogTimeFollowsTheDateTimeFormatSetting)
{
    struct Case {
        QString format;
        QDateTime when;
        QString stamp;
    };
    const QDateTime morning(QDate(2026, 3, 7), QTime(9, 5, 30));
    const QDateTime evening(QDate(1999, 12, 31), QTime(23, 59, 59));
    const Case cases[] = {
        {QStringLiteral("yyyy/MM/dd  HH:mm"), morning, QStringLiteral("2026/03/07  09:05")},
        {QStringLiteral("yyyy/MM/dd  HH:mm"), evening, QStringLiteral("1999/12/31  23:59")},
        {QStringLiteral("dd.MM.yy HH:mm"), morning, QStringLiteral("07.03.26 09:05")},
        {QStringLiteral("HH:mm:ss"), evening, QStringLiteral("23:59:59")},
        {QString(), morning, QString()},
    };
    parlova::Application app;
    platform::FakeClock clock;
    for (const Case& c : cases) {
        app.settings().DateTimeFormat(c.format);
        EXPECT_EQ(parlova::LogTime(c.when), c.stamp) << c.format.toStdString();
        clock.setNow(c.when);
        EXPECT_EQ(parlova::LogTime(), c.stamp) << "now, " << c.format.toStdString();
    }
}

TEST(TextHelpers, ValidityPeriodTextCoversEveryRange)
{
    const std::pair<qint32, const char*> cases[] = {
        {0, "0 h 5 min"},    {11, "1 h 0 min"},  {12, "1 h 5 min"},    {143, "12 h 0 min"}, {144, "12 h 30 min"},
        {145, "13 h 0 min"}, {167, "24 h 0 min"}, {168, "2 days"},     {170, "4 days"},     {196, "30 days"},
        {197, "5 weeks"},    {255, "63 weeks"},  {-1, ""},             {256, ""},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(parlova::ValidityPeriodText(code), QString::fromLatin1(text)) << code;
}
