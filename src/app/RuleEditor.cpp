#include "app/RuleEditor.h"

#include "app/Stylesheet.h"
#include "css/modCSSFns.h"
#include "support/VValues.h"

#include <QUndoStack>

namespace {

const QString newRuleSelector = QStringLiteral(".NewItem");

// The first rule of the block at path, in file order, or the empty path.
EntryPath firstRuleIn(const RuleBlock &block, const EntryPath &path)
{
    for (int row = 0; row < int(block.entries.size()); ++row) {
        const Rule &entry = block.entries[size_t(row)];
        if (entry.kind == EntryKind::Rule)
            return path.child(row);
        if (entry.holdsEntries()) {
            const EntryPath inside = firstRuleIn(*entry.block, path.child(row));
            if (!inside.isEmpty())
                return inside;
        }
    }
    return {};
}

// Declarations in the form the pages would write them back, to tell a real
// edit from a mere reformatting of what the rule already says.
QString normalisedDeclarations(const QString &declarations)
{
    VValues values;
    ParseDeclarations(values, declarations);
    return FormatDeclarations(values);
}

} // namespace

RuleEditor::RuleEditor(Stylesheet &document, VValues &values, PageHostPort &pages, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_values(values)
    , m_pages(pages)
{
    connect(&document, &Stylesheet::stepApplied, this, &RuleEditor::showStep);
}

bool RuleEditor::editsDeclarations() const
{
    return hasCurrent() && m_document.entry(m_current).kind == EntryKind::Rule;
}

// After an undo or redo: the entry the step changed, or, when it removed
// entries, the current one where it is left untouched.
void RuleEditor::showStep(const EntryPath &path, bool removed)
{
    if (removed && hasCurrent() && !followsRemoval(path))
        show(m_current);
    else
        show(nearestTo(path));
}

// Whether the current entry was removed or moved by entries taken out at path.
bool RuleEditor::followsRemoval(const EntryPath &path) const
{
    const int level = path.depth() - 1;
    if (m_current.depth() <= level)
        return false;
    for (int up = 0; up < level; ++up) {
        if (m_current.rowAt(up) != path.rowAt(up))
            return false;
    }
    return m_current.rowAt(level) >= path.row();
}

bool RuleEditor::select(const EntryPath &path)
{
    if (hasCurrent()) {
        if (!commit())
            return false;
    } else {
        if (!m_pages.commitPage())
            return false;
        keepValuesAsNewRule();
    }
    show(path);
    return true;
}

void RuleEditor::show(const EntryPath &path)
{
    if (path.isEmpty()) {
        showNothing();
        return;
    }
    m_current = path;
    emit currentChanged(path);
    emit statusTextChanged(m_document.ruleText(path));
    m_values.Clear();
    const bool rule = editsDeclarations();
    if (rule)
        ParseDeclarations(m_values, m_document.entry(path).declarations);
    m_pages.setPagesEnabled(rule);
    m_pages.showPage();
}

void RuleEditor::showNothing()
{
    m_current = EntryPath();
    emit currentChanged(m_current);
    m_values.Clear();
    m_pages.setPagesEnabled(true);
    m_pages.showPage();
}

// A stylesheet opening with @charset or @import is there for its rules.
void RuleEditor::showFirst()
{
    const EntryPath rule = firstRuleIn(m_document.root(), {});
    show(!rule.isEmpty() ? rule : m_document.count() > 0 ? EntryPath(0) : EntryPath());
}

void RuleEditor::pageLeft()
{
    if (hasCurrent()) {
        if (!editsDeclarations())
            return;
        storeValues();
    } else {
        const EntryPath added = keepValuesAsNewRule();
        if (added.isEmpty())
            return;
        // The new rule already holds the values: showing it commits nothing new.
        show(added);
    }
    emit statusTextChanged(m_document.ruleText(m_current));
}

EntryPath RuleEditor::keepValuesAsNewRule()
{
    const QString declarations = FormatDeclarations(m_values);
    // Nothing typed on a new or emptied stylesheet is no rule.
    if (declarations.isEmpty())
        return {};
    return m_document.appendRule({}, newRuleSelector, declarations);
}

bool RuleEditor::commit()
{
    if (!editsDeclarations())
        return true;
    if (!m_pages.commitPage())
        return false;
    storeValues();
    return true;
}

void RuleEditor::storeValues()
{
    const QString declarations = FormatDeclarations(m_values);
    const QString &stored = m_document.entry(m_current).declarations;
    // Keep the text as read unless the declarations really changed.
    if (declarations == stored || declarations == normalisedDeclarations(stored))
        return;
    m_document.setDeclarations(m_current, declarations);
}

bool RuleEditor::collectPendingEdits()
{
    if (hasCurrent() && !editsDeclarations())
        return true;
    // The same as leaving the page's tab: the page commits, then it is left.
    if (!m_pages.commitPage())
        return false;
    pageLeft();
    return true;
}

void RuleEditor::newRule()
{
    if (!commit())
        return;
    const EntryPath holder = hasCurrent() ? m_current.parent() : EntryPath();
    show(m_document.appendRule(holder, newRuleSelector, QString()));
}

void RuleEditor::deleteCurrent(EntryPath next)
{
    if (!hasCurrent())
        return;
    const EntryPath removed = m_current;
    m_current = EntryPath();
    // The deleted entry's values are gone with it: nothing to commit.
    m_document.remove(removed);
    if (next.isEmpty() || next == removed) {
        next = nearestTo(removed);
    } else if (next.depth() == removed.depth() && next.parent() == removed.parent()
               && next.row() > removed.row()) {
        next = next.sibling(next.row() - 1); // it moved up into the gap
    }
    show(next);
}

void RuleEditor::undo()
{
    // Edits still on the page become a step of their own first, then that is undone.
    if (collectPendingEdits())
        m_document.undoStack()->undo();
}

void RuleEditor::redo()
{
    if (collectPendingEdits())
        m_document.undoStack()->redo();
}

// The entry now at path, else the one before it in its block, else the
// block's own entry.
EntryPath RuleEditor::nearestTo(EntryPath path) const
{
    while (!path.isEmpty()) {
        const EntryPath parent = path.parent();
        if (parent.isEmpty() || m_document.exists(parent)) {
            const int count = m_document.count(parent);
            if (count > 0)
                return path.sibling(qMin(path.row(), count - 1));
            return parent;
        }
        path = parent;
    }
    return {};
}
