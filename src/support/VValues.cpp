#include "support/VValues.h"

#include <algorithm>

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
    return append(Pair(key, value));
}

Pair &VValues::Add(VValuesPtr list, const QString &key)
{
    return append(Pair(key, std::move(list)));
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
    const int position = positionOf(key);
    if (position < 0)
        return;
    const QString comment = m_pairs[size_t(position)].Comment();
    m_pairs.erase(m_pairs.begin() + position);
    if (size_t(position) < m_pairs.size()) {
        Pair &next = m_pairs[size_t(position)];
        next.SetComment(JoinedComments(comment, next.Comment()));
    } else {
        m_trailingComment = JoinedComments(comment, m_trailingComment);
    }
    reindex();
}

int VValues::positionOf(QStringView key) const
{
    return positionOf(key, caseBlindHash(key));
}

int VValues::positionOf(QStringView key, size_t hash) const
{
    if (m_slots.empty())
        return -1;
    const size_t mask = m_slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot &slot = m_slots[at];
        if (slot.position < 0)
            return -1;
        if (slot.hash == hash && sameKey(m_pairs[size_t(slot.position)].Key(), key))
            return slot.position;
    }
}

void VValues::index(int position, size_t hash)
{
    const size_t mask = m_slots.size() - 1;
    size_t at = hash & mask;
    while (m_slots[at].position >= 0)
        at = (at + 1) & mask;
    m_slots[at] = Slot{hash, position};
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

Pair &VValues::append(Pair pair)
{
    // Two pairs under one key would leave the index pointing at only one of
    // them; a repeated Add therefore updates the pair already there.
    const size_t hash = caseBlindHash(pair.Key());
    if (const int position = positionOf(pair.Key(), hash); position >= 0) {
        Pair *present = &m_pairs[size_t(position)];
        if (pair.IsList())
            present->SetValue(pair.List());
        else
            present->SetValue(pair.Value());
        return *present;
    }
    m_pairs.push_back(std::move(pair));
    if (m_slots.size() < 2 * m_pairs.size())
        reindex();
    else
        index(int(m_pairs.size() - 1), hash);
    return m_pairs.back();
}
