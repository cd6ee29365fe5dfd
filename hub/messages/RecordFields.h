#pragma once
// Field handling that the phone book and the message store share: splitting
// a phone's entry or listing line into its fields, and writing a field of
// an export row.
#include <QString>
#include <QStringList>

namespace corvane {

// Splits at commas outside double quotes, so a name such as "Doe, J" stays
// one field. Quotes stay in the fields.
QStringList SplitFields(const QString& line);

// The export's column and row separators (characters 0 and 8) must not
// appear inside a field, or a text could forge columns and rows: they
// become blanks.
QString ExportField(QString text);

}  // namespace corvane
