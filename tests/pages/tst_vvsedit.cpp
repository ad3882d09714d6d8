#include "pages/grid/PropertyGrid.h"
#include "pages/grid/VvsEdit.h"
#include "css/modCSSFns.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

// The all-properties grid driven by clicks and keys.
class TestVvsEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void reShowFillsTheGrid();
    void typedRowsBecomeValues_data();
    void typedRowsBecomeValues();
    void commentsStayWithTheirRows_data();
    void commentsStayWithTheirRows();
    void arrowKeysWrap_data();
    void arrowKeysWrap();
    void unknownNamesAreMarked_data();
    void unknownNamesAreMarked();
    void namesComplete();
    void aClickElsewhereKeepsTheTypedName_data();
    void aClickElsewhereKeepsTheTypedName();
    void longValuesSurviveEditing_data();
    void longValuesSurviveEditing();

private:
    QLineEdit *editor() const { return qobject_cast<QLineEdit *>(m_grid->indexWidget(m_grid->currentIndex())); }
    void clickCell(int row, int column);
    void type(int row, int column, const QString &text);

    VValues m_values;
    VvsEdit *m_page = nullptr;
    PropertyGrid *m_grid = nullptr;
};

void TestVvsEdit::init()
{
    m_page = showPage<VvsEdit>(m_values);
    QVERIFY(m_page);
    m_grid = m_page->grid();
}

void TestVvsEdit::cleanup()
{
    delete m_page;
}

// Clicks the cell, or the open editor when it lies there.
void TestVvsEdit::clickCell(int row, int column)
{
    userClick(m_grid->viewport(), m_grid->visualRect(m_grid->model()->index(row, column)).center());
}

// Clicks the cell and types text over what it held; "" empties it.
void TestVvsEdit::type(int row, int column, const QString &text)
{
    clickCell(row, column);
    QVERIFY(editor());
    QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_Delete);
    QTest::keyClicks(editor(), text);
}

void TestVvsEdit::reShowFillsTheGrid()
{
    reShowWith(*m_page, m_values, QStringLiteral("color:red;margin:0"));
    QCOMPARE(m_grid->horizontalHeaderItem(0)->text(), QStringLiteral("属性名"));
    QCOMPARE(m_grid->horizontalHeaderItem(1)->text(), QStringLiteral("值"));
    m_page->resize(800, 300);
    QCOMPARE(m_grid->columnWidth(0), m_grid->contentsRect().width() * 35 / 100);
    QCOMPARE(m_grid->rowCount(), 3);
    QCOMPARE(m_grid->text(1, 0) + m_grid->text(1, 1) + m_grid->text(2, 0), QStringLiteral("margin0"));
    QCOMPARE(editor()->selectedText(), QStringLiteral("color"));
    type(2, 1, QString()); // landing on the last row adds one
    QCOMPARE(m_grid->rowCount(), 4);
}

void TestVvsEdit::typedRowsBecomeValues_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("typed"); // "row,column=text"
    QTest::addColumn<QString>("after");

    QTest::newRow("nothing") << "" << QStringList() << "";
    QTest::newRow("spaces trimmed") << "" << QStringList{"0,0=  color ", "0,1= red  "} << "color:red";
    QTest::newRow("empty value drops") << "color:red;margin:0" << QStringList{"1,1="} << "color:red";
    QTest::newRow("empty name drops") << "color:red;margin:0" << QStringList{"0,0="} << "margin:0";
    QTest::newRow("same name: a chain in row order")
        << "color:red;margin:0" << QStringList{"2,0=color", "2,1=blue"} << "color:red;margin:0;color:blue";
    QTest::newRow("chain shown a row each, kept") << "display:box;color:red;display:flex" << QStringList()
                                                  << "display:box;color:red;display:flex";
    QTest::newRow("first of a chain edited") << "display:box;color:red;display:flex" << QStringList{"0,1=grid"}
                                             << "display:grid;color:red;display:flex";
    QTest::newRow("any property, value as typed")
        << "" << QStringList{"0,0=--gap", "0,1=4px", "1,0=display", "1,1=var(--d)"} << "--gap:4px;display:var(--d)";
}

void TestVvsEdit::typedRowsBecomeValues()
{
    QFETCH(QString, before);
    QFETCH(QStringList, typed);
    QFETCH(QString, after);

    reShowWith(*m_page, m_values, before);
    for (const QString &edit : typed) {
        const qsizetype equals = edit.indexOf(u'=');
        type(edit.left(1).toInt(), edit.mid(2, 1).toInt(), edit.mid(equals + 1));
    }
    // The last text is still in the editor: Update commits it first.
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), after);
}

void TestVvsEdit::commentsStayWithTheirRows_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed"); // "row,column=text"
    QTest::addColumn<QString>("after");

    QTest::newRow("edited beside") << "/* 1 */ margin:0;color:red;/* 2 */" << "1,1=blue"
                                   << "/* 1 */ margin:0;color:blue;/* 2 */";
    QTest::newRow("dropped row's comment moves on") << "/* 1 */ margin:0;color:red" << "0,1="
                                                    << "/* 1 */ color:red";
    QTest::newRow("last row dropped: to the end") << "margin:0;/* 1 */ color:red" << "1,0="
                                                  << "margin:0;/* 1 */";
    QTest::newRow("each link of a chain keeps its own") << "/* 1 */ top:0;/* 2 */ TOP:1px" << "1,1=2px"
                                                        << "/* 1 */ top:0;/* 2 */ TOP:2px";
}

void TestVvsEdit::commentsStayWithTheirRows()
{
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    m_values.Clear();
    ParseDeclarations(m_values, before);
    m_page->ReShow();

    type(typed.left(1).toInt(), typed.mid(2, 1).toInt(), typed.mid(4));

    QVERIFY(m_page->Update());
    QCOMPARE(FormatDeclarations(m_values), after);
}

void TestVvsEdit::arrowKeysWrap_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("to");

    // Rows 0 and 1 hold values, row 2 is the empty row.
    QTest::newRow("Down") << 0 << int(Qt::Key_Down) << int(Qt::NoModifier) << 1;
    QTest::newRow("Up on the first row wraps") << 0 << int(Qt::Key_Up) << int(Qt::NoModifier) << 2;
    QTest::newRow("Shift+Up moves down") << 0 << int(Qt::Key_Up) << int(Qt::ShiftModifier) << 1;
    QTest::newRow("Ctrl+Shift+Up moves up") << 1 << int(Qt::Key_Up) << int(Qt::ControlModifier | Qt::ShiftModifier) << 0;
}

void TestVvsEdit::arrowKeysWrap()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, to);

    reShowWith(*m_page, m_values, QStringLiteral("color:red;margin:0"));
    type(from, 1, QStringLiteral("x"));
    QTest::keyClick(editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_grid->currentRow(), to);
    QCOMPARE(m_grid->currentColumn(), 1);
    QCOMPARE(m_grid->text(from, 1), QStringLiteral("x")); // left, so written
    QCOMPARE(editor()->selectedText(), m_grid->text(to, 1));
}

void TestVvsEdit::unknownNamesAreMarked_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("unknown");

    QTest::newRow("property no page offers") << "display" << false;
    QTest::newRow("letter case does not matter") << "Font-Size" << false;
    QTest::newRow("custom property") << "--main-colour" << false;
    QTest::newRow("vendor prefix") << "-webkit-line-clamp" << false;
    QTest::newRow("misspelt") << "colr" << true;
}

void TestVvsEdit::unknownNamesAreMarked()
{
    QFETCH(QString, name);
    QFETCH(bool, unknown);

    // A name shown from the rule is judged as a typed one; values are never judged.
    // The two rows make a chain.
    reShowWith(*m_page, m_values, name + QStringLiteral(":x"));
    type(1, 0, name);
    type(1, 1, QStringLiteral("colr"));
    for (int row : {0, 1}) {
        QCOMPARE(m_grid->item(row, 0)->toolTip(), unknown ? QStringLiteral("未知属性") : QString());
        QCOMPARE(m_grid->item(row, 0)->data(Qt::ForegroundRole).isValid(), unknown);
    }
    QCOMPARE(m_grid->item(0, 1)->toolTip(), QString());
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), name + QStringLiteral(":x;") + name + QStringLiteral(":colr"));
}

void TestVvsEdit::namesComplete()
{
    reShowWith(*m_page, m_values, QString());
    type(0, 0, QStringLiteral("backgr"));
    auto *names = editor()->findChild<QListWidget *>();
    QVERIFY(names);
    QCOMPARE(names->count(), 12); // background and its longhands
    QTRY_VERIFY(names->isVisible());
    QTest::keyClick(editor(), Qt::Key_Down);
    QTest::keyClick(editor(), Qt::Key_Down);
    QTest::keyClick(editor(), Qt::Key_Return);
    QVERIFY(editor()); // the pick did not end the editing
    QCOMPARE(editor()->text(), QStringLiteral("background-attachment"));
}

void TestVvsEdit::aClickElsewhereKeepsTheTypedName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("name");

    QTest::newRow("whole name") << "color" << QList<int>() << "color";
    QTest::newRow("start of many names") << "backgr" << QList<int>() << "backgr";
    QTest::newRow("picked with Down and Tab") << "backgr" << QList<int>{Qt::Key_Down, Qt::Key_Tab} << "background";
    QTest::newRow("closed with Escape") << "col" << QList<int>{Qt::Key_Escape} << "col";
}

// One click on the next row moves there at once, and the offered names
// enter nothing the user did not pick.
void TestVvsEdit::aClickElsewhereKeepsTheTypedName()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, keys);
    QFETCH(QString, name);

    reShowWith(*m_page, m_values, QString());
    type(0, 0, typed);
    for (int key : keys)
        QTest::keyClick(editor(), Qt::Key(key));
    clickCell(1, 0);
    QCOMPARE(m_grid->currentRow(), 1);
    QCOMPARE(m_grid->text(0, 0), name);
    QTest::keyClicks(editor(), QStringLiteral("padding"));
    QCOMPARE(editor()->text(), QStringLiteral("padding"));
}

void TestVvsEdit::longValuesSurviveEditing_data()
{
    QTest::addColumn<int>("length");

    QTest::newRow("one past a line edit's usual limit") << 32768;
    QTest::newRow("inline picture") << 40000;
}

// Tab onto the value and off it again, typing nothing: the value is written
// back whole.
void TestVvsEdit::longValuesSurviveEditing()
{
    QFETCH(int, length);
    const QString start = QStringLiteral("url(\"data:image/svg+xml,");
    const QString end = QStringLiteral("\")");
    const QString value = start + QString(length - start.size() - end.size(), u'x') + end;

    reShowWith(*m_page, m_values, QStringLiteral("background:") + value);
    QTest::keyClick(editor(), Qt::Key_Tab);
    QTest::keyClick(editor(), Qt::Key_Tab);
    QVERIFY(m_page->Update());
    QCOMPARE(valuesText(m_values), QStringLiteral("background:") + value);
}

QTEST_MAIN(TestVvsEdit)
#include "tst_vvsedit.moc"
