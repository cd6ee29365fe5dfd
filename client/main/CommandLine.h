#pragma once
// The conversation files named on the command line. Each argument may hold
// several names separated by ";", so `parlova "a; b.plv"` is `parlova a b.plv`.
#include <QString>
#include <QStringList>

namespace parlova {

// The paths the arguments name, in order: names trimmed of blanks, control
// characters and quotes, empty ones skipped; a name without "." gets ".PLV"
// (".plv" when only that file exists); a relative name is taken from
// currentFolder.
QStringList CommandLinePaths(const QStringList& arguments, const QString& currentFolder);

// Opens every file the arguments name; an error ends it silently, leaving
// the names after it unopened.
void OpenCommandLineFiles(const QStringList& arguments, const QString& currentFolder);

}  // namespace parlova
