#pragma once

#include "app/StylesheetTree.h"
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

// What a file held after its last complete entry.
struct StylesheetEnd
{
    QStringList comments;             // written after the last entry
    QString unfinished;               // an unfinished rule, comment or at-rule, trimmed
    QStringList commentsAfterUnfinished; // read after part of the unfinished text

    bool isEmpty() const
    {
        return comments.isEmpty() && unfinished.isEmpty() && commentsAfterUnfinished.isEmpty();
    }
};

// The open stylesheet: its entries as a tree in file order, the file it came
// from, how that file was stored, and every change since it was opened, as
// undo steps. The document is modified while the undo stack is away from its
// clean state. Views follow it through the change signals; it knows nothing
// of widgets.
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
    // Replaces the entries with the file's. False (with errorString) leaves
    // everything as it was, unless the file changed or failed while it was
    // being read: the stylesheet is then a new one without rules.
    bool load(const QString &path);
    SaveResult save(const QString &path);
    // Makes the next save write UTF-8, and a leading @charset naming another
    // encoding name UTF-8 too, so the saved file stays truthful: one undo step.
    void convertToUtf8();
    QString errorString() const { return m_error; }

    QString path() const { return m_path; }
    const TextFormat &format() const { return m_format; }
    bool isModified() const;
    QUndoStack *undoStack() const { return m_undo; }

    // The entries inside parent (the top level by default).
    int count(const EntryPath &parent = {}) const;
    bool exists(const EntryPath &path) const;
    const RuleBlock &root() const { return m_root; }
    // The entry as held; valid until the document next changes.
    const Rule &entry(const EntryPath &path) const;
    // A copy of the entry with everything inside it, free to outlive the document.
    Rule rule(const EntryPath &path) const;
    const StylesheetEnd &end() const { return m_end; }
    // The entry's first saved line: a rule's "selector { declarations }", a
    // statement with its ";", a group's head line. The status text.
    QString ruleText(const EntryPath &path) const;
    // The lines the entry saves as, with what is inside it but without the
    // comments around it: the clipboard text.
    QString savedText(const EntryPath &path) const;

    // Each change is one undo step. Returns the path of the new rule, at the
    // end of parent.
    EntryPath appendRule(const EntryPath &parent, const QString &selector, const QString &declarations);
    // Appends every complete entry of text with its comments at the end of the
    // stylesheet; returns how many there were.
    int paste(QStringView text);
    // Whether text may stand for the entry's selector, statement or prelude:
    // not empty, read back as the same kind of entry, and ending no block.
    bool canRename(const EntryPath &path, const QString &text) const;
    // False, with nothing changed, when canRename says no.
    bool rename(const EntryPath &path, const QString &text);
    // False when the text is what the rule already holds.
    bool setDeclarations(const EntryPath &path, const QString &declarations);
    // Removes the entry and everything inside it; its comments go to the entry
    // after it, or to the end of the block that held it.
    void remove(const EntryPath &path);

signals:
    void modifiedChanged(bool modified);
    // What the next save writes changed (by a switch to UTF-8 or its undo).
    void formatChanged();
    void aboutToReset();
    void wasReset();
    void entriesAboutToBeInserted(const EntryPath &parent, int first, int last);
    void entriesInserted();
    void entriesAboutToBeRemoved(const EntryPath &parent, int first, int last);
    void entriesRemoved();
    void entryChanged(const EntryPath &path);
    // An undo or redo step changed the tree at path: the entry there, or,
    // when removed is set, where entries were taken out.
    void stepApplied(const EntryPath &path, bool removed);

private:
    class InsertEntries;
    class RemoveEntry;
    class ReplaceEntry;
    class SwitchFormat;
    class TreeBuilder;

    struct ReadResult
    {
        std::unique_ptr<RuleBlock> root;
        StylesheetEnd end;
        // Holds the entries' texts when set; else each entry owns its texts.
        std::unique_ptr<StringStore> texts;
    };

    RuleBlock &blockAt(const EntryPath &parent);
    Rule &entryAt(const EntryPath &path);
    // The comments written after the last entry of the block at parent.
    QStringList &endCommentsOf(const EntryPath &parent);
    void resetEntries(ReadResult read);
    void insertEntries(const EntryPath &parent, int first, std::vector<Rule> entries);
    void removeEntries(const EntryPath &parent, int first, int count);
    // The entry's own texts and comments change; what is inside it stays.
    void replaceHead(const EntryPath &path, const Rule &head);
    ReadResult read(QStringView text);
    // Hands write every line a save writes, in order.
    void forEachLine(const std::function<void(const QString &)> &write) const;
    // Whether the file's encoding can hold every line.
    bool encodable() const;
    bool opensWithBomCharacter() const;
    void setFormat(const TextFormat &format);

    CSSTextRead *m_reader;
    QUndoStack *m_undo;
    // The entries as read refer to their texts in m_texts; an entry changed
    // since owns its texts. Only copies leave the document.
    RuleBlock m_root;
    std::unique_ptr<StringStore> m_texts;
    StylesheetEnd m_end;
    QString m_path;
    TextFormat m_format;
    QString m_error;
};
