#pragma once
// A keyed set in insertion order: 1-based positions, optional string keys
// compared without regard to case. Queues, registries, bags and records all
// use it.
#include "platform/VbError.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace platform {

namespace detail {
[[noreturn]] void CollectionMissingKey(const QString& key);
[[noreturn]] void CollectionBadIndex(qsizetype index);
[[noreturn]] void CollectionDuplicateKey(const QString& key);
}  // namespace detail

template <class T>
class Collection {
public:
    qsizetype Count() const { return static_cast<qsizetype>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }

    // before/after are 1-based positions (0 = not given); at most one may be set.
    void Add(T value, const QString& key = QString(), qsizetype before = 0, qsizetype after = 0)
    {
        const QString folded = key.toCaseFolded();
        if (!key.isEmpty() && index_.contains(folded))
            detail::CollectionDuplicateKey(key);
        qsizetype at = Count();
        if (before > 0) {
            checkIndex(before);
            at = before - 1;
        } else if (after > 0) {
            checkIndex(after);
            at = after;
        }
        auto node = std::make_shared<Node>(Node{key, std::move(value)});
        items_.insert(items_.begin() + at, node);
        if (!key.isEmpty())
            index_.insert(folded, node);
    }

    bool Exists(const QString& key) const { return !key.isEmpty() && index_.contains(key.toCaseFolded()); }

    T& Item(qsizetype index) { checkIndex(index); return items_[index - 1]->value; }
    const T& Item(qsizetype index) const { checkIndex(index); return items_[index - 1]->value; }
    T& Item(const QString& key) { return nodeFor(key).value; }
    const T& Item(const QString& key) const { return nodeFor(key).value; }

    // The key an element was added with ("" when none).
    QString KeyAt(qsizetype index) const { checkIndex(index); return items_[index - 1]->key; }
    // 1-based position of a key, 0 when absent.
    qsizetype IndexOf(const QString& key) const
    {
        auto it = index_.constFind(key.toCaseFolded());
        if (key.isEmpty() || it == index_.constEnd())
            return 0;
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == *it)
                return static_cast<qsizetype>(i) + 1;
        return 0;
    }

    void Remove(qsizetype index)
    {
        checkIndex(index);
        auto node = items_[index - 1];
        if (!node->key.isEmpty())
            index_.remove(node->key.toCaseFolded());
        items_.erase(items_.begin() + (index - 1));
    }
    void Remove(const QString& key)
    {
        const qsizetype at = IndexOf(key);
        if (at == 0)
            detail::CollectionMissingKey(key);
        Remove(at);
    }
    void Clear()
    {
        items_.clear();
        index_.clear();
    }

    QStringList Keys() const
    {
        QStringList out;
        for (auto& n : items_)
            out << n->key;
        return out;
    }

    // Range-for over values, in order.
    class iterator {
    public:
        using Inner = typename std::vector<std::shared_ptr<typename Collection::Node>>::const_iterator;
        explicit iterator(Inner it) : it_(it) {}
        T& operator*() const { return (*it_)->value; }
        iterator& operator++() { ++it_; return *this; }
        bool operator!=(const iterator& o) const { return it_ != o.it_; }
    private:
        Inner it_;
    };
    iterator begin() const { return iterator(items_.cbegin()); }
    iterator end() const { return iterator(items_.cend()); }

private:
    struct Node {
        QString key;
        T value;
    };
    void checkIndex(qsizetype index) const
    {
        if (index < 1 || index > Count())
            detail::CollectionBadIndex(index);
    }
    Node& nodeFor(const QString& key) const
    {
        auto it = index_.constFind(key.toCaseFolded());
        if (key.isEmpty() || it == index_.constEnd())
            detail::CollectionMissingKey(key);
        return **it;
    }

    std::vector<std::shared_ptr<Node>> items_;
    QHash<QString, std::shared_ptr<Node>> index_;
};

}  // namespace platform
