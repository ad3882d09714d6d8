// The border, background, list style and positioning pages, created as the
// host creates them: each row shows a rule, acts as the user, and compares
// what the page shows and what Update writes.

#include "framework/PageRegistry.h"
#include "pages/StandardPages.h"
#include "pages/common/PictureField.h"
#include "support/VValues.h"
#include "PageTestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaProperty>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <utility>
#include <vector>

class TestStylePages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerStandardPages(); }

    void borderPage_data();
    void borderPage() { showEditAndUpdate(QStringLiteral("Quillmere.Stylebox")); }
    void backgroundPage_data();
    void backgroundPage() { showEditAndUpdate(QStringLiteral("Quillmere.Styleshade")); }
    void listStylePage_data();
    void listStylePage() { showEditAndUpdate(QStringLiteral("Quillmere.Stylenumbering")); }
    void positioningPage_data();
    void positioningPage() { showEditAndUpdate(QStringLiteral("Quillmere.StyleLocate")); }
    void pictureBrowseWritesAUrl_data();
    void pictureBrowseWritesAUrl();
    void accessKeysFocusTheirControls();

private:
    QWidget *showPage(const QString &typeName);
    void showEditAndUpdate(const QString &typeName);

    VValues m_values;
    std::unique_ptr<QWidget> m_page;
};

namespace {

void addColumns()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("actions"); // "control=argument", see act()
    QTest::addColumn<QStringList>("shown");   // "control=text", see shownText()
    QTest::addColumn<QString>("after");
}

// As the user: clicks an option, clicks side list row k, picks list item k by
// keyboard, or types over a field's text.
void act(QWidget *page, const QString &action)
{
    const QString arg = action.section(u'=', 1);
    QWidget *target = pageControl<QWidget>(page, action.section(u'=', 0, 0));
    if (qobject_cast<QRadioButton *>(target)) {
        QTest::mouseClick(target, Qt::LeftButton);
    } else if (auto *sides = qobject_cast<QListWidget *>(target)) {
        const QPoint row = sides->visualItemRect(sides->item(arg.toInt())).center();
        QTest::mouseClick(sides->viewport(), Qt::LeftButton, {}, row);
    } else if (auto *list = qobject_cast<QComboBox *>(target)) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        QTest::keyClick(list, Qt::Key_Home);
        for (int step = 0; step < arg.toInt(); ++step)
            QTest::keyClick(list, Qt::Key_Down);
    } else {
        QWidget *input = target->focusProxy() ? target->focusProxy() : target;
        input->setFocus();
        QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(input, Qt::Key_Delete);
        QTest::keyClicks(input, arg);
    }
}

// An option's "true" or "false", a side list's current entry, a list's
// caption or a field's text; "hidden" when not shown, "grey:" when disabled.
QString shownText(QWidget *page, const QString &name)
{
    auto *control = pageControl<QWidget>(page, name);
    if (!control->isVisibleTo(page))
        return QStringLiteral("hidden");
    QString text;
    if (auto *sides = qobject_cast<QListWidget *>(control))
        text = sides->currentItem() ? sides->currentItem()->text() : QString();
    else
        text = control->metaObject()->userProperty().read(control).toString();
    return control->isEnabled() ? text : QStringLiteral("grey:") + text;
}

} // namespace

QWidget *TestStylePages::showPage(const QString &typeName)
{
    QString error;
    m_page.reset(PageRegistry::instance().create(typeName, nullptr, &error));
    auto *page = dynamic_cast<IPage *>(m_page.get());
    if (!page || !page->Init(m_values))
        return nullptr;
    m_page->resize(650, 520);
    m_page->show();
    return QTest::qWaitForWindowExposed(m_page.get()) ? m_page.get() : nullptr;
}

void TestStylePages::showEditAndUpdate(const QString &typeName)
{
    QFETCH(QString, before);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, shown);
    QFETCH(QString, after);

    QWidget *widget = showPage(typeName);
    QVERIFY(widget);
    auto *page = dynamic_cast<IPage *>(widget);
    // A rule shown before must leave nothing behind.
    reShowWith(*page, m_values, QStringLiteral("border-left-width:9px;background-position:bottom right;"
                                               "position:absolute;float:left;list-style-type:square;top:1px"));
    reShowWith(*page, m_values, before);
    for (const QString &action : actions)
        act(widget, action);
    for (const QString &expected : shown)
        QCOMPARE(expected.section(u'=', 0, 0) + u'=' + shownText(widget, expected.section(u'=', 0, 0)), expected);
    QVERIFY(page->Update());
    QCOMPARE(valuesText(m_values), after);
}

// Rows without actions also check that showing a rule and collecting it
// again never changes it.
void TestStylePages::borderPage_data()
{
    addColumns();
    const QString perSide = QStringLiteral("border-width:1px;border-left-width:2px;border-top-color:red");

    QTest::newRow("no border") << "color:red" << QStringList() << QStringList{"optM0=true", "picSet=hidden"}
                               << "color:red";
    QTest::newRow("all sides colour") << "border-color:#FF0000" << QStringList()
                                      << QStringList{"optM1=true", "lstL=所有边框", "txtC=#FF0000"}
                                      << "border-color:#FF0000";
    QTest::newRow("one side makes it per side, left shown")
        << "border-width:2px;border-top-style:solid" << QStringList() << QStringList{"optM2=true", "lstL=左面边框", "txtW="}
        << "border-width:2px;border-top-style:solid";
    QTest::newRow("all sides chosen shows their width")
        << "border-width:2px;border-top-style:solid" << QStringList{"lstL=0"} << QStringList{"txtW=2px"}
        << "border-width:2px;border-top-style:solid";
    QTest::newRow("style in capitals kept") << "border-style:SOLID" << QStringList() << QStringList{"icStyle=实线"}
                                            << "border-style:SOLID";
    QTest::newRow("unknown style shown as itself") << "border-left-style:hidden" << QStringList()
                                                   << QStringList{"icStyle=hidden"} << "border-left-style:hidden";
    QTest::newRow("edit kept when another side is chosen")
        << perSide << QStringList{"txtW=5px", "lstL=2"} << QStringList{"txtW="}
        << "border-width:1px;border-left-width:5px;border-top-color:red";
    QTest::newRow("edit of the shown side kept by Update")
        << perSide << QStringList{"txtW=5px"} << QStringList() << "border-width:1px;border-left-width:5px;border-top-color:red";
    QTest::newRow("per side to full removes the single sides")
        << perSide << QStringList{"optM1"} << QStringList{"lstL=所有边框", "txtW=1px"} << "border-width:1px";
    QTest::newRow("mode change drops the unsaved edit")
        << perSide << QStringList{"txtW=9px", "optM2"} << QStringList{"txtW=2px"} << perSide;
    QTest::newRow("no border removes all") << perSide << QStringList{"optM0"} << QStringList{"picSet=hidden"} << "";
    QTest::newRow("new properties appended in name order")
        << "" << QStringList{"optM2", "lstL=4", "icStyle=4", "txtW=1px", "lstL=0", "icStyle=1"} << QStringList()
        << "border-style:solid;border-bottom-width:1px;border-bottom-style:double";
    QTest::newRow("not-set style removes it") << "border-style:dotted" << QStringList{"icStyle=0"} << QStringList()
                                              << "";
    QTest::newRow("padding emptied and added")
        << "padding-top:2px" << QStringList{"txtPds0=", "txtPds3=4px"} << QStringList() << "padding-bottom:4px";
}

void TestStylePages::backgroundPage_data()
{
    addColumns();
    const QString topLeft = QStringLiteral("background-position:top left");
    const QString leftTop = QStringLiteral("background-position:left top");

    QTest::newRow("top left") << topLeft << QStringList() << QStringList{"icPos0=顶边对齐", "icPos1=左对齐"} << topLeft;
    QTest::newRow("left top kept as read") << leftTop << QStringList() << QStringList{"icPos0=顶边对齐", "icPos1=左对齐"}
                                           << leftTop;
    QTest::newRow("left top rewritten by a pick") << leftTop << QStringList{"icPos1=1"} << QStringList() << topLeft;
    QTest::newRow("center in both, a pick writes both") << "background-position:CENTER" << QStringList{"icPos0=2"}
                                                        << QStringList{"icPos0=居中", "icPos1=居中"}
                                                        << "background-position:center center";
    QTest::newRow("later word wins") << "background-position:bottom top" << QStringList()
                                     << QStringList{"icPos0=底边对齐", "icPos1=<未指定>"} << "background-position:bottom top";
    QTest::newRow("percentages shown as not set") << "background-position:50% 50%" << QStringList()
                                                  << QStringList{"icPos0=<未指定>", "icPos1=<未指定>"}
                                                  << "background-position:50% 50%";
    QTest::newRow("horizontal alone") << "" << QStringList{"icPos1=3"} << QStringList() << "background-position:right";
    QTest::newRow("both not set clears") << topLeft << QStringList{"icPos0=0", "icPos1=0"} << QStringList() << "";
    QTest::newRow("unknown repeat appended") << "background-repeat:inherit;color:red" << QStringList()
                                             << QStringList{"icRep=inherit", "HtmlColor11=red"}
                                             << "background-repeat:inherit;color:red";
}

void TestStylePages::listStylePage_data()
{
    addColumns();

    QTest::newRow("not set stays out") << "" << QStringList() << QStringList{"icLst=<未定义>"} << "";
    QTest::newRow("disc read in small letters kept") << "list-style-type:disc" << QStringList()
                                                     << QStringList{"icLst=实心园点(DISC)"} << "list-style-type:disc";
    QTest::newRow("unknown value appended") << "list-style-type:lower-greek" << QStringList()
                                            << QStringList{"icLst=lower-greek"} << "list-style-type:lower-greek";
    QTest::newRow("decimal written in capitals") << "list-style-type:disc" << QStringList{"icLst=5"} << QStringList()
                                                 << "list-style-type:DECIMAL";
    QTest::newRow("not set clears") << "list-style-type:DECIMAL" << QStringList{"icLst=0"} << QStringList() << "";
    const QString longPicture = QStringLiteral("list-style-image:url(data:image/svg+xml,%1)").arg(QString(40000, u'x'));
    QTest::newRow("long value kept whole") << longPicture << QStringList() << QStringList() << longPicture;
    QTest::newRow("picture typed as is") << "" << QStringList{"Text1=none"} << QStringList() << "list-style-image:none";
}

void TestStylePages::positioningPage_data()
{
    addColumns();

    QTest::newRow("absolute with left") << "position:absolute;left:10px" << QStringList()
                                        << QStringList{"icPos=绝对", "TxtN0=10px", "TxtN4="} << "position:absolute;left:10px";
    QTest::newRow("no scheme greys and keeps left") << "left:10px" << QStringList()
                                                    << QStringList{"icPos=无", "TxtN0=grey:10px", "TxtN4=grey:"}
                                                    << "left:10px";
    QTest::newRow("none after absolute drops the edit")
        << "position:absolute;left:10px" << QStringList{"TxtN0=5px", "icPos=0"} << QStringList{"TxtN0=grey:5px"}
        << "left:10px";
    QTest::newRow("relative chosen writes the fields") << "left:10px" << QStringList{"icPos=2", "TxtN4=3"}
                                                       << QStringList() << "left:10px;z-index:3;position:relative";
    QTest::newRow("static and float none appended")
        << "position:static;float:none" << QStringList() << QStringList{"icPos=static", "icFloat=none", "TxtN0="}
        << "position:static;float:none";
    QTest::newRow("emptied field removes") << "position:relative;left:1px" << QStringList{"TxtN0="} << QStringList()
                                           << "position:relative";
}

void TestStylePages::pictureBrowseWritesAUrl_data()
{
    QTest::addColumn<QString>("file"); // empty: the dialog is cancelled
    QTest::addColumn<QString>("url");  // %1 stands for the folder

    QTest::newRow("plain path bare") << "dot.gif" << "url(%1/dot.gif)";
    QTest::newRow("blank quoted") << "my dot.gif" << "url(\"%1/my dot.gif\")";
    QTest::newRow("parenthesis quoted") << "dot(1).png" << "url(\"%1/dot(1).png\")";
    QTest::newRow("single quote quoted") << "it's.gif" << "url(\"%1/it's.gif\")";
    QTest::newRow("backslash escaped") << "back\\slash.gif" << "url(\"%1/back\\\\slash.gif\")";
    QTest::newRow("semicolon hex escaped") << "a;b.gif" << "url(\"%1/a\\3b b.gif\")";
    QTest::newRow("cancel keeps the text") << "" << "none";
}

void TestStylePages::pictureBrowseWritesAUrl()
{
    QFETCH(QString, file);
    QFETCH(QString, url);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile picture(dir.filePath(file));
    QVERIFY(file.isEmpty() || picture.open(QIODevice::WriteOnly));
    QWidget *widget = showPage(QStringLiteral("Quillmere.Stylenumbering"));
    QVERIFY(widget);
    reShowWith(*dynamic_cast<IPage *>(widget), m_values, QStringLiteral("list-style-image:none"));

    QTimer poll; // answers the dialog from inside its event loop
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        // Typed as a user would, and confirmed directly: the dialog's buttons
        // may still be waiting for its folder listing.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(dir.filePath(file));
        static_cast<QDialog *>(dialog)->done(file.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
    });
    poll.start(10);
    QTest::mouseClick(pageControl<PictureField>(widget, QStringLiteral("Text1"))->browseButton(), Qt::LeftButton);
    QVERIFY(!poll.isActive());
    QVERIFY(dynamic_cast<IPage *>(widget)->Update());
    QCOMPARE(valuesText(m_values), QStringLiteral("list-style-image:") + url.arg(dir.path()));
}

void TestStylePages::accessKeysFocusTheirControls()
{
    const std::vector<std::pair<QString, QStringList>> pages{
        {QStringLiteral("Quillmere.Styleshade"), {"B=HtmlColor10", "F=HtmlColor11", "I=Text1", "V=icPos0",
                                                  "H=icPos1", "E=icRep", "A=icAtt"}},
        {QStringLiteral("Quillmere.StyleLocate"), {"L=TxtN0", "W=TxtN1", "P=TxtN2", "H=TxtN3", "Z=TxtN4"}},
    };
    for (const auto &[typeName, keys] : pages) {
        QWidget *widget = showPage(typeName);
        QVERIFY(widget);
        for (const QString &key : keys)
            QVERIFY2(accessKeyFocuses(widget, key[0].unicode(), key.mid(2)), qPrintable(key));
    }
}

QTEST_MAIN(TestStylePages)
#include "tst_stylepages.moc"
