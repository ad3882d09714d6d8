#include "app/Stylesheet.h"

#include "css/CSSTextRead.h"

#include <QRegularExpression>
#include <QStringEncoder>

#include <iterator>

namespace {

// A leading @charset rule and the encoding name it declares (captured).
const QRegularExpression &leadingCharset()
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*@charset\\s*\"([^\"]*)\"\\s*;"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

bool canEncode(QStringView text, const QByteArray &encoding)
{
    QStringEncoder encoder(encoding.constData());
    if (!encoder.isValid())
        return false;
    const QByteArray bytes = encoder.encode(text); // the proxy encodes only when converted
    return !encoder.hasError();
}

} // namespace

Stylesheet::Stylesheet(QObject *parent)
    : QObject(parent)
    , m_reader(new CSSTextRead(this))
{
    connect(m_reader, &CSSTextRead::FindSelector, this,
            [this](const QString &selector, const QString &declarations) {
                m_readRules.push_back({selector, declarations});
            });
}

Stylesheet::~Stylesheet() = default;

void Stylesheet::clear()
{
    m_path.clear();
    m_format = TextFormat();
    resetRules({});
    setModified(false);
}

bool Stylesheet::load(const QString &path)
{
    TextFile file;
    if (!file.OpenFile(path)) {
        m_error = file.ErrorString();
        return false;
    }
    m_reader->Clear();
    m_readRules.clear();
    QString piece; // one buffer for every line keeps the read loop free of allocations
    while (!file.Eof()) {
        const QStringView line = file.ReadLineView();
        piece.clear();
        piece.append(line);
        piece.append(QLatin1String("\r\n"));
        m_reader->AddData(piece);
    }
    m_reader->Clear();

    m_path = path;
    m_format = file.Format();
    std::vector<Rule> rules;
    rules.swap(m_readRules);
    resetRules(std::move(rules));
    setModified(false);
    return true;
}

Stylesheet::SaveResult Stylesheet::save(const QString &path)
{
    for (const Rule &rule : m_rules) {
        if (!canEncode(rule.selector, m_format.encoding)
            || !canEncode(rule.declarations, m_format.encoding)) {
            m_error = TextFile::UnencodableError(m_format.encoding);
            return SaveResult::Unencodable;
        }
    }
    TextFile file;
    if (!file.CreateFile(path, m_format)) {
        m_error = file.ErrorString();
        return SaveResult::CannotCreate;
    }
    for (int row = 0; row < count(); ++row)
        file.WriteLine(ruleText(row));
    if (!file.Commit()) {
        m_error = file.ErrorString();
        return SaveResult::Failed;
    }
    m_path = path;
    setModified(false);
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

QString Stylesheet::ruleText(int row) const
{
    const Rule &r = rule(row);
    return r.selector + QLatin1String(" { ") + r.declarations + QLatin1String(" }");
}

int Stylesheet::appendRule(const Rule &rule)
{
    const int row = count();
    appendRules({rule});
    return row;
}

int Stylesheet::paste(QStringView text)
{
    std::vector<Rule> rules = read(text);
    const int added = int(rules.size());
    appendRules(std::move(rules));
    return added;
}

bool Stylesheet::rename(int row, const QString &selector)
{
    if (selector.isEmpty())
        return false;
    if (selector == rule(row).selector)
        return true;
    m_rules[size_t(row)].selector = selector;
    emit ruleChanged(row);
    setModified(true);
    return true;
}

bool Stylesheet::setDeclarations(int row, const QString &declarations)
{
    if (declarations == rule(row).declarations)
        return false;
    m_rules[size_t(row)].declarations = declarations;
    emit ruleChanged(row);
    setModified(true);
    return true;
}

void Stylesheet::remove(int row)
{
    emit ruleAboutToBeRemoved(row);
    m_rules.erase(m_rules.begin() + row);
    emit ruleRemoved();
    setModified(true);
}

void Stylesheet::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Stylesheet::resetRules(std::vector<Rule> rules)
{
    emit aboutToReset();
    m_rules = std::move(rules);
    emit wasReset();
}

void Stylesheet::appendRules(std::vector<Rule> rules)
{
    if (rules.empty())
        return;
    const int first = count();
    emit rulesAboutToBeAppended(first, first + int(rules.size()) - 1);
    m_rules.insert(m_rules.end(), std::make_move_iterator(rules.begin()),
                   std::make_move_iterator(rules.end()));
    emit rulesAppended();
    setModified(true);
}

std::vector<Rule> Stylesheet::read(QStringView text)
{
    m_reader->Clear();
    m_readRules.clear();
    m_reader->AddData(text);
    m_reader->Clear();
    std::vector<Rule> rules;
    rules.swap(m_readRules);
    return rules;
}
