#pragma once

#include "app/StylesheetTree.h"

#include <QObject>
#include <QString>

class Stylesheet;
class VValues;

// What the rule editor needs of the page host.
class PageHostPort
{
public:
    virtual ~PageHostPort() = default;
    // The visible page writes its controls into the values; false when it
    // refuses to be left.
    virtual bool commitPage() = 0;
    // The visible page shows the values again.
    virtual void showPage() = 0;
    // The pages edit declarations only while a rule, or nothing, is current.
    virtual void setPagesEnabled(bool enabled) = 0;
};

// Owns the current entry: which one it is, its declarations in the values the
// pages edit, and the order of things around it: the page's edits go into the
// entry being left before another is shown, before a new rule, a delete, an
// undo or a redo.
class RuleEditor : public QObject
{
    Q_OBJECT

public:
    RuleEditor(Stylesheet &document, VValues &values, PageHostPort &pages, QObject *parent = nullptr);

    bool hasCurrent() const { return !m_current.isEmpty(); }
    const EntryPath &current() const { return m_current; }

    // The user picked the entry: the visible page's edits go to the entry
    // being left, then the picked one is shown. Picking the current entry
    // commits and reads it back. False, with nothing changed, when the page
    // refuses to be left.
    bool select(const EntryPath &path);
    // The page host reports that its page was left: its edits go to the
    // current rule, or become a new rule when none is current.
    void pageLeft();
    // False when the page refuses to be left.
    bool commit();
    // Before a save, a copy or a close: false when the page refuses to be left.
    bool collectPendingEdits();
    // A ".NewItem" rule at the end of the block holding the current entry.
    void newRule();
    // Shows next afterwards, given as it stands before the removal; by
    // default the entry after the deleted one, or before it, or its block.
    void deleteCurrent(EntryPath next = {});
    void undo();
    void redo();
    // A new or newly loaded stylesheet: its first rule is shown, else its
    // first entry, if any.
    void showFirst();

signals:
    void currentChanged(const EntryPath &path);
    void statusTextChanged(const QString &text);

private:
    void show(const EntryPath &path);
    void showStep(const EntryPath &path, bool removed);
    bool followsRemoval(const EntryPath &path) const;
    void showNothing();
    void storeValues();
    // Values typed while nothing is current become a new rule; its path, or empty.
    EntryPath keepValuesAsNewRule();
    bool editsDeclarations() const;
    // The entry at path, or the nearest one left when it is gone.
    EntryPath nearestTo(EntryPath path) const;

    Stylesheet &m_document;
    VValues &m_values;
    PageHostPort &m_pages;
    EntryPath m_current;
};
