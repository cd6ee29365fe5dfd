#pragma once
// The per-user settings store: one INI file for the whole program
// ($XDG_CONFIG_HOME/Parlova/Parlova.ini), private to the user because it
// holds the mail password. Values are always stored as text. The application
// name of each call is accepted for the callers' sake; all of them share the
// one file, sections keep them apart.
#include <QList>
#include <QPair>
#include <QString>

namespace platform {

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Both write the file at once and return "" or "The settings could not be
// saved: " and the reason (also said on the warning log). A failed write
// leaves the file as it was and the store reading what it holds.
QString SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value);
// An empty key deletes the whole section.
QString DeleteSetting(const QString& app, const QString& section, const QString& key = QString());
// Key/value pairs of a section, sorted by key (the store keeps no file order,
// so callers read numbered keys by number).
QList<QPair<QString, QString>> GetAllSettings(const QString& app, const QString& section);

// The file in use; tests point the store at a folder of their own.
QString SettingsFilePath();
void SetSettingsFolder(const QString& folder);

}  // namespace platform
