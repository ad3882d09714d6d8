#include "app/StylesheetTree.h"

EntryPath EntryPath::parent() const
{
    EntryPath up = *this;
    up.m_rows.removeLast();
    return up;
}

EntryPath EntryPath::child(int row) const
{
    EntryPath down = *this;
    down.m_rows.append(row);
    return down;
}

EntryPath EntryPath::sibling(int row) const
{
    EntryPath beside = *this;
    beside.m_rows.back() = row;
    return beside;
}

Rule::Rule(QString selector, QString declarations, QStringList before, QStringList after)
    : selector(std::move(selector))
    , declarations(std::move(declarations))
    , commentsBefore(std::move(before))
    , commentsAfter(std::move(after))
{
}

Rule::Rule(const Rule &other)
    : kind(other.kind)
    , selector(other.selector)
    , declarations(other.declarations)
    , commentsBefore(other.commentsBefore)
    , commentsAfter(other.commentsAfter)
    , block(other.block ? std::make_unique<RuleBlock>(*other.block) : nullptr)
{
}

Rule &Rule::operator=(const Rule &other)
{
    if (this != &other)
        *this = Rule(other);
    return *this;
}

Rule::~Rule() = default;

Rule Rule::head() const
{
    Rule copy(selector, declarations, commentsBefore, commentsAfter);
    copy.kind = kind;
    return copy;
}

RuleBlock::RuleBlock(const RuleBlock &other)
    : entries(other.entries)
    , endComments(other.endComments)
{
    renumberFrom(0);
}

void RuleBlock::renumberFrom(int first)
{
    for (int row = first; row < int(entries.size()); ++row) {
        if (RuleBlock *inside = entries[size_t(row)].block.get()) {
            inside->parent = this;
            inside->row = row;
        }
    }
}

namespace SavedForm {

QString withLineEnds(QString text, const QString &lineEnd)
{
    if (text.contains(u'\r') || text.contains(u'\n')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
        if (lineEnd != QStringLiteral("\n"))
            text.replace(QStringLiteral("\n"), lineEnd);
    }
    return text;
}

namespace {

QString indented(int depth, const QString &line)
{
    return depth == 0 ? line : QString(2 * depth, u' ') + line;
}

} // namespace

QString headLine(const Rule &entry)
{
    switch (entry.kind) {
    case EntryKind::Statement:
        return entry.selector + u';';
    case EntryKind::Group:
        return entry.selector + QLatin1String(" {");
    case EntryKind::Unknown:
        return entry.selector;
    case EntryKind::Rule:
        break;
    }
    if (!entry.holdsEntries())
        return entry.selector + QLatin1String(" { ") + entry.declarations + QLatin1String(" }");
    if (entry.declarations.isEmpty())
        return entry.selector + QLatin1String(" {");
    return entry.selector + QLatin1String(" { ") + entry.declarations + u';';
}

void writeComments(const QStringList &comments, int depth, const QString &lineEnd,
                   const std::function<void(const QString &)> &write)
{
    for (const QString &comment : comments)
        write(indented(depth, withLineEnds(QStringLiteral("/*") + comment + QStringLiteral("*/"), lineEnd)));
}

void writeEntry(const Rule &entry, int depth, const QString &lineEnd,
                const std::function<void(const QString &)> &write)
{
    writeComments(entry.commentsBefore, depth, lineEnd, write);
    writeBody(entry, depth, lineEnd, write);
    writeComments(entry.commentsAfter, depth, lineEnd, write);
}

void writeBody(const Rule &entry, int depth, const QString &lineEnd,
               const std::function<void(const QString &)> &write)
{
    // Only kept text may hold line breaks of the file it came from.
    const QString head = headLine(entry);
    write(indented(depth, entry.kind == EntryKind::Unknown ? withLineEnds(head, lineEnd) : head));
    if (entry.holdsEntries()) {
        for (const Rule &inside : entry.block->entries)
            writeEntry(inside, depth + 1, lineEnd, write);
        writeComments(entry.block->endComments, depth + 1, lineEnd, write);
        write(indented(depth, QStringLiteral("}")));
    }
}

} // namespace SavedForm
