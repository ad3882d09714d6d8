#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class VValues;
using VValuesPtr = std::shared_ptr<VValues>;

// One entry of a VValues: a key and either a text value or a shared nested list.
class Pair
{
public:
    Pair(const QString &key, const QString &value);
    Pair(const QString &key, VValuesPtr list);

    const QString &Key() const { return m_key; }

    // The text value; empty when the value is a nested list.
    const QString &Value() const { return m_text; }
    // The nested list, or null when the value is text.
    const VValuesPtr &List() const { return m_list; }
    bool IsList() const { return m_list != nullptr; }

    void SetValue(const QString &value);
    void SetValue(VValuesPtr list);

    // The comments that stood in front of the declaration, "/*" and "*/"
    // included, as they stood; empty for none.
    const QString &Comment() const { return m_comment; }
    void SetComment(const QString &comment) { m_comment = comment; }

private:
    QString m_key;
    QString m_text;
    VValuesPtr m_list;
    QString m_comment;
};

// Two runs of comments kept together, one blank between them.
QString JoinedComments(const QString &first, const QString &second);

// Keyed list of pairs. Keeps insertion order; keys compare ignoring letter case.
// A key may stand on several pairs, a chain: a rule repeats a property so that
// a browser not knowing the later value falls back on an earlier one. Lookups
// see the chain's last pair, the one a browser uses. Lookups are hashed, so filling a list of n pairs
// costs O(n); the hash folds letter case as it goes, so no lookup builds a
// string.
class VValues
{
public:
    using const_iterator = std::vector<Pair>::const_iterator;
    using iterator = std::vector<Pair>::iterator;

    void Clear();
    bool Exists(QStringView key) const;
    // Appends a pair; a key already present gets the new value in place instead
    // (on the last pair of its chain, keeping its spelling).
    Pair &Add(const QString &value, const QString &key);
    Pair &Add(VValuesPtr list, const QString &key);
    // Appends a pair even when the key is present, making or lengthening its
    // chain.
    Pair &Append(const QString &value, const QString &key);
    // Gives key the value, as an editor changing one property does: the same
    // value as the chain's last leaves the chain alone; another value replaces
    // the chain at its last pair's place; an empty value removes the chain.
    void Set(const QString &value, const QString &key);
    // The pair under key, the last of its chain; the key must exist.
    Pair &Item(const QString &key);
    const Pair &Item(const QString &key) const;
    // The pair under key, the last of its chain, or null.
    Pair *Find(QStringView key);
    const Pair *Find(QStringView key) const;
    int Count() const { return int(m_pairs.size()); }
    // Removes every pair under key. Their comments move on to the next pair
    // kept, or to the trailing comment.
    void Remove(QStringView key);

    // The comments after the last declaration; emptied by Clear.
    const QString &TrailingComment() const { return m_trailingComment; }
    void SetTrailingComment(const QString &comment) { m_trailingComment = comment; }

    iterator begin() { return m_pairs.begin(); }
    iterator end() { return m_pairs.end(); }
    const_iterator begin() const { return m_pairs.begin(); }
    const_iterator end() const { return m_pairs.end(); }

private:
    struct Slot
    {
        size_t hash = 0;
        int position = -1; // in m_pairs; -1: empty
    };

    // Position of the last pair under key, or -1.
    int positionOf(QStringView key) const;
    int positionOf(QStringView key, size_t hash) const;
    // The slot holding key, or the empty slot where it belongs.
    size_t slotOf(QStringView key, size_t hash) const;
    void index(int position, size_t hash);
    void reindex();
    Pair &addOrUpdate(Pair pair);
    Pair &append(Pair pair);
    // Erases the pairs under key but the one at keep (-1: all of them). The
    // key is a copy, as it may be one of the erased pairs' own.
    void dropChain(QString key, int keep);

    std::vector<Pair> m_pairs;
    QString m_trailingComment;
    // One slot per key, holding its chain's last pair. Open addressing with
    // linear probing, at most half full; its size is a power of two.
    std::vector<Slot> m_slots;
};
