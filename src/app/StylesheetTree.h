#pragma once

#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// Where an entry stands in the stylesheet's tree: its row in each block from
// the top. A single row is a top-level entry; the empty path is the top level.
class EntryPath
{
public:
    EntryPath() = default;
    EntryPath(int row) { m_rows.append(row); } // NOLINT: a row is a top-level path
    EntryPath(std::initializer_list<int> rows) : m_rows(rows) {}

    bool isEmpty() const { return m_rows.isEmpty(); }
    int depth() const { return int(m_rows.size()); }
    int row() const { return m_rows.back(); }
    int rowAt(int level) const { return m_rows[level]; }
    EntryPath parent() const;
    EntryPath child(int row) const;
    // The same place with the last row changed.
    EntryPath sibling(int row) const;
    bool operator==(const EntryPath &other) const { return m_rows == other.m_rows; }
    bool operator!=(const EntryPath &other) const { return !(*this == other); }

private:
    QVarLengthArray<int, 4> m_rows;
};

enum class EntryKind : unsigned char {
    Rule,      // a selector (or an at-rule's prelude) with declarations, maybe nested rules
    Statement, // an at-rule ending in ";": @charset, @import, @namespace, @layer
    Group,     // an at-rule holding entries: @media, @supports, @keyframes …
    Unknown,   // text kept exactly as it was read
};

struct RuleBlock;

// One entry of the stylesheet, with the comments that stood around it in the
// file (their text between "/*" and "*/").
struct Rule
{
    Rule() = default;
    Rule(QString selector, QString declarations, QStringList before = {}, QStringList after = {});
    Rule(const Rule &other);
    Rule &operator=(const Rule &other);
    Rule(Rule &&) noexcept = default;
    Rule &operator=(Rule &&) noexcept = default;
    ~Rule();

    bool holdsEntries() const { return block != nullptr; }
    // A copy of the entry's own texts and comments, without what is inside it.
    Rule head() const;

    EntryKind kind = EntryKind::Rule;
    QString selector;     // the selector, the statement or prelude, or the kept text
    QString declarations; // of a rule
    QStringList commentsBefore; // written on lines of their own before the entry
    QStringList commentsAfter;  // read after part of the selector: written right after the entry
    // The entries inside a group, or inside a rule with nested rules.
    std::unique_ptr<RuleBlock> block;
};

// The entries of one block in order. A block stays where it is in memory while
// it lives, so views may point at it; it knows where it stands itself.
struct RuleBlock
{
    RuleBlock() = default;
    RuleBlock(const RuleBlock &other);
    RuleBlock &operator=(const RuleBlock &) = delete;

    std::vector<Rule> entries;
    QStringList endComments; // after the last entry, before the block's "}"
    RuleBlock *parent = nullptr;
    int row = -1; // of the entry holding it, in parent

    // Tells the blocks of entries from first on where they stand.
    void renumberFrom(int first);
};

// The saved form, one entry per line: a rule as "selector { declarations }",
// a statement with its ";", a group's or a nesting rule's head line, then its
// entries indented by two blanks per level, then its closing "}".
namespace SavedForm {
QString headLine(const Rule &entry);
// Each line break the reader saw becomes the file's line end (the writer
// adds the last one).
QString withLineEnds(QString text, const QString &lineEnd);
// The entry with its comments.
void writeEntry(const Rule &entry, int depth, const QString &lineEnd,
                const std::function<void(const QString &)> &write);
// The entry and what is inside it, without the comments around it.
void writeBody(const Rule &entry, int depth, const QString &lineEnd,
               const std::function<void(const QString &)> &write);
void writeComments(const QStringList &comments, int depth, const QString &lineEnd,
                   const std::function<void(const QString &)> &write);
} // namespace SavedForm
