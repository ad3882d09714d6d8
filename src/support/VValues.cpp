#include "support/VValues.h"

#include <algorithm>
#include <utility>

Pair::Pair(const QString &key, const QString &value)
    : m_key(key), m_text(value)
{
}

Pair::Pair(const QString &key, VValuesPtr list)
    : m_key(key), m_list(std::move(list))
{
}

void Pair::SetValue(const QString &value)
{
    m_text = value;
    m_list.reset();
}

void Pair::SetValue(VValuesPtr list)
{
    m_list = std::move(list);
    m_text.clear();
}

namespace {

constexpr size_t SmallestTable = 16;

// Folds letter case code point by code point, as QString::compare does when
// ignoring case, so keys that compare equal hash alike.
size_t caseBlindHash(QStringView key)
{
    size_t hash = 14695981039346656037u;
    for (qsizetype i = 0; i < key.size(); ++i) {
        char32_t c = key[i].unicode();
        if (c < 0x80) {
            if (c >= u'A' && c <= u'Z')
                c += u'a' - u'A';
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < key.size() && key[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), key[++i].unicode());
            c = QChar::toCaseFolded(c);
        }
        hash = (hash ^ c) * 1099511628211u;
    }
    return hash;
}

bool sameKey(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString JoinedComments(const QString &first, const QString &second)
{
    if (first.isEmpty())
        return second;
    if (second.isEmpty())
        return first;
    return first + u' ' + second;
}

void VValues::Clear()
{
    m_pairs.clear();
    m_trailingComment.clear();
    // A list refilled for every rule keeps its table; one that once held a
    // huge rule lets it go.
    if (m_slots.size() > 64 * SmallestTable)
        m_slots.clear();
    else
        std::fill(m_slots.begin(), m_slots.end(), Slot());
}

bool VValues::Exists(QStringView key) const
{
    return positionOf(key) >= 0;
}

Pair &VValues::Add(const QString &value, const QString &key)
{
    return addOrUpdate(Pair(key, value));
}

Pair &VValues::Add(VValuesPtr list, const QString &key)
{
    return addOrUpdate(Pair(key, std::move(list)));
}

Pair &VValues::Append(const QString &value, const QString &key)
{
    return append(Pair(key, value));
}

void VValues::Set(const QString &value, const QString &key)
{
    if (value.isEmpty()) {
        Remove(key);
        return;
    }
    const int last = positionOf(key);
    if (last < 0) {
        append(Pair(key, value));
        return;
    }
    Pair &pair = m_pairs[size_t(last)];
    // Editors write back every field they show; an unchanged one must leave
    // the fallbacks in front of it.
    if (!pair.IsList() && pair.Value() == value)
        return;
    pair.SetValue(value);
    dropChain(key, last);
}

Pair &VValues::Item(const QString &key)
{
    // A missing key gets an empty pair rather than undefined behaviour.
    if (Pair *pair = Find(key))
        return *pair;
    return Add(QString(), key);
}

const Pair &VValues::Item(const QString &key) const
{
    static const Pair missing{QString(), QString()};
    const Pair *pair = Find(key);
    return pair ? *pair : missing;
}

Pair *VValues::Find(QStringView key)
{
    const int position = positionOf(key);
    return position < 0 ? nullptr : &m_pairs[size_t(position)];
}

const Pair *VValues::Find(QStringView key) const
{
    const int position = positionOf(key);
    return position < 0 ? nullptr : &m_pairs[size_t(position)];
}

void VValues::Remove(QStringView key)
{
    if (Exists(key))
        dropChain(key.toString(), -1);
}

void VValues::dropChain(QString key, int keep)
{
    QString carried; // comments of dropped pairs, for the next pair kept
    size_t kept = 0;
    for (size_t position = 0; position < m_pairs.size(); ++position) {
        Pair &pair = m_pairs[position];
        if (int(position) != keep && sameKey(pair.Key(), key)) {
            carried = JoinedComments(carried, pair.Comment());
            continue;
        }
        if (!carried.isEmpty())
            pair.SetComment(JoinedComments(std::exchange(carried, QString()), pair.Comment()));
        if (kept != position)
            m_pairs[kept] = std::move(pair);
        ++kept;
    }
    m_pairs.erase(m_pairs.begin() + qsizetype(kept), m_pairs.end());
    m_trailingComment = JoinedComments(carried, m_trailingComment);
    reindex();
}

int VValues::positionOf(QStringView key) const
{
    return positionOf(key, caseBlindHash(key));
}

int VValues::positionOf(QStringView key, size_t hash) const
{
    return m_slots.empty() ? -1 : m_slots[slotOf(key, hash)].position;
}

size_t VValues::slotOf(QStringView key, size_t hash) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot &slot = m_slots[at];
        if (slot.position < 0 || (slot.hash == hash && sameKey(m_pairs[size_t(slot.position)].Key(), key)))
            return at;
    }
}

// A later pair of a chain takes over its key's slot, so the slot always
// holds the chain's last pair.
void VValues::index(int position, size_t hash)
{
    m_slots[slotOf(m_pairs[size_t(position)].Key(), hash)] = Slot{hash, position};
}

void VValues::reindex()
{
    size_t size = SmallestTable;
    while (size < 2 * m_pairs.size())
        size *= 2;
    m_slots.assign(size, Slot());
    for (size_t position = 0; position < m_pairs.size(); ++position)
        index(int(position), caseBlindHash(m_pairs[position].Key()));
}

Pair &VValues::addOrUpdate(Pair pair)
{
    Pair *present = Find(pair.Key());
    if (!present)
        return append(std::move(pair));
    if (pair.IsList())
        present->SetValue(pair.List());
    else
        present->SetValue(pair.Value());
    return *present;
}

Pair &VValues::append(Pair pair)
{
    const size_t hash = caseBlindHash(pair.Key());
    m_pairs.push_back(std::move(pair));
    if (m_slots.size() < 2 * m_pairs.size())
        reindex();
    else
        index(int(m_pairs.size() - 1), hash);
    return m_pairs.back();
}
