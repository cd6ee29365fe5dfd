#include "platform/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
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

// Why the file cannot be replaced, as far as trying tells.
QString writeFailureReason(const QString& path)
{
    if (!QDir().exists(QFileInfo(path).absolutePath()))
        return QStringLiteral("the folder cannot be created");
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return QStringLiteral("the file could not be written (is the disk full?)");
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

// What a section held before a change, to put back when the file cannot
// be written: Qt keeps unsaved changes (even past the object's end), and
// the program must read what a restart would.
struct Undo {
    QString group;
    QList<QPair<QString, QVariant>> keys;  // an invalid value: the key was not there
};

Undo remember(QSettings& s, const QString& group, const QStringList& keys)
{
    Undo undo{group, {}};
    s.beginGroup(group);
    for (const QString& k : keys)
        undo.keys.append({k, s.contains(k) ? s.value(k) : QVariant()});
    s.endGroup();
    return undo;
}

void putBack(QSettings& s, const Undo& undo)
{
    s.beginGroup(undo.group);
    for (const auto& [k, v] : undo.keys) {
        if (v.isValid())
            s.setValue(k, v);
        else
            s.remove(k);
    }
    s.endGroup();
}

// Writes the file (atomically: a failed write leaves the old one whole).
QString commit(QSettings& s, const Undo& undo)
{
    const QString path = SettingsFilePath();
    ensurePrivateFile(path);
    s.sync();
    if (s.status() != QSettings::AccessError) {
        ::chmod(QFile::encodeName(path).constData(), 0600);
        return QString();
    }
    const QString error = QStringLiteral("The settings could not be saved: ") + writeFailureReason(path);
    qWarning("%s (%s)", qUtf8Printable(error), qUtf8Printable(path));
    putBack(s, undo);
    return error;
}

}  // namespace

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

QString SaveSetting(const QString&, const QString& section, const QString& key, const QString& value)
{
    QSettings& s = store();
    const QString g = actualGroup(s, section);
    s.beginGroup(g);
    const QString k = actualKey(s, key);
    s.endGroup();
    const Undo undo = remember(s, g, {k});
    s.beginGroup(g);
    if (s.value(k).toString() != value || !s.contains(k))
        s.setValue(k, value);
    s.endGroup();
    return commit(s, undo);
}

QString DeleteSetting(const QString&, const QString& section, const QString& key)
{
    QSettings& s = store();
    const QString g = actualGroup(s, section);
    s.beginGroup(g);
    const QStringList keys = key.isEmpty() ? s.childKeys() : QStringList{actualKey(s, key)};
    s.endGroup();
    const Undo undo = remember(s, g, keys);
    if (key.isEmpty()) {
        s.remove(g);
    } else {
        s.beginGroup(g);
        s.remove(keys.first());
        s.endGroup();
    }
    return commit(s, undo);
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
