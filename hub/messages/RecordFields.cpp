#include "hub/messages/RecordFields.h"

namespace corvane {

QStringList SplitFields(const QString& line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (QChar c : line) {
        if (c == u'"')
            quoted = !quoted;
        if (c == u',' && !quoted) {
            fields.append(field);
            field.clear();
        } else {
            field.append(c);
        }
    }
    fields.append(field);
    return fields;
}

QString ExportField(QString text)
{
    text.replace(QChar(0), u' ');
    text.replace(QChar(8), u' ');
    return text;
}

}  // namespace corvane
