// The rule editor without a window: which entry is current after each
// command, and what reaches the document, with a page host that only keeps
// what it is told.

#include "app/RuleEditor.h"
#include "app/Stylesheet.h"
#include "css/modCSSFns.h"
#include "support/VValues.h"

#include <QTest>

namespace {

// A page host whose one page is the values themselves: what a test puts in
// them is what the page would have written.
class ValuesHost : public PageHostPort
{
public:
    bool commitPage() override { return true; }
    void showPage() override { ++shown; }
    void setPagesEnabled(bool enabled) override { this->enabled = enabled; }

    int shown = 0;
    bool enabled = true;
};

EntryPath pathFrom(const QString &text)
{
    EntryPath path;
    if (!text.isEmpty()) {
        for (const QString &row : text.split(u'.'))
            path = path.child(row.toInt());
    }
    return path;
}

QString pathText(const EntryPath &path)
{
    QStringList rows;
    for (int level = 0; level < path.depth(); ++level)
        rows << QString::number(path.rowAt(level));
    return rows.join(u'.');
}

} // namespace

class TestRuleEditor : public QObject
{
    Q_OBJECT

private slots:
    void commandsMoveTheCurrentEntry_data();
    void commandsMoveTheCurrentEntry();
};

void TestRuleEditor::commandsMoveTheCurrentEntry_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("pagesOn");
    QTest::addColumn<QString>("status");

    QTest::newRow("opening shows the first rule") << "" << "" << "1" << true << "h1 { a:b }";
    QTest::newRow("a group shows no declarations") << "2" << "" << "2" << false << "@media print {";
    QTest::newRow("new rule beside a rule in a group") << "2.1" << "new" << "2.2" << true << ".NewItem {  }";
    QTest::newRow("new rule beside a group") << "2" << "new" << "4" << true << ".NewItem {  }";
    QTest::newRow("delete in a group: the next") << "2.0" << "delete" << "2.0" << true << ".x { e:f }";
    QTest::newRow("delete the last in a group: the one before") << "2.1" << "delete" << "2.0" << true
                                                                << "p { c:d }";
    QTest::newRow("delete the only nested rule: its rule") << "3.0" << "delete" << "3" << true
                                                           << ".card { g:h;";
    QTest::newRow("undo a delete: the entry again") << "2.1" << "delete undo" << "2.1" << true << ".x { e:f }";
    QTest::newRow("undo a paste: stays") << "1" << "paste undo" << "1" << true << "h1 { a:b }";
    QTest::newRow("edit, then undo: the edit goes") << "2.0" << "edit undo" << "2.0" << true << "p { c:d }";
}

void TestRuleEditor::commandsMoveTheCurrentEntry()
{
    QFETCH(QString, selected);
    QFETCH(QString, command);
    QFETCH(QString, current);
    QFETCH(bool, pagesOn);
    QFETCH(QString, status);
    Stylesheet document;
    document.paste(u"@import \"a.css\"; h1{a:b} @media print { p{c:d} .x{e:f} } .card{g:h;&:hover{i:j}}");
    VValues values;
    ValuesHost pages;
    RuleEditor editor(document, values, pages);
    QString shownStatus;
    connect(&editor, &RuleEditor::statusTextChanged, this, [&](const QString &text) { shownStatus = text; });

    editor.showFirst();
    if (!selected.isEmpty())
        editor.select(pathFrom(selected));
    for (const QString &step : command.split(u' ', Qt::SkipEmptyParts)) {
        if (step == QStringLiteral("new")) {
            editor.newRule();
        } else if (step == QStringLiteral("delete")) {
            editor.deleteCurrent();
        } else if (step == QStringLiteral("undo")) {
            editor.undo();
        } else if (step == QStringLiteral("paste")) {
            document.paste(u"@media x { y{z:w} }");
        } else {
            values.Set(QStringLiteral("red"), QStringLiteral("color"));
            QVERIFY(editor.collectPendingEdits());
            QCOMPARE(document.entry(editor.current()).declarations, QStringLiteral("c:d;color:red"));
        }
    }

    QCOMPARE(pathText(editor.current()), current);
    QCOMPARE(pages.enabled, pagesOn);
    QCOMPARE(shownStatus, status);
    VValues expected;
    if (pagesOn)
        ParseDeclarations(expected, document.entry(editor.current()).declarations);
    QCOMPARE(FormatDeclarations(values), FormatDeclarations(expected));
}

QTEST_GUILESS_MAIN(TestRuleEditor)
#include "tst_ruleeditor.moc"
