#include "colour/DlgReturn.h"

#include <utility>

QString DlgReturn::Value(const QString &key) const
{
    const Pair *pair = m_store.Find(key);
    return pair ? pair->Value() : QString();
}

VValuesPtr DlgReturn::List(const QString &key) const
{
    const Pair *pair = m_store.Find(key);
    return pair ? pair->List() : nullptr;
}

void DlgReturn::SetValue(const QString &key, const QString &value)
{
    if (Pair *pair = m_store.Find(key))
        pair->SetValue(value);
    else
        m_store.Add(value, key);
}

void DlgReturn::SetValue(const QString &key, VValuesPtr list)
{
    if (Pair *pair = m_store.Find(key))
        pair->SetValue(std::move(list));
    else
        m_store.Add(std::move(list), key);
}
