#pragma once
// The keyed set of named values that carries a command's parameters in and
// its results out. Keys are compared without regard to case; a key never
// written reads as an empty value. Objects travel as std::shared_ptr wrapped
// in the QVariant, so every holder sees the same object.
#include "platform/Collection.h"

#include <QStringList>
#include <QVariant>

#include <memory>

namespace corvane {

class Bag {
public:
    // Empty (invalid) QVariant when the key is not there.
    QVariant Item(const QString& key) const;
    // A write replaces: the key is removed when present, then added anew.
    void Let(const QString& key, const QVariant& value);
    template <class T>
    void Set(const QString& key, std::shared_ptr<T> object)
    {
        Let(key, QVariant::fromValue(std::move(object)));
    }
    template <class T>
    std::shared_ptr<T> Object(const QString& key) const
    {
        const QVariant v = Item(key);
        if (v.canConvert<std::shared_ptr<T>>())
            return v.value<std::shared_ptr<T>>();
        return nullptr;
    }

    bool Exists(const QString& key) const { return items_.Exists(key); }
    void Remove(const QString& key);
    qsizetype Count() const { return items_.Count(); }
    QStringList Keys() const { return items_.Keys(); }

private:
    platform::Collection<QVariant> items_;
};

// The value conversions the steps apply to Bag items, as the BASIC runtime
// makes them: an empty value reads as 0, False or "", a numeric text as its
// number; anything else raises a type mismatch (13), which the caller's
// error handling reports.
bool VariantIsEmpty(const QVariant& value);
qint16 VariantInteger(const QVariant& value);
qint32 VariantLong(const QVariant& value);
double VariantDouble(const QVariant& value);
bool VariantBoolean(const QVariant& value);
QString VariantText(const QVariant& value);
// An array of 32-bit values from a QVector<qint32>, a QVariantList or a
// QStringList of numbers; anything else raises a type mismatch.
QVector<qint32> VariantLongArray(const QVariant& value);
// A list of texts from a string list or a list of variants; anything else
// raises a type mismatch.
QStringList VariantTextArray(const QVariant& value);

}  // namespace corvane
