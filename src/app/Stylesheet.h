#pragma once

#include "support/StringStore.h"
#include "support/TextFile.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

class CSSTextRead;
class QUndoStack;

// One stylesheet rule: its selector, its declaration text, and the comments
// that stood around it in the file (their text between "/*" and "*/").
struct Rule
{
    QString selector;
    QString declarations;
    QStringList commentsBefore; // written on lines of their own before the rule
    QStringList commentsAfter;  // read after part of the selector: written right after the rule
};

// What a file held after its last complete rule.
struct StylesheetEnd
{
    QStringList comments;             // written after the last rule
    QString unfinished;               // an unfinished rule, comment or at-rule, trimmed
    QStringList commentsAfterUnfinished; // read after part of the unfinished text

    bool isEmpty() const
    {
        return comments.isEmpty() && unfinished.isEmpty() && commentsAfterUnfinished.isEmpty();
    }
};

// The open stylesheet: its rules in file order, the file it came from, how that
// file was stored, and every change since it was opened, as undo steps. The
// document is modified while the undo stack is away from its clean state.
// Views follow it through the change signals; it knows nothing of widgets.
class Stylesheet : public QObject
{
    Q_OBJECT

public:
    enum class SaveResult {
        Saved,
        CannotCreate, // the file could not be opened for writing
        Unencodable,  // the file's encoding cannot hold the text; nothing was written
        Failed        // writing failed; the old file is untouched (errorString says why)
    };

    explicit Stylesheet(QObject *parent = nullptr);
    ~Stylesheet() override;

    // A new, never-saved stylesheet without rules.
    void clear();
    // Replaces the rules with the file's. False (with errorString) leaves
    // everything as it was, unless the file changed or failed while it was
    // being read: the stylesheet is then a new one without rules.
    bool load(const QString &path);
    SaveResult save(const QString &path);
    // Makes the next save write UTF-8, and a leading @charset naming another
    // encoding name UTF-8 too, so the saved file stays truthful.
    void convertToUtf8();
    QString errorString() const { return m_error; }

    QString path() const { return m_path; }
    const TextFormat &format() const { return m_format; }
    bool isModified() const;
    QUndoStack *undoStack() const { return m_undo; }

    int count() const { return int(m_rules.size()); }
    // A copy of the rule, free to outlive the document.
    Rule rule(int row) const;
    // The rule's selector as held; valid until the document next changes.
    QStringView selectorView(int row) const { return m_rules[size_t(row)].selector; }
    const StylesheetEnd &end() const { return m_end; }
    // selector + " { " + declarations + " }": the saved line, the status text
    // and the clipboard text of a rule.
    QString ruleText(int row) const;

    // Each change is one undo step. Returns the row of the new rule.
    int appendRule(const QString &selector, const QString &declarations);
    // Appends every complete rule of text with its comments; returns how many there were.
    int paste(QStringView text);
    // False, with nothing changed, for an empty selector.
    bool rename(int row, const QString &selector);
    // False when the text is what the rule already holds.
    bool setDeclarations(int row, const QString &declarations);
    // The rule's comments go to the rule after it, or to the end of the file.
    void remove(int row);

signals:
    void modifiedChanged(bool modified);
    void aboutToReset();
    void wasReset();
    void rulesAboutToBeInserted(int first, int last);
    void rulesInserted();
    void rulesAboutToBeRemoved(int first, int last);
    void rulesRemoved();
    void ruleChanged(int row);
    // An undo or redo step changed the rule in row (-1: it removed rules).
    void stepApplied(int row);

private:
    class InsertRules;
    class RemoveRule;
    class ReplaceRule;

    struct ReadResult
    {
        std::vector<Rule> rules;
        StylesheetEnd end;
        // Holds the rules' selector and declaration texts when set; else
        // each rule owns its texts.
        std::unique_ptr<StringStore> texts;
    };

    void resetRules(ReadResult read);
    void insertRules(int first, std::vector<Rule> rules);
    void removeRules(int first, int count);
    void replaceRuleBy(int row, Rule rule);
    ReadResult read(QStringView text);
    void readComment(const QString &comment);
    // Hands write every line a save writes, in order.
    void forEachLine(const std::function<void(const QString &)> &write) const;
    // Whether the file's encoding can hold every line.
    bool encodable() const;

    CSSTextRead *m_reader;
    QUndoStack *m_undo;
    // The rules as read refer to their texts in m_texts; a rule changed since
    // owns its texts. Only copies leave the document.
    std::vector<Rule> m_rules;
    std::unique_ptr<StringStore> m_texts;
    StylesheetEnd m_end;
    ReadResult m_reading; // what the reader found in the current pass
    QString m_path;
    TextFormat m_format;
    QString m_error;
};
