#pragma once

#include "support/TextFile.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <vector>

class CSSTextRead;

// One stylesheet rule: its selector and its declaration text.
struct Rule
{
    QString selector;
    QString declarations;
};

// The open stylesheet: its rules in file order, the file it came from, how that
// file was stored, and whether it changed since it was last opened or saved.
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
    // Replaces the rules with the file's; false (with errorString) leaves everything as it was.
    bool load(const QString &path);
    SaveResult save(const QString &path);
    // Makes the next save write UTF-8, and a leading @charset naming another
    // encoding name UTF-8 too, so the saved file stays truthful.
    void convertToUtf8();
    QString errorString() const { return m_error; }

    QString path() const { return m_path; }
    const TextFormat &format() const { return m_format; }
    bool isModified() const { return m_modified; }

    int count() const { return int(m_rules.size()); }
    const Rule &rule(int row) const { return m_rules[size_t(row)]; }
    // selector + " { " + declarations + " }": the saved line, the status text
    // and the clipboard text of a rule.
    QString ruleText(int row) const;

    // Each returns the row of the (first) new rule.
    int appendRule(const Rule &rule);
    // Appends every complete rule of text; returns how many there were.
    int paste(QStringView text);
    // False, with nothing changed, for an empty selector.
    bool rename(int row, const QString &selector);
    // False when the text is what the rule already holds.
    bool setDeclarations(int row, const QString &declarations);
    void remove(int row);

signals:
    void modifiedChanged(bool modified);
    void aboutToReset();
    void wasReset();
    void rulesAboutToBeAppended(int first, int last);
    void rulesAppended();
    void ruleAboutToBeRemoved(int row);
    void ruleRemoved();
    void ruleChanged(int row);

private:
    void setModified(bool modified);
    void resetRules(std::vector<Rule> rules);
    void appendRules(std::vector<Rule> rules);
    // Runs text through the reader from a clean state; the rules it completed.
    std::vector<Rule> read(QStringView text);

    CSSTextRead *m_reader;
    std::vector<Rule> m_rules;
    std::vector<Rule> m_readRules; // what the reader found in the current pass
    QString m_path;
    TextFormat m_format;
    QString m_error;
    bool m_modified = false;
};
