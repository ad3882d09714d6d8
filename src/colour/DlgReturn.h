#pragma once

#include "support/VValues.h"

#include <QString>

// What a modal dialog hands back to its caller: whether the user confirmed it,
// and values stored by key.
class DlgReturn
{
public:
    bool isOK = false;

    // The text under key; empty when the key was never stored or holds a list.
    QString Value(const QString &key) const;
    // The list under key; null when the key was never stored or holds text.
    VValuesPtr List(const QString &key) const;
    // Replaces the value under key, adding the key when it is new.
    void SetValue(const QString &key, const QString &value);
    void SetValue(const QString &key, VValuesPtr list);

private:
    VValues m_store;
};
