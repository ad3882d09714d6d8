#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

// Splits stylesheet text, fed in pieces of any size, into rules and comments.
// A rule is reported as its selector text and its declaration text; comments are
// recognised only outside rule bodies; tokens are searched within one piece.
class CSSTextRead : public QObject
{
    Q_OBJECT

public:
    explicit CSSTextRead(QObject *parent = nullptr);

    // Drops whatever is unfinished, without any signal.
    void Clear();
    // Processes one piece; may emit any number of signals before it returns.
    void AddData(QStringView text);
    // The selector text gathered so far outside rules and comments; in a
    // FindRemText handler, what stood in front of the comment.
    QStringView pendingSelector() const { return m_selector; }
    // What is unfinished now: the selector text, then "{" and the body of an
    // open rule or "/*" and the text of an open comment, without blanks, TABs
    // and line breaks at either end; empty when nothing is.
    QString unfinishedText() const;

signals:
    // The texts are valid only during the call: a handler copies what it keeps.
    void FindSelector(QStringView selector, QStringView declarations);
    void FindRemText(const QString &comment);

private:
    enum Mode { Outside = 0, InRule = 1, InComment = 2 };

    // Each consumes text from pos on in one mode and returns where reading goes on.
    // ruleOpen and commentOpen are the next "{" and "/*" at or after pos (-1: none).
    qsizetype readOutside(QStringView text, qsizetype pos, qsizetype ruleOpen, qsizetype commentOpen);
    qsizetype readRule(QStringView text, qsizetype pos);
    qsizetype readComment(QStringView text, qsizetype pos);
    void finishRule(QStringView bodyEnd);

    Mode m_mode = Outside;
    // The selector text this piece added before the "{" of the rule being read;
    // kept as a view while the rule may still end in the same piece, which spares
    // copying it into m_selector.
    QStringView m_selectorEnd;
    QString m_selector;
    QString m_body;
    QString m_comment;
    // Where the reported selector and declaration texts are made, rule after rule.
    QString m_selectorOut;
    QString m_declarationsOut;
};
