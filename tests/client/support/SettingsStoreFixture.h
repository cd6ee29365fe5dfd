#pragma once
// A settings store of the test's own, in a folder that does not exist yet,
// so each test starts from an empty store (or from a file it writes).
#include "platform/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previous_ = QFileInfo(platform::SettingsFilePath()).absolutePath();
        platform::SetSettingsFolder(dir_.path() + QStringLiteral("/config/Parlova"));
    }
    void TearDown() override { platform::SetSettingsFolder(previous_); }

    static QString file() { return platform::SettingsFilePath(); }
    QString scratch() const { return dir_.path(); }

    // A file as a user might have edited it; written before the store is used.
    static void writeFile(const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(file()).absolutePath());
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    static QByteArray fileBytes()
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QList<QPair<QString, QString>> section(const QString& name)
    {
        return platform::GetAllSettings(QStringLiteral("Parlova"), name);
    }
    static QString value(const QString& sectionName, const QString& key)
    {
        return platform::GetSetting(QStringLiteral("Parlova"), sectionName, key, QStringLiteral("<none>"));
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};
