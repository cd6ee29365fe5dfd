#include "platform/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace platform {
namespace {

QString g_folder;
std::unique_ptr<QSettings> g_store;
int g_writeFailures = 0;

QString folder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Parlova");
}

// The file is made private before anything is written to it.
void ensurePrivateFile(const QString& path)
{
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().exists(dir)) {
        QDir().mkpath(dir);
        ::chmod(QFile::encodeName(dir).constData(), 0700);
    }
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    ::chmod(native.constData(), 0600);
}

QSettings& store()
{
    if (!g_store) {
        g_store = std::make_unique<QSettings>(SettingsFilePath(), QSettings::IniFormat);
    }
    return *g_store;
}

// Keys match without regard to case, as the callers expect of the registry.
QString actualKey(QSettings& s, const QString& key)
{
    if (s.contains(key))
        return key;
    const QStringList keys = s.childKeys();
    for (const QString& k : keys)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    return key;
}

QString actualGroup(QSettings& s, const QString& section)
{
    const QStringList groups = s.childGroups();
    for (const QString& g : groups)
        if (g.compare(section, Qt::CaseInsensitive) == 0)
            return g;
    return section;
}

void commit(QSettings& s)
{
    ensurePrivateFile(SettingsFilePath());
    s.sync();
    if (s.status() != QSettings::NoError) {
        ++g_writeFailures;
        // The store keeps its first error for good: start afresh, so a later
        // write is judged by itself.
        g_store.reset();
        return;
    }
    ::chmod(QFile::encodeName(SettingsFilePath()).constData(), 0600);
}

}  // namespace

int SettingsWriteFailures() { return g_writeFailures; }

QString SettingsFilePath() { return folder() + QStringLiteral("/Parlova.ini"); }

void SetSettingsFolder(const QString& f)
{
    if (g_store)
        g_store->sync();
    g_store.reset();
    g_folder = f;
}

QString GetSetting(const QString&, const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings& s = store();
    s.beginGroup(actualGroup(s, section));
    const QString k = actualKey(s, key);
    const QVariant v = s.value(k);
    s.endGroup();
    if (!v.isValid())
        return defaultValue;
    // A value holding a comma comes back from the INI format as a list.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

void SaveSetting(const QString&, const QString& section, const QString& key, const QString& value)
{
    QSettings& s = store();
    s.beginGroup(actualGroup(s, section));
    const QString k = actualKey(s, key);
    if (s.value(k).toString() != value || !s.contains(k))
        s.setValue(k, value);
    s.endGroup();
    commit(s);
}

void DeleteSetting(const QString&, const QString& section, const QString& key)
{
    QSettings& s = store();
    const QString g = actualGroup(s, section);
    if (key.isEmpty()) {
        s.remove(g);
    } else {
        s.beginGroup(g);
        s.remove(actualKey(s, key));
        s.endGroup();
    }
    commit(s);
}

QList<QPair<QString, QString>> GetAllSettings(const QString&, const QString& section)
{
    QSettings& s = store();
    QList<QPair<QString, QString>> out;
    s.beginGroup(actualGroup(s, section));
    const QStringList keys = s.childKeys();
    for (const QString& k : keys) {
        const QVariant v = s.value(k);
        out.append({k, v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString()});
    }
    s.endGroup();
    return out;
}

}  // namespace platform
