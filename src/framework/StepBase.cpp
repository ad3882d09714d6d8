#include "framework/StepBase.h"

#include <QSet>

#include <algorithm>

namespace {

QString foldKey(const QString &key)
{
    return key.toCaseFolded();
}

} // namespace

StepItemPtr StepItems::Add(const QString &sTit, const QString &sCtl, const QString &Key)
{
    auto item = std::make_shared<StepItem>();
    item->Title = sTit;
    item->ctlName = sCtl;
    return append(item, Key) ? item : nullptr;
}

bool StepItems::AddObj(const StepItemPtr &si, const QString &Key)
{
    return si && append(si, Key);
}

bool StepItems::Exist(const QString &vn) const
{
    return !vn.isEmpty() && std::find(m_keys.begin(), m_keys.end(), foldKey(vn)) != m_keys.end();
}

StepItemPtr StepItems::Item(int position) const
{
    if (position < 1 || position > Count())
        return nullptr;
    return m_items[size_t(position - 1)];
}

StepItemPtr StepItems::Item(const QString &key) const
{
    if (key.isEmpty())
        return nullptr;
    const auto found = std::find(m_keys.begin(), m_keys.end(), foldKey(key));
    return found == m_keys.end() ? nullptr : m_items[size_t(found - m_keys.begin())];
}

bool StepItems::Remove(int position)
{
    if (position < 1 || position > Count())
        return false;
    m_items.erase(m_items.begin() + (position - 1));
    m_keys.erase(m_keys.begin() + (position - 1));
    return true;
}

bool StepItems::Remove(const QString &key)
{
    if (key.isEmpty())
        return false;
    const auto found = std::find(m_keys.begin(), m_keys.end(), foldKey(key));
    if (found == m_keys.end())
        return false;
    return Remove(int(found - m_keys.begin()) + 1);
}

void StepItems::Clear()
{
    m_items.clear();
    m_keys.clear();
}

bool StepItems::append(const StepItemPtr &si, const QString &key)
{
    if (Exist(key))
        return false;
    m_items.push_back(si);
    m_keys.push_back(foldKey(key));
    si->Key = key;
    si->Index = Count();
    return true;
}

StepBase::StepBase(QObject *parent)
    : QObject(parent)
{
}

bool StepBase::GetDatas(VValues &vvsData) const
{
    return MergeValues(m_values, vvsData);
}

bool StepBase::SetDatas(const VValues &vvsData)
{
    return MergeValues(vvsData, m_values);
}

void StepBase::DoApply()
{
    emit Apply();
}

bool MergeValues(const VValues &source, VValues &destination)
{
    QSet<QString> copied; // folded keys of the plain values copied so far
    for (const Pair &pair : source) {
        if (pair.IsList()) {
            Pair *present = destination.Find(pair.Key());
            if (!present)
                present = &destination.Add(std::make_shared<VValues>(), pair.Key());
            if (!present->IsList() || !MergeValues(*pair.List(), *present->List()))
                return false;
        } else if (copied.contains(foldKey(pair.Key()))) {
            // The rest of a chain follows its first pair, so it copies whole.
            destination.Append(pair.Value(), pair.Key());
        } else {
            copied.insert(foldKey(pair.Key()));
            destination.Set(pair.Value(), pair.Key());
        }
    }
    return true;
}
