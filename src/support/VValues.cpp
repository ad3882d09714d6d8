#include "support/VValues.h"

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

void VValues::Clear()
{
    m_pairs.clear();
    m_index.clear();
}

bool VValues::Exists(const QString &key) const
{
    return m_index.contains(foldKey(key));
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

Pair *VValues::Find(const QString &key)
{
    const auto found = m_index.constFind(foldKey(key));
    return found == m_index.cend() ? nullptr : &m_pairs[size_t(*found)];
}

const Pair *VValues::Find(const QString &key) const
{
    const auto found = m_index.constFind(foldKey(key));
    return found == m_index.cend() ? nullptr : &m_pairs[size_t(*found)];
}

void VValues::Remove(const QString &key)
{
    const auto found = m_index.find(foldKey(key));
    if (found == m_index.end())
        return;
    const int position = *found;
    m_index.erase(found);
    m_pairs.erase(m_pairs.begin() + position);
    for (auto &slot : m_index) {
        if (slot > position)
            --slot;
    }
}

QString VValues::foldKey(const QString &key)
{
    return key.toCaseFolded();
}

Pair &VValues::append(Pair pair)
{
    // Two pairs under one folded key would leave the index pointing at only one
    // of them; a repeated Add therefore updates the pair already there.
    const QString folded = foldKey(pair.Key());
    const auto found = m_index.constFind(folded);
    if (found != m_index.cend()) {
        Pair &present = m_pairs[size_t(*found)];
        if (pair.IsList())
            present.SetValue(pair.List());
        else
            present.SetValue(pair.Value());
        return present;
    }
    m_index.insert(folded, int(m_pairs.size()));
    m_pairs.push_back(std::move(pair));
    return m_pairs.back();
}
