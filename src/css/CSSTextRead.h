#pragma once

#include "css/CssTokenizer.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <vector>

// Splits stylesheet text, fed in pieces of any size, into the entries a CSS
// engine sees: style rules, statement at-rules, group at-rules with the
// entries inside them, style rules with nested rules, comments between
// entries, and anything else kept as it stands. Strings, escapes, url()
// tokens and brackets are read as a browser reads them, across pieces.
class CSSTextRead : public QObject
{
    Q_OBJECT

public:
    explicit CSSTextRead(QObject *parent = nullptr);

    // Drops whatever is unfinished, without any signal, and reads pasted text
    // again: only a CR LF pair reads as a blank, a lone CR or LF stays text.
    void Clear();
    // Until the next Clear, every line break, CR LF, LF or a lone CR, reads as
    // one blank, as the lines of a file do.
    void readFileLines() { m_fileLines = true; }
    // Processes one piece; may emit any number of signals before it returns.
    void AddData(QStringView text);
    // At the end of the text, closes what is open inside blocks, as a CSS
    // engine does: the unfinished text inside a block becomes an unknown
    // entry, then every open block ends. What is unfinished at the top level
    // stays for unfinishedText().
    void Finish();
    // The selector text gathered so far; in a FindRemText handler, what stood
    // in front of the comment within the selector it was read in.
    QStringView pendingSelector() const { return m_selector; }
    // What is unfinished at the top level: the selector text, then "{" and the
    // body of an open rule or "/*" and the text of an open comment, without
    // blanks, TABs and line breaks at either end; empty when nothing is.
    QString unfinishedText() const;

signals:
    // The texts are valid only during the call, and may lie in the reader's own
    // buffers: a handler copies what it keeps and feeds the reader nothing.
    // A style rule without nested rules, or an at-rule holding declarations.
    void FindSelector(QStringView selector, QStringView declarations);
    void FindRemText(const QString &comment);
    // A statement at-rule (@charset, @import, @namespace, @layer) without its ";".
    void FindStatement(QStringView text);
    // Text kept as it stood: an unknown at-rule, a stray "}", the unfinished
    // text of a block.
    void FindUnknown(QStringView text);
    // A block holding entries begins: a group at-rule, or a rule holding
    // declarations and nested rules. Entries up to BlockEnded are inside it.
    void BlockStarted(QStringView prelude, bool holdsDeclarations);
    // Declarations of the innermost block that holds them, in stretches.
    void FindDeclarations(QStringView declarations);
    void BlockEnded();

private:
    enum class Frame : std::uint8_t {
        Group,       // a group at-rule's entries
        Rule,        // a rule's body, not yet known to hold nested rules
        NestingRule, // a rule's body that holds nested rules
        Verbatim,    // an unknown at-rule's block, kept as it stands
        Value,       // a custom property's "{…}" value inside a body
    };

    // Each handles one stop (or the end of the piece) in its mode; the text
    // from m_from up to the stop is theirs.
    void readOutside(QStringView text, CssTokenizer::Found found);
    void readComment(QStringView text, CssTokenizer::Found found);
    void readBody(QStringView text, CssTokenizer::Found found);
    void readVerbatim(QStringView text, CssTokenizer::Found found);
    // Keeps the rest of a piece that ends in the middle of something.
    void keepRest(QStringView text);

    void openBlock();
    void openVerbatim(QStringView prelude);
    void finishAtStatement(QStringView statement);
    void openNestedEntry(QStringView body, qsizetype declarationsEnd);
    void closeRule(QStringView body);
    void closeGroup(QStringView pending);
    // A rule's body turned out to hold nested rules: it becomes a block.
    void announceNesting();
    // Emits the comments of a nested rule's prelude; the rest becomes the
    // pending selector.
    void takePrelude(QStringView prelude);
    // The text gathered in buffer plus the piece's text from m_from to end.
    QStringView gatheredUpTo(QString &buffer, QStringView text, qsizetype end);
    // raw with TABs and line breaks as blanks, unless broken says that a line
    // break ended a string in it.
    QStringView normalisedText(QStringView raw, QString &out, bool broken) const;
    // Whether a line break ended a string since the tokenizer's count was mark.
    bool brokenSince(int mark) const;
    void clearSelector();
    void startBody();
    // A stretch of a nesting rule's body between its nested rules.
    void emitDeclarations(QStringView stretch, bool broken);
    // The whole selector of the rule being read.
    QStringView selectorText();

    CssTokenizer m_tokens;
    std::vector<Frame> m_frames;
    bool m_inComment = false;
    bool m_fileLines = false;
    // The tokenizer's count of broken strings where the selector and the body
    // being read began, and whether the selector held one.
    int m_selectorBreaks = 0;
    int m_bodyBreaks = 0;
    bool m_selectorBroken = false;
    int m_verbatimDepth = 0;
    // The selector text this piece added before the "{" of the rule being read;
    // kept as a view while the rule may still end in the same piece, which spares
    // copying it into m_selector.
    QStringView m_selectorEnd;
    qsizetype m_from = 0; // where the piece's text not yet gathered starts
    QString m_selector;
    QString m_body;
    QString m_comment;
    QString m_verbatim;
    // Where the reported selector and declaration texts are made, rule after rule.
    QString m_selectorOut;
    QString m_declarationsOut;
};
