#include "hub/engine/Bag.h"

#include "platform/VbError.h"

#include <cmath>
#include <limits>

namespace corvane {

namespace {

const QString kSource = QStringLiteral("Bag");

[[noreturn]] void TypeMismatch()
{
    platform::Raise(platform::vberr::TypeMismatch, kSource, QStringLiteral("Type mismatch"));
}

[[noreturn]] void Overflow()
{
    platform::Raise(platform::vberr::Overflow, kSource, QStringLiteral("Overflow"));
}

bool IsNumberType(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// A text as the runtime reads it for a number: blanks around it allowed,
// "True"/"False" as -1/0; nothing else.
bool TextNumber(const QString& text, double& out)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) {
        out = -1;
        return true;
    }
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) {
        out = 0;
        return true;
    }
    bool ok = false;
    out = t.toDouble(&ok);
    return ok && std::isfinite(out);
}

// Nearest whole number, halves to the even neighbour, as CInt/CLng round.
double RoundEven(double v) { return std::nearbyint(v); }

}  // namespace

QVariant Bag::Item(const QString& key) const
{
    if (!items_.Exists(key))
        return QVariant();
    return items_.Item(key);
}

void Bag::Let(const QString& key, const QVariant& value)
{
    if (items_.Exists(key))
        items_.Remove(key);
    items_.Add(value, key);
}

void Bag::Remove(const QString& key)
{
    if (items_.Exists(key))
        items_.Remove(key);
}

bool VariantIsEmpty(const QVariant& value) { return !value.isValid(); }

double VariantDouble(const QVariant& value)
{
    if (!value.isValid())
        return 0;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    if (IsNumberType(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString) {
        double d = 0;
        if (TextNumber(value.toString(), d))
            return d;
    }
    TypeMismatch();
}

qint16 VariantInteger(const QVariant& value)
{
    const double d = RoundEven(VariantDouble(value));
    if (d < std::numeric_limits<qint16>::min() || d > std::numeric_limits<qint16>::max())
        Overflow();
    return static_cast<qint16>(d);
}

qint32 VariantLong(const QVariant& value)
{
    const double d = RoundEven(VariantDouble(value));
    if (d < std::numeric_limits<qint32>::min() || d > std::numeric_limits<qint32>::max())
        Overflow();
    return static_cast<qint32>(d);
}

bool VariantBoolean(const QVariant& value)
{
    if (!value.isValid())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return VariantDouble(value) != 0;
}

QString VariantText(const QVariant& value)
{
    if (!value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Float:
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        if (IsNumberType(value) || value.typeId() == QMetaType::QChar)
            return value.toString();
        TypeMismatch();
    }
}

QVector<qint32> VariantLongArray(const QVariant& value)
{
    if (value.canConvert<QVector<qint32>>() && value.typeId() == QMetaType::fromType<QVector<qint32>>().id())
        return value.value<QVector<qint32>>();
    if (value.typeId() == QMetaType::QVariantList) {
        QVector<qint32> out;
        for (const QVariant& v : value.toList())
            out << VariantLong(v);
        return out;
    }
    if (value.typeId() == QMetaType::QStringList) {
        QVector<qint32> out;
        for (const QString& s : value.toStringList())
            out << VariantLong(s);
        return out;
    }
    TypeMismatch();
}

QStringList VariantTextArray(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() == QMetaType::QVariantList) {
        QStringList out;
        for (const QVariant& v : value.toList())
            out << VariantText(v);
        return out;
    }
    TypeMismatch();
}

}  // namespace corvane
