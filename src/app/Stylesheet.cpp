#include "app/Stylesheet.h"

#include "css/CSSTextRead.h"
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

// A leading @charset rule and the encoding name it declares (captured).
const QRegularExpression &leadingCharset()
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*@charset\\s*\"([^\"]*)\"\\s*;"),
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

// A comment as it is written: each line break the reader saw becomes the
// file's line end (TextFile adds the last one).
QString commentLine(const QString &comment, const QString &lineEnd)
{
    QString text = QStringLiteral("/*") + comment + QStringLiteral("*/");
    if (text.contains(u'\r') || text.contains(u'\n')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
        if (lineEnd != QStringLiteral("\n"))
            text.replace(QStringLiteral("\n"), lineEnd);
    }
    return text;
}

} // namespace

// Each step notes whether it has been done once: the first redo is the change
// itself, made by the caller who already knows what changed; later ones are
// replays that the views must follow.
class Stylesheet::InsertRules : public QUndoCommand
{
public:
    InsertRules(Stylesheet *sheet, int first, std::vector<Rule> rules)
        : m_sheet(sheet), m_first(first), m_rules(std::move(rules))
    {
    }
    void redo() override
    {
        m_sheet->insertRules(m_first, m_rules);
        if (std::exchange(m_replay, true))
            emit m_sheet->stepApplied(m_first);
    }
    void undo() override
    {
        m_sheet->removeRules(m_first, int(m_rules.size()));
        emit m_sheet->stepApplied(-1);
    }

private:
    Stylesheet *m_sheet;
    int m_first;
    std::vector<Rule> m_rules;
    bool m_replay = false;
};

class Stylesheet::RemoveRule : public QUndoCommand
{
public:
    RemoveRule(Stylesheet *sheet, int row)
        : m_sheet(sheet), m_row(row), m_removed(sheet->rule(row)), m_end(sheet->end())
    {
        if (row + 1 < sheet->count())
            m_next = sheet->rule(row + 1);
    }
    void redo() override
    {
        // Deleting a rule never deletes a comment: they go to what follows.
        QStringList comments = m_removed.commentsBefore + m_removed.commentsAfter;
        if (m_row + 1 < m_sheet->count()) {
            Rule next = m_next;
            next.commentsBefore = comments + next.commentsBefore;
            m_sheet->replaceRuleBy(m_row + 1, std::move(next));
        } else {
            m_sheet->m_end.comments = comments + m_end.comments;
        }
        m_sheet->removeRules(m_row, 1);
        if (std::exchange(m_replay, true))
            emit m_sheet->stepApplied(-1);
    }
    void undo() override
    {
        m_sheet->insertRules(m_row, {m_removed});
        if (m_row + 1 < m_sheet->count())
            m_sheet->replaceRuleBy(m_row + 1, m_next);
        else
            m_sheet->m_end = m_end;
        emit m_sheet->stepApplied(m_row);
    }

private:
    Stylesheet *m_sheet;
    int m_row;
    Rule m_removed;
    Rule m_next;
    StylesheetEnd m_end;
    bool m_replay = false;
};

class Stylesheet::ReplaceRule : public QUndoCommand
{
public:
    ReplaceRule(Stylesheet *sheet, int row, Rule after)
        : m_sheet(sheet), m_row(row), m_before(sheet->rule(row)), m_after(std::move(after))
    {
    }
    void redo() override
    {
        m_sheet->replaceRuleBy(m_row, m_after);
        if (std::exchange(m_replay, true))
            emit m_sheet->stepApplied(m_row);
    }
    void undo() override
    {
        m_sheet->replaceRuleBy(m_row, m_before);
        emit m_sheet->stepApplied(m_row);
    }

private:
    Stylesheet *m_sheet;
    int m_row;
    Rule m_before;
    Rule m_after;
    bool m_replay = false;
};


Stylesheet::Stylesheet(QObject *parent)
    : QObject(parent)
    , m_reader(new CSSTextRead(this))
    , m_undo(new QUndoStack(this))
{
    connect(m_reader, &CSSTextRead::FindSelector, this,
            [this](QStringView selector, QStringView declarations) {
                StylesheetEnd &pending = m_reading.end;
                StringStore *const texts = m_reading.texts.get();
                m_reading.rules.push_back({texts ? texts->keep(selector) : selector.toString(),
                                           texts ? texts->keep(declarations) : declarations.toString(),
                                           std::move(pending.comments),
                                           std::move(pending.commentsAfterUnfinished)});
                pending.comments.clear();
                pending.commentsAfterUnfinished.clear();
            });
    connect(m_reader, &CSSTextRead::FindRemText, this, &Stylesheet::readComment);
    connect(m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

Stylesheet::~Stylesheet() = default;

void Stylesheet::clear()
{
    m_path.clear();
    m_format = TextFormat();
    resetRules({});
}

bool Stylesheet::load(const QString &path)
{
    TextFile file;
    if (!file.OpenFile(path)) {
        m_error = file.ErrorString();
        return false;
    }
    // The file is open and decoded, so reading it cannot fail any more: the old
    // rules go first, and their memory serves the new ones.
    resetRules({});
    m_reader->Clear();
    m_reading = {};
    // Room for rules of common length up front: growing the list step by step
    // would move every rule read so far, into fresh memory, each time. The
    // rules' texts are never longer than the file.
    const qint64 fileSize = QFileInfo(path).size();
    m_reading.rules.reserve(size_t(fileSize / 64));
    preferHugePages(m_reading.rules.data(), m_reading.rules.capacity() * sizeof(Rule));
    m_reading.texts = std::make_unique<StringStore>(qsizetype(fileSize));
    ReadStylesheet(*m_reader, file);
    m_reading.end.unfinished = m_reader->unfinishedText();
    m_reader->Clear();
    if (file.ReadFailed()) {
        m_reading = {};
        clear();
        m_error = file.ErrorString();
        return false;
    }

    m_path = path;
    m_format = file.Format();
    resetRules(std::exchange(m_reading, {}));
    return true;
}

// While reading, the end of the read holds the comments waiting for the next
// rule; whatever still waits when the text ends stays there.
void Stylesheet::readComment(const QString &comment)
{
    StylesheetEnd &pending = m_reading.end;
    if (holdsText(m_reader->pendingSelector()))
        pending.commentsAfterUnfinished << comment;
    else
        pending.comments << comment;
}

void Stylesheet::forEachLine(const std::function<void(const QString &)> &write) const
{
    const auto writeComments = [&](const QStringList &comments) {
        for (const QString &comment : comments)
            write(commentLine(comment, m_format.lineEnd));
    };
    for (int row = 0; row < count(); ++row) {
        writeComments(m_rules[size_t(row)].commentsBefore);
        write(ruleText(row));
        writeComments(m_rules[size_t(row)].commentsAfter);
    }
    writeComments(m_end.comments);
    if (!m_end.unfinished.isEmpty()) {
        // An unfinished end keeps its inner line breaks as the file's.
        QString unfinished = m_end.unfinished;
        unfinished.replace(QStringLiteral("\r\n"), m_format.lineEnd);
        write(unfinished);
    }
    writeComments(m_end.commentsAfterUnfinished);
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
    TextFile file;
    if (!file.CreateFile(path, m_format)) {
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

void Stylesheet::convertToUtf8()
{
    m_format.encoding = "UTF-8";
    m_format.byteOrderMark = false;
    if (m_rules.empty())
        return;
    const QString &selector = m_rules.front().selector;
    const QRegularExpressionMatch charset = leadingCharset().match(selector);
    if (!charset.hasMatch()
        || charset.capturedView(1).compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0)
        return;
    QString truthful = selector;
    truthful.replace(charset.capturedStart(1), charset.capturedLength(1), QStringLiteral("UTF-8"));
    rename(0, truthful);
}

bool Stylesheet::isModified() const
{
    return !m_undo->isClean();
}

Rule Stylesheet::rule(int row) const
{
    const Rule &held = m_rules[size_t(row)];
    const auto own = [](const QString &text) { return QString(text.constData(), text.size()); };
    return {own(held.selector), own(held.declarations), held.commentsBefore, held.commentsAfter};
}

QString Stylesheet::ruleText(int row) const
{
    const Rule &r = m_rules[size_t(row)];
    return r.selector + QLatin1String(" { ") + r.declarations + QLatin1String(" }");
}

int Stylesheet::appendRule(const QString &selector, const QString &declarations)
{
    const int row = count();
    m_undo->push(new InsertRules(this, row, {{selector, declarations, {}, {}}}));
    return row;
}

int Stylesheet::paste(QStringView text)
{
    // Comments after the last pasted rule and an unfinished end are dropped.
    std::vector<Rule> rules = read(text).rules;
    const int added = int(rules.size());
    if (added > 0)
        m_undo->push(new InsertRules(this, count(), std::move(rules)));
    return added;
}

bool Stylesheet::rename(int row, const QString &selector)
{
    if (selector.isEmpty())
        return false;
    if (selector != selectorView(row)) {
        Rule renamed = rule(row);
        renamed.selector = selector;
        m_undo->push(new ReplaceRule(this, row, std::move(renamed)));
    }
    return true;
}

bool Stylesheet::setDeclarations(int row, const QString &declarations)
{
    if (declarations == m_rules[size_t(row)].declarations)
        return false;
    Rule changed = rule(row);
    changed.declarations = declarations;
    m_undo->push(new ReplaceRule(this, row, std::move(changed)));
    return true;
}

void Stylesheet::remove(int row)
{
    m_undo->push(new RemoveRule(this, row));
}

void Stylesheet::resetRules(ReadResult read)
{
    emit aboutToReset();
    m_rules = std::move(read.rules);
    // The old texts go only once no rule refers to them.
    const std::unique_ptr<StringStore> oldTexts = std::exchange(m_texts, std::move(read.texts));
    m_end = std::move(read.end);
    emit wasReset();
    m_undo->clear();
}

void Stylesheet::insertRules(int first, std::vector<Rule> rules)
{
    emit rulesAboutToBeInserted(first, first + int(rules.size()) - 1);
    m_rules.insert(m_rules.begin() + first, std::make_move_iterator(rules.begin()),
                   std::make_move_iterator(rules.end()));
    emit rulesInserted();
}

void Stylesheet::removeRules(int first, int count)
{
    emit rulesAboutToBeRemoved(first, first + count - 1);
    m_rules.erase(m_rules.begin() + first, m_rules.begin() + first + count);
    emit rulesRemoved();
}

void Stylesheet::replaceRuleBy(int row, Rule rule)
{
    m_rules[size_t(row)] = std::move(rule);
    emit ruleChanged(row);
}

Stylesheet::ReadResult Stylesheet::read(QStringView text)
{
    m_reader->Clear();
    m_reading = {};
    m_reader->AddData(text);
    m_reading.end.unfinished = m_reader->unfinishedText();
    m_reader->Clear();
    return std::exchange(m_reading, {});
}
