#pragma once

#include "support/VValues.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

// One page entry of the model's page list.
struct StepItem
{
    QString Title;        // tab caption
    QString ToolTipText;  // tab tooltip
    QString ctlName;      // page type name the host creates the page from
    QString Key;          // key the entry was added under, or empty
    int Index = 0;        // 1-based position the entry had when it was added
    QPointer<QObject> ctl; // the page the host created, or null
    QString ErrInfo;      // why creating the page failed
};
using StepItemPtr = std::shared_ptr<StepItem>;

// Ordered page list; entries have a 1-based position and an optional unique key
// (compared ignoring letter case). Removing moves later entries down but keeps
// their Index fields.
class StepItems
{
public:
    // Null when Key is already present (the list is unchanged then).
    StepItemPtr Add(const QString &sTit, const QString &sCtl, const QString &Key = QString());
    // False when Key is already present.
    bool AddObj(const StepItemPtr &si, const QString &Key = QString());
    bool Exist(const QString &vn) const;
    // By 1-based position or by key; null when there is no such entry.
    StepItemPtr Item(int position) const;
    StepItemPtr Item(const QString &key) const;
    int Count() const { return int(m_items.size()); }
    // False when there is no such entry.
    bool Remove(int position);
    bool Remove(const QString &key);
    void Clear();

    std::vector<StepItemPtr>::const_iterator begin() const { return m_items.begin(); }
    std::vector<StepItemPtr>::const_iterator end() const { return m_items.end(); }

private:
    bool append(const StepItemPtr &si, const QString &key);

    std::vector<StepItemPtr> m_items;
    std::vector<QString> m_keys; // folded key per entry, empty for none
};

// The property model shared by the main window, the page host and the pages:
// the page list and the values of the rule being edited.
class StepBase : public QObject
{
    Q_OBJECT

public:
    explicit StepBase(QObject *parent = nullptr);

    QString Caption = QStringLiteral("分步设置");
    int StartStep = 1;

    StepItems &Items() { return m_items; }
    const StepItems &Items() const { return m_items; }
    VValues &Values() { return m_values; }
    const VValues &Values() const { return m_values; }

    // Merge-copy Values into vvsData / vvsData into Values. False on a type
    // clash (a nested list over a plain value); pairs copied before it stay.
    bool GetDatas(VValues &vvsData) const;
    bool SetDatas(const VValues &vvsData);
    void DoApply();
    void ShowStep() {}

signals:
    void Apply();

private:
    StepItems m_items;
    VValues m_values;
};

// Copies every pair of source into destination: new keys are appended, present
// keys get the new value as VValues::Set gives it, the rest of a source chain
// is appended after it, nested lists are merged recursively. Returns false when
// destination holds a plain value where source holds a nested list.
bool MergeValues(const VValues &source, VValues &destination);
