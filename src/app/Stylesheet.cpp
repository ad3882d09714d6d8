#include "app/Stylesheet.h"

#include "css/CSSTextRead.h"
#include "css/CssTokenizer.h"
#include "css/LineFeed.h"
#include "support/LargePages.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringEncoder>

#include <functional>
#include <iterator>
#include <utility>

namespace {

// A @charset statement and the encoding name it declares (captured).
const QRegularExpression &leadingCharset()
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*@charset\\s*\"([^\"]*)\""),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Text other than blanks and line breaks: a comment read after it may not be
// written ahead of it.
bool holdsText(QStringView text)
{
    for (QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            return true;
    }
    return false;
}

// A copy whose texts no longer refer to the document's store.
Rule ownedCopy(const Rule &held)
{
    const auto own = [](const QString &text) { return QString(text.constData(), text.size()); };
    Rule copy(own(held.selector), own(held.declarations), held.commentsBefore, held.commentsAfter);
    copy.kind = held.kind;
    if (held.block) {
        copy.block = std::make_unique<RuleBlock>();
        copy.block->endComments = held.block->endComments;
        copy.block->entries.reserve(held.block->entries.size());
        for (const Rule &inside : held.block->entries)
            copy.block->entries.push_back(ownedCopy(inside));
        copy.block->renumberFrom(0);
    }
    return copy;
}

// How a reader reports an entry, for telling what a text would read back as.
enum class ReadAs { Nothing, Rule, Statement, Group, NestingRule, Other };

} // namespace

// Builds the tree from what the reader reports: each entry goes to the block
// being read, with the comments that waited for it.
class Stylesheet::TreeBuilder
{
public:
    TreeBuilder(CSSTextRead &reader, RuleBlock &root, StringStore *texts)
        : m_reader(reader), m_block(&root), m_texts(texts)
    {
        m_connections = {
            QObject::connect(&reader, &CSSTextRead::FindSelector,
                             [this](QStringView selector, QStringView declarations) {
                                 add(EntryKind::Rule, selector, declarations);
                             }),
            QObject::connect(&reader, &CSSTextRead::FindStatement,
                             [this](QStringView text) { add(EntryKind::Statement, text, {}); }),
            QObject::connect(&reader, &CSSTextRead::FindUnknown,
                             [this](QStringView text) { add(EntryKind::Unknown, text, {}); }),
            QObject::connect(&reader, &CSSTextRead::BlockStarted,
                             [this](QStringView prelude, bool holdsDeclarations) {
                                 open(prelude, holdsDeclarations);
                             }),
            QObject::connect(&reader, &CSSTextRead::FindDeclarations,
                             [this](QStringView declarations) { addDeclarations(declarations); }),
            QObject::connect(&reader, &CSSTextRead::BlockEnded, [this] { close(); }),
            QObject::connect(&reader, &CSSTextRead::FindRemText,
                             [this](const QString &comment) { addComment(comment); }),
        };
    }
    ~TreeBuilder()
    {
        for (const QMetaObject::Connection &connection : m_connections)
            QObject::disconnect(connection);
    }

    // Whatever still waits when the text ends stays at its end.
    void finish(StylesheetEnd &end)
    {
        end.comments = std::move(m_before);
        end.commentsAfterUnfinished = std::move(m_after);
    }

private:
    QString keep(QStringView text) { return m_texts ? m_texts->keep(text) : text.toString(); }

    Rule &add(EntryKind kind, QStringView text, QStringView declarations)
    {
        Rule &entry = m_block->entries.emplace_back(keep(text), keep(declarations),
                                                    std::exchange(m_before, {}),
                                                    std::exchange(m_after, {}));
        entry.kind = kind;
        return entry;
    }

    void open(QStringView prelude, bool holdsDeclarations)
    {
        Rule &entry = add(holdsDeclarations ? EntryKind::Rule : EntryKind::Group, prelude, {});
        entry.block = std::make_unique<RuleBlock>();
        entry.block->parent = m_block;
        entry.block->row = int(m_block->entries.size()) - 1;
        m_block = entry.block.get();
    }

    void addDeclarations(QStringView declarations)
    {
        QString &held = m_block->parent->entries[size_t(m_block->row)].declarations;
        held = held.isEmpty() ? keep(declarations) : held + u';' + declarations.toString();
    }

    void close()
    {
        m_block->endComments = std::move(m_before) + std::exchange(m_after, {});
        m_before.clear();
        m_block = m_block->parent;
    }

    void addComment(const QString &comment)
    {
        if (holdsText(m_reader.pendingSelector()))
            m_after << comment;
        else
            m_before << comment;
    }

    CSSTextRead &m_reader;
    RuleBlock *m_block;
    StringStore *m_texts;
    QStringList m_before; // comments waiting for the next entry
    QStringList m_after;  // comments read after part of the next entry's selector
    std::vector<QMetaObject::Connection> m_connections;
};

// Each step notes whether it has been done once: the first redo is the change
// itself, made by the caller who already knows what changed; later ones are
// replays that the views must follow.
class Stylesheet::InsertEntries : public QUndoCommand
{
public:
    InsertEntries(Stylesheet *sheet, EntryPath parent, int first, std::vector<Rule> entries)
        : m_sheet(sheet), m_parent(std::move(parent)), m_first(first), m_entries(std::move(entries))
    {
    }
    void redo() override
    {
        m_sheet->insertEntries(m_parent, m_first, m_entries);
        if (std::exchange(m_replay, true))
            emit m_sheet->stepApplied(m_parent.child(m_first), false);
    }
    void undo() override
    {
        m_sheet->removeEntries(m_parent, m_first, int(m_entries.size()));
        emit m_sheet->stepApplied(m_parent.child(m_first), true);
    }

private:
    Stylesheet *m_sheet;
    EntryPath m_parent;
    int m_first;
    std::vector<Rule> m_entries;
    bool m_replay = false;
};

class Stylesheet::RemoveEntry : public QUndoCommand
{
public:
    RemoveEntry(Stylesheet *sheet, EntryPath path)
        : m_sheet(sheet)
        , m_path(std::move(path))
        , m_removed(sheet->rule(m_path))
        , m_endComments(sheet->endCommentsOf(m_path.parent()))
    {
        if (hasNext())
            m_next = sheet->entry(m_path.sibling(m_path.row() + 1)).head();
    }
    void redo() override
    {
        // Deleting an entry never deletes a comment: they go to what follows.
        const QStringList comments = m_removed.commentsBefore + m_removed.commentsAfter;
        if (hasNext()) {
            Rule next = m_next.head();
            next.commentsBefore = comments + next.commentsBefore;
            m_sheet->replaceHead(nextPath(), next);
        } else {
            m_sheet->endCommentsOf(m_path.parent()) = comments + m_endComments;
        }
        m_sheet->removeEntries(m_path.parent(), m_path.row(), 1);
        if (std::exchange(m_replay, true))
            emit m_sheet->stepApplied(m_path, true);
    }
    void undo() override
    {
        m_sheet->insertEntries(m_path.parent(), m_path.row(), {m_removed});
        if (hasNext())
            m_sheet->replaceHead(nextPath(), m_next);
        else
            m_sheet->endCommentsOf(m_path.parent()) = m_endComments;
        emit m_sheet->stepApplied(m_path, false);
    }

private:
    bool hasNext() const { return m_path.row() + 1 < m_sheet->count(m_path.parent()); }
    EntryPath nextPath() const { return m_path.sibling(m_path.row() + 1); }

    Stylesheet *m_sheet;
    EntryPath m_path;
    Rule m_removed;
    Rule m_next;
    QStringList m_endComments;
    bool m_replay = false;
};

class Stylesheet::ReplaceEntry : public QUndoCommand
{
public:
    ReplaceEntry(Stylesheet *sheet, EntryPath path, Rule after, QUndoCommand *parent = nullptr)
        : QUndoCommand(parent)
        , m_sheet(sheet)
        , m_path(std::move(path))
        , m_before(sheet->entry(m_path).head())
        , m_after(std::move(after))
    {
    }
    void redo() override
    {
        m_sheet->replaceHead(m_path, m_after);
        if (std::exchange(m_replay, true))
            emit m_sheet->stepApplied(m_path, false);
    }
    void undo() override
    {
        m_sheet->replaceHead(m_path, m_before);
        emit m_sheet->stepApplied(m_path, false);
    }

private:
    Stylesheet *m_sheet;
    EntryPath m_path;
    Rule m_before;
    Rule m_after;
    bool m_replay = false;
};

// The encoding the next save writes, with the change of a @charset that must
// say it as a step inside: undoing one undoes both.
class Stylesheet::SwitchFormat : public QUndoCommand
{
public:
    SwitchFormat(Stylesheet *sheet, TextFormat after)
        : m_sheet(sheet), m_before(sheet->m_format), m_after(std::move(after))
    {
    }
    void redo() override
    {
        m_sheet->setFormat(m_after);
        QUndoCommand::redo();
    }
    void undo() override
    {
        QUndoCommand::undo();
        m_sheet->setFormat(m_before);
    }

private:
    Stylesheet *m_sheet;
    TextFormat m_before;
    TextFormat m_after;
};

Stylesheet::Stylesheet(QObject *parent)
    : QObject(parent)
    , m_reader(new CSSTextRead(this))
    , m_undo(new QUndoStack(this))
{
    connect(m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

Stylesheet::~Stylesheet() = default;

void Stylesheet::clear()
{
    m_path.clear();
    m_format = TextFormat();
    resetEntries({});
}

bool Stylesheet::load(const QString &path)
{
    TextFile file;
    if (!file.OpenFile(path)) {
        m_error = file.ErrorString();
        return false;
    }
    // The file is open and decoded, so reading it cannot fail any more: the old
    // entries go first, and their memory serves the new ones.
    resetEntries({});
    ReadResult reading;
    reading.root = std::make_unique<RuleBlock>();
    // Room for rules of common length up front: growing the list step by step
    // would move every rule read so far, into fresh memory, each time. The
    // rules' texts are never longer than the file.
    const qint64 fileSize = QFileInfo(path).size();
    std::vector<Rule> &entries = reading.root->entries;
    entries.reserve(size_t(fileSize / 64));
    preferHugePages(entries.data(), entries.capacity() * sizeof(Rule));
    reading.texts = std::make_unique<StringStore>(qsizetype(fileSize));
    {
        TreeBuilder builder(*m_reader, *reading.root, reading.texts.get());
        m_reader->Clear();
        ReadStylesheet(*m_reader, file);
        m_reader->Finish();
        builder.finish(reading.end);
    }
    reading.end.unfinished = m_reader->unfinishedText();
    m_reader->Clear();
    if (file.ReadFailed()) {
        clear();
        m_error = file.ErrorString();
        return false;
    }

    m_path = path;
    m_format = file.Format();
    resetEntries(std::move(reading));
    return true;
}

Stylesheet::ReadResult Stylesheet::read(QStringView text)
{
    ReadResult reading;
    reading.root = std::make_unique<RuleBlock>();
    {
        TreeBuilder builder(*m_reader, *reading.root, nullptr);
        m_reader->Clear();
        m_reader->AddData(text);
        m_reader->Finish();
        builder.finish(reading.end);
    }
    reading.end.unfinished = m_reader->unfinishedText();
    m_reader->Clear();
    return reading;
}

void Stylesheet::forEachLine(const std::function<void(const QString &)> &write) const
{
    const QString &lineEnd = m_format.lineEnd;
    for (const Rule &entry : m_root.entries)
        SavedForm::writeEntry(entry, 0, lineEnd, write);
    SavedForm::writeComments(m_end.comments, 0, lineEnd, write);
    if (!m_end.unfinished.isEmpty()) {
        // An unfinished end keeps its inner line breaks as the file's.
        write(SavedForm::withLineEnds(m_end.unfinished, lineEnd));
    }
    SavedForm::writeComments(m_end.commentsAfterUnfinished, 0, lineEnd, write);
}

bool Stylesheet::encodable() const
{
    // Every Unicode encoding holds any text; only a legacy one needs the pass.
    if (m_format.encoding.startsWith("UTF-") || m_format.encoding.startsWith("utf-"))
        return true;
    QStringEncoder encoder(m_format.encoding.constData());
    if (!encoder.isValid())
        return false;
    forEachLine([&encoder](const QString &line) {
        const QByteArray bytes = encoder.encode(line); // encoding happens only on conversion
    });
    return !encoder.hasError();
}

Stylesheet::SaveResult Stylesheet::save(const QString &path)
{
    if (!encodable()) {
        m_error = TextFile::UnencodableError(m_format.encoding);
        return SaveResult::Unencodable;
    }
    // A text opening with U+FEFF would read back as a byte-order mark and lose
    // it: a mark in front keeps it text.
    TextFormat format = m_format;
    if (opensWithBomCharacter() && format.encoding.toUpper().startsWith("UTF-"))
        format.byteOrderMark = true;
    TextFile file;
    if (!file.CreateFile(path, format)) {
        m_error = file.ErrorString();
        return SaveResult::CannotCreate;
    }
    forEachLine([&file](const QString &line) { file.WriteLine(line); });
    if (!file.Commit()) {
        m_error = file.ErrorString();
        return SaveResult::Failed;
    }
    m_path = path;
    m_undo->setClean();
    return SaveResult::Saved;
}

bool Stylesheet::opensWithBomCharacter() const
{
    constexpr QChar bom(0xFEFF);
    if (!m_root.entries.empty()) {
        const Rule &first = m_root.entries.front();
        return first.commentsBefore.isEmpty() && first.selector.startsWith(bom);
    }
    return m_end.comments.isEmpty() && m_end.unfinished.startsWith(bom);
}

void Stylesheet::convertToUtf8()
{
    TextFormat utf8 = m_format;
    utf8.encoding = "UTF-8";
    utf8.byteOrderMark = false;
    auto *step = new SwitchFormat(this, utf8);
    if (!m_root.entries.empty() && m_root.entries.front().kind == EntryKind::Statement) {
        const Rule &statement = m_root.entries.front();
        const QRegularExpressionMatch charset = leadingCharset().match(statement.selector);
        if (charset.hasMatch()
            && charset.capturedView(1).compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0) {
            Rule truthful = statement.head();
            truthful.selector.replace(charset.capturedStart(1), charset.capturedLength(1),
                                      QStringLiteral("UTF-8"));
            new ReplaceEntry(this, 0, std::move(truthful), step);
        }
    }
    m_undo->push(step);
}

void Stylesheet::setFormat(const TextFormat &format)
{
    m_format = format;
    emit formatChanged();
}

bool Stylesheet::isModified() const
{
    return !m_undo->isClean();
}

int Stylesheet::count(const EntryPath &parent) const
{
    if (!parent.isEmpty() && !entry(parent).holdsEntries())
        return 0;
    return int(const_cast<Stylesheet *>(this)->blockAt(parent).entries.size());
}

bool Stylesheet::exists(const EntryPath &path) const
{
    const RuleBlock *block = &m_root;
    for (int level = 0; level < path.depth(); ++level) {
        if (!block || path.rowAt(level) >= int(block->entries.size()))
            return false;
        block = block->entries[size_t(path.rowAt(level))].block.get();
    }
    return true;
}

const Rule &Stylesheet::entry(const EntryPath &path) const
{
    return const_cast<Stylesheet *>(this)->entryAt(path);
}

Rule Stylesheet::rule(const EntryPath &path) const
{
    return ownedCopy(entry(path));
}

QString Stylesheet::ruleText(const EntryPath &path) const
{
    return SavedForm::headLine(entry(path));
}

QString Stylesheet::savedText(const EntryPath &path) const
{
    QStringList lines;
    SavedForm::writeBody(entry(path), 0, QStringLiteral("\n"),
                          [&lines](const QString &line) { lines << line; });
    return lines.join(u'\n');
}

EntryPath Stylesheet::appendRule(const EntryPath &parent, const QString &selector,
                                 const QString &declarations)
{
    const int row = count(parent);
    std::vector<Rule> entries;
    entries.emplace_back(selector, declarations);
    m_undo->push(new InsertEntries(this, parent, row, std::move(entries)));
    return parent.child(row);
}

int Stylesheet::paste(QStringView text)
{
    // Comments after the last pasted entry and an unfinished end are dropped.
    std::vector<Rule> entries = std::move(read(text).root->entries);
    const int added = int(entries.size());
    if (added > 0)
        m_undo->push(new InsertEntries(this, EntryPath(), count(), std::move(entries)));
    return added;
}

bool Stylesheet::canRename(const EntryPath &path, const QString &text) const
{
    const Rule &held = entry(path);
    if (text.isEmpty() || held.kind == EntryKind::Unknown)
        return false;
    // Nothing in the name may end or open a block, end a statement or stay open.
    CssTokenizer tokens(CssTokenizer::Semicolons);
    if (tokens.next(text, 0).stop != CssTokenizer::Stop::None || !tokens.atTopLevel())
        return false;

    // The name must read back as the same kind of entry where it stands.
    const bool nested = path.depth() > 1 && entry(path.parent()).kind == EntryKind::Rule;
    const QString sample = held.kind == EntryKind::Statement ? text + u';' : text + QLatin1String(" {}");
    QList<ReadAs> events;
    CSSTextRead reader;
    connect(&reader, &CSSTextRead::FindSelector, &reader, [&events] { events << ReadAs::Rule; });
    connect(&reader, &CSSTextRead::FindStatement, &reader, [&events] { events << ReadAs::Statement; });
    connect(&reader, &CSSTextRead::BlockStarted, &reader, [&events](QStringView, bool holdsDeclarations) {
        events << (holdsDeclarations ? ReadAs::NestingRule : ReadAs::Group);
    });
    connect(&reader, &CSSTextRead::FindUnknown, &reader, [&events] { events << ReadAs::Other; });
    connect(&reader, &CSSTextRead::FindRemText, &reader, [&events] { events << ReadAs::Other; });
    reader.AddData(nested ? QLatin1String("a{") + sample + u'}' : sample);
    reader.Finish();
    if (nested) {
        if (events.size() < 2 || events.front() != ReadAs::NestingRule)
            return false;
        events.removeFirst();
    }
    const ReadAs expected = held.kind == EntryKind::Statement ? ReadAs::Statement
        : held.kind == EntryKind::Group                       ? ReadAs::Group
                                                              : ReadAs::Rule;
    return !events.isEmpty() && events.front() == expected && !events.contains(ReadAs::Other)
        && reader.unfinishedText().isEmpty();
}

bool Stylesheet::rename(const EntryPath &path, const QString &text)
{
    if (!canRename(path, text))
        return false;
    if (text != entry(path).selector) {
        Rule renamed = entry(path).head();
        renamed.selector = text;
        m_undo->push(new ReplaceEntry(this, path, std::move(renamed)));
    }
    return true;
}

bool Stylesheet::setDeclarations(const EntryPath &path, const QString &declarations)
{
    if (declarations == entry(path).declarations)
        return false;
    Rule changed = entry(path).head();
    changed.declarations = declarations;
    m_undo->push(new ReplaceEntry(this, path, std::move(changed)));
    return true;
}

void Stylesheet::remove(const EntryPath &path)
{
    m_undo->push(new RemoveEntry(this, path));
}

RuleBlock &Stylesheet::blockAt(const EntryPath &parent)
{
    RuleBlock *block = &m_root;
    for (int level = 0; level < parent.depth(); ++level)
        block = block->entries[size_t(parent.rowAt(level))].block.get();
    return *block;
}

Rule &Stylesheet::entryAt(const EntryPath &path)
{
    return blockAt(path.parent()).entries[size_t(path.row())];
}

QStringList &Stylesheet::endCommentsOf(const EntryPath &parent)
{
    return parent.isEmpty() ? m_end.comments : blockAt(parent).endComments;
}

void Stylesheet::resetEntries(ReadResult read)
{
    emit aboutToReset();
    if (read.root)
        m_root.entries = std::move(read.root->entries);
    else
        m_root.entries.clear();
    m_root.renumberFrom(0);
    // The old texts go only once no entry refers to them.
    const std::unique_ptr<StringStore> oldTexts = std::exchange(m_texts, std::move(read.texts));
    m_end = std::move(read.end);
    emit wasReset();
    m_undo->clear();
}

void Stylesheet::insertEntries(const EntryPath &parent, int first, std::vector<Rule> entries)
{
    RuleBlock &block = blockAt(parent);
    emit entriesAboutToBeInserted(parent, first, first + int(entries.size()) - 1);
    block.entries.insert(block.entries.begin() + first, std::make_move_iterator(entries.begin()),
                         std::make_move_iterator(entries.end()));
    block.renumberFrom(first);
    emit entriesInserted();
}

void Stylesheet::removeEntries(const EntryPath &parent, int first, int count)
{
    RuleBlock &block = blockAt(parent);
    emit entriesAboutToBeRemoved(parent, first, first + count - 1);
    block.entries.erase(block.entries.begin() + first, block.entries.begin() + first + count);
    block.renumberFrom(first);
    emit entriesRemoved();
}

void Stylesheet::replaceHead(const EntryPath &path, const Rule &head)
{
    Rule &held = entryAt(path);
    held.kind = head.kind;
    held.selector = head.selector;
    held.declarations = head.declarations;
    held.commentsBefore = head.commentsBefore;
    held.commentsAfter = head.commentsAfter;
    emit entryChanged(path);
}

