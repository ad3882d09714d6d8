#include "framework/CtlsStep.h"
#include "framework/PageContract.h"
#include "framework/PageRegistry.h"
#include "framework/StepBase.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

// What the pages and the host did, in order, e.g. "Ctl1.Update", "Updated".
QStringList callLog;

const QString RefusalText = QStringLiteral("请先填写完整的属性值。");
const QString InitFailText = QStringLiteral("页面初始化失败。");

// A page that records every call of the host into callLog.
class RecordingPage : public QWidget, public IPage
{
public:
    explicit RecordingPage(QWidget *parent)
        : QWidget(parent)
        , editor(new QLineEdit(this))
    {
        (new QVBoxLayout(this))->addWidget(editor);
    }

    bool Init(VValues &values) override
    {
        log(QStringLiteral("Init"));
        initValues = &values;
        return initResult;
    }
    bool Update() override
    {
        log(QStringLiteral("Update"));
        return acceptUpdate;
    }
    void ReShow() override
    {
        log(QStringLiteral("ReShow"));
        hiddenAtReShow = isHidden();
    }
    QString ErrString() const override { return errString; }

    QLineEdit *editor;
    VValues *initValues = nullptr;
    bool initResult = true;
    bool acceptUpdate = true;
    QString errString;
    bool hiddenAtReShow = false;

private:
    void log(const QString &call) { callLog << objectName() + QLatin1Char('.') + call; }
};

RecordingPage *recordingPage(QWidget *parent, bool acceptUpdate, bool initResult,
                             const QString &errString, QSize minimumSize = QSize())
{
    auto *page = new RecordingPage(parent);
    page->acceptUpdate = acceptUpdate;
    page->initResult = initResult;
    page->errString = errString;
    if (minimumSize.isValid())
        page->setMinimumSize(minimumSize);
    return page;
}

const QString Accepting = QStringLiteral("Test.Accepting");
const QString Refusing = QStringLiteral("Test.Refusing");
const QString InitFails = QStringLiteral("Test.InitFails");
const QString NoContract = QStringLiteral("Test.NoContract");
const QString Unregistered = QStringLiteral("Test.Unregistered");

// Answers every modal message box that opens while it lives, remembering what
// the boxes said. It runs inside the box's own event loop.
class MessageBoxAnswerer : public QObject
{
public:
    MessageBoxAnswerer()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start(10);
    }

    int count = 0;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++count;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    }

    QTimer m_timer;
};

enum class SwitchWay { MouseClick, StepDown, CtrlTab, CtrlPageDownInPage, ArrowKey, SetCurrentIndex };

} // namespace

Q_DECLARE_METATYPE(SwitchWay)

class tst_CtlsStep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void initBuildsTabsAndNamedPages();
    void failedPageShowsReason_data();
    void failedPageShowsReason();
    void leavingFailedTabAsksNothing();
    void firstActivationReShowsBeforeShowing();
    void startStepChoosesFirstTab_data();
    void startStepChoosesFirstTab();
    void leavingCommitsThenShowsNextPage_data();
    void leavingCommitsThenShowsNextPage();
    void refusalKeepsTab_data();
    void refusalKeepsTab();
    void stepBeyondEndsDoesNothing_data();
    void stepBeyondEndsDoesNothing();
    void unvisitedTabIsNeverAskedToCommit();
    void updateCurCtl_data();
    void updateCurCtl();
    void reShowCurCtl_data();
    void reShowCurCtl();
    void minimumSizeFitsEveryPage_data();
    void minimumSizeFitsEveryPage();

private:
    static void addSwitchRows();
    std::unique_ptr<CtlsStep> makeHost(const QStringList &types, int startStep = 1);
    void showActive(CtlsStep &host);
    static void switchForward(CtlsStep &host, SwitchWay way);
    static RecordingPage *page(const CtlsStep &host, int number);

    std::unique_ptr<StepBase> m_model;
};

void tst_CtlsStep::initTestCase()
{
    PageRegistry &registry = PageRegistry::instance();
    registry.registerType(Accepting, [](QWidget *parent) {
        return recordingPage(parent, true, true, QString());
    });
    registry.registerType(Refusing, [](QWidget *parent) {
        return recordingPage(parent, false, true, RefusalText);
    });
    registry.registerType(InitFails, [](QWidget *parent) {
        return recordingPage(parent, true, false, InitFailText);
    });
    registry.registerType(NoContract, [](QWidget *parent) { return new QWidget(parent); });
}

void tst_CtlsStep::init()
{
    callLog.clear();
    m_model = std::make_unique<StepBase>();
}

std::unique_ptr<CtlsStep> tst_CtlsStep::makeHost(const QStringList &types, int startStep)
{
    for (int i = 0; i < types.size(); ++i)
        m_model->Items().Add(QStringLiteral("页%1").arg(i + 1), types.at(i));
    m_model->StartStep = startStep;
    auto host = std::make_unique<CtlsStep>();
    host->setObjectName(QStringLiteral("csCSS"));
    host->resize(640, 480);
    host->Init(m_model.get());
    return host;
}

void tst_CtlsStep::showActive(CtlsStep &host)
{
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
}

void tst_CtlsStep::switchForward(CtlsStep &host, SwitchWay way)
{
    QTabBar *tabs = host.tabBar();
    const int next = host.currentIndex() + 1;
    switch (way) {
    case SwitchWay::MouseClick:
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(next).center());
        break;
    case SwitchWay::StepDown:
        host.StepDown();
        break;
    case SwitchWay::CtrlTab:
        tabs->setFocus();
        QTest::keyClick(tabs, Qt::Key_Tab, Qt::ControlModifier);
        break;
    case SwitchWay::CtrlPageDownInPage: {
        QWidget *editor = page(host, host.currentIndex() + 1)->editor;
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_PageDown, Qt::ControlModifier);
        break;
    }
    case SwitchWay::ArrowKey:
        tabs->setFocus();
        QTest::keyClick(tabs, Qt::Key_Right);
        break;
    case SwitchWay::SetCurrentIndex:
        host.setCurrentIndex(next);
        break;
    }
}

RecordingPage *tst_CtlsStep::page(const CtlsStep &host, int number)
{
    return dynamic_cast<RecordingPage *>(
        host.findChild<QWidget *>(QStringLiteral("Ctl%1").arg(number)));
}

void tst_CtlsStep::addSwitchRows()
{
    QTest::addColumn<SwitchWay>("way");
    QTest::newRow("mouse click on the next tab") << SwitchWay::MouseClick;
    QTest::newRow("StepDown") << SwitchWay::StepDown;
    QTest::newRow("Ctrl+Tab on the tab bar") << SwitchWay::CtrlTab;
    QTest::newRow("Ctrl+PgDown inside the page") << SwitchWay::CtrlPageDownInPage;
    QTest::newRow("right arrow on the tab bar") << SwitchWay::ArrowKey;
    QTest::newRow("programmatic selection") << SwitchWay::SetCurrentIndex;
}

void tst_CtlsStep::initBuildsTabsAndNamedPages()
{
    m_model->Items().Add(QStringLiteral("字体"), Accepting);
    m_model->Items().Add(QStringLiteral("段落"), Unregistered);
    StepItemPtr third = m_model->Items().Add(QStringLiteral("边框"), Accepting.toUpper());
    third->ToolTipText = QStringLiteral("边框与边距");
    CtlsStep host;
    QCOMPARE(host.errorBox()->objectName(), QStringLiteral("txtErrInfo"));
    QCOMPARE(host.errorBox()->toPlainText(), QStringLiteral("该控件不能被装载！"));
    QVERIFY(host.errorBox()->isReadOnly());
    QCOMPARE(host.MinWidth(), 0);

    host.Init(m_model.get());

    QTabBar *tabs = host.tabBar();
    QCOMPARE(tabs->objectName(), QStringLiteral("sTab"));
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QStringLiteral("字体"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("边框"));
    QCOMPARE(tabs->tabToolTip(2), QStringLiteral("边框与边距"));
    // The failed creation still used up the name Ctl2.
    QVERIFY(page(host, 1));
    QVERIFY(!host.findChild<QWidget *>(QStringLiteral("Ctl2")));
    QVERIFY(page(host, 3));
    QCOMPARE(m_model->Items().Item(1)->ctl.data(), page(host, 1));
    QVERIFY(m_model->Items().Item(2)->ctl.isNull());
    QCOMPARE(m_model->Items().Item(3)->ctl.data(), page(host, 3));
    QCOMPARE(page(host, 1)->initValues, &m_model->Values());
    QVERIFY(host.MinWidth() > 0);
}

void tst_CtlsStep::failedPageShowsReason_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("widgetCreated");
    QTest::newRow("type not registered") << Unregistered << QStringLiteral("未注册的控件类型。") << false;
    QTest::newRow("widget without the page contract") << NoContract << QStringLiteral("控件不支持预定义的函数接口。") << true;
    QTest::newRow("Init returns false") << InitFails << InitFailText << true;
}

void tst_CtlsStep::failedPageShowsReason()
{
    QFETCH(QString, type);
    QFETCH(QString, reason);
    QFETCH(bool, widgetCreated);
    auto host = makeHost({Accepting, type}, 2);

    const StepItemPtr entry = m_model->Items().Item(2);
    QVERIFY(entry->ctl.isNull());
    QCOMPARE(entry->ErrInfo, reason);
    QVERIFY(!host->errorBox()->isHidden());
    QCOMPARE(host->errorBox()->toPlainText(),
             QStringLiteral("控件[") + type + QStringLiteral("]不能正确装载：\n") + reason);
    QCOMPARE(host->currentPage(), nullptr);
    QCOMPARE(host->ReShowCurCtl(), false);
    QWidget *failed = host->findChild<QWidget *>(QStringLiteral("Ctl2"));
    QCOMPARE(failed != nullptr, widgetCreated);
    if (failed)
        QVERIFY(failed->isHidden());
}

void tst_CtlsStep::leavingFailedTabAsksNothing()
{
    auto host = makeHost({Unregistered, Accepting});
    QVERIFY(!host->errorBox()->isHidden());
    QSignalSpy updated(host.get(), &CtlsStep::Updated);
    MessageBoxAnswerer answerer;

    host->StepDown();

    QCOMPARE(host->currentIndex(), 1);
    QVERIFY(host->errorBox()->isHidden());
    QCOMPARE(updated.count(), 0);
    QCOMPARE(answerer.count, 0);
    QCOMPARE(callLog, QStringList({"Ctl2.Init", "Ctl2.ReShow"}));
}

void tst_CtlsStep::firstActivationReShowsBeforeShowing()
{
    auto host = makeHost({Accepting, Accepting});

    QCOMPARE(callLog, QStringList({"Ctl1.Init", "Ctl2.Init", "Ctl1.ReShow"}));
    QVERIFY(page(*host, 1)->hiddenAtReShow);
    QVERIFY(!page(*host, 1)->isHidden());
    QVERIFY(page(*host, 2)->isHidden());
    QVERIFY(host->errorBox()->isHidden());
    QCOMPARE(host->tabBar()->tabData(0).toString(), QStringLiteral("selected"));
    QCOMPARE(host->tabBar()->tabData(1).toString(), QString());
}

void tst_CtlsStep::startStepChoosesFirstTab_data()
{
    QTest::addColumn<int>("startStep");
    QTest::addColumn<int>("expectedIndex");
    QTest::newRow("0 leaves the tab bar's own first tab") << 0 << 0;
    QTest::newRow("2 selects the second tab") << 2 << 1;
    QTest::newRow("beyond the last tab") << 5 << 0;
}

void tst_CtlsStep::startStepChoosesFirstTab()
{
    QFETCH(int, startStep);
    QFETCH(int, expectedIndex);
    auto host = makeHost({Accepting, Accepting, Accepting}, startStep);

    QCOMPARE(host->currentIndex(), expectedIndex);
    const QString shown = QStringLiteral("Ctl%1").arg(expectedIndex + 1);
    QCOMPARE(callLog.filter(QStringLiteral(".ReShow")), QStringList(shown + ".ReShow"));
    QCOMPARE(host->currentPageWidget(), page(*host, expectedIndex + 1));
    QVERIFY(!host->currentPageWidget()->isHidden());
}

void tst_CtlsStep::leavingCommitsThenShowsNextPage_data()
{
    addSwitchRows();
}

void tst_CtlsStep::leavingCommitsThenShowsNextPage()
{
    QFETCH(SwitchWay, way);
    auto host = makeHost({Accepting, Accepting});
    showActive(*host);
    // As the main window does when the values become a new rule: the calls it
    // makes while handling Updated still reach the page being left.
    connect(host.get(), &CtlsStep::Updated, this, [&host] {
        callLog << QStringLiteral("Updated");
        host->UpdateCurCtl();
        host->ReShowCurCtl();
    });
    callLog.clear();

    switchForward(*host, way);

    QCOMPARE(host->currentIndex(), 1);
    QCOMPARE(callLog, QStringList({"Ctl1.Update", "Updated", "Ctl1.Update", "Ctl1.ReShow",
                                   "Ctl2.ReShow"}));
    QVERIFY(page(*host, 1)->isHidden());
    QVERIFY(page(*host, 2)->hiddenAtReShow);
    QVERIFY(page(*host, 2)->isVisible());
}

void tst_CtlsStep::refusalKeepsTab_data()
{
    addSwitchRows();
}

void tst_CtlsStep::refusalKeepsTab()
{
    QFETCH(SwitchWay, way);
    auto host = makeHost({Refusing, Accepting});
    showActive(*host);
    QSignalSpy updated(host.get(), &CtlsStep::Updated);
    MessageBoxAnswerer answerer;
    callLog.clear();

    switchForward(*host, way);

    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, QStringLiteral("错误信息"));
    QCOMPARE(answerer.text, RefusalText);
    QCOMPARE(answerer.icon, QMessageBox::Information);
    QCOMPARE(host->currentIndex(), 0);
    QCOMPARE(updated.count(), 0);
    QCOMPARE(callLog, QStringList("Ctl1.Update"));
    QVERIFY(page(*host, 1)->isVisible());
    QVERIFY(page(*host, 2)->isHidden());
    QCOMPARE(host->tabBar()->tabData(1).toString(), QString());
}

void tst_CtlsStep::stepBeyondEndsDoesNothing_data()
{
    QTest::addColumn<int>("startStep");
    QTest::addColumn<bool>("up");
    QTest::newRow("StepUp on the first tab") << 1 << true;
    QTest::newRow("StepDown on the last tab") << 2 << false;
}

void tst_CtlsStep::stepBeyondEndsDoesNothing()
{
    QFETCH(int, startStep);
    QFETCH(bool, up);
    auto host = makeHost({Refusing, Refusing}, startStep);
    MessageBoxAnswerer answerer;
    callLog.clear();

    up ? host->StepUp() : host->StepDown();

    QCOMPARE(host->currentIndex(), startStep - 1);
    QVERIFY(callLog.isEmpty());
    QCOMPARE(answerer.count, 0);
}

void tst_CtlsStep::unvisitedTabIsNeverAskedToCommit()
{
    auto host = makeHost({Accepting, Accepting, Accepting});

    host->setCurrentIndex(2);
    QVERIFY(host->UpdateCurCtl());
    host->setCurrentIndex(0);

    QCOMPARE(callLog.filter(QStringLiteral("Ctl2.")), QStringList("Ctl2.Init"));
    QCOMPARE(callLog.filter(QStringLiteral("Ctl3.")),
             QStringList({"Ctl3.Init", "Ctl3.ReShow", "Ctl3.Update", "Ctl3.Update"}));
}

void tst_CtlsStep::updateCurCtl_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("boxes");
    QTest::newRow("page accepts") << Accepting << true << QStringList("Ctl1.Update") << 0;
    QTest::newRow("page refuses") << Refusing << false << QStringList("Ctl1.Update") << 1;
    QTest::newRow("page not loaded") << Unregistered << true << QStringList() << 0;
}

void tst_CtlsStep::updateCurCtl()
{
    QFETCH(QString, type);
    QFETCH(bool, expected);
    QFETCH(QStringList, calls);
    QFETCH(int, boxes);
    auto host = makeHost({type});
    QSignalSpy updated(host.get(), &CtlsStep::Updated);
    MessageBoxAnswerer answerer;
    callLog.clear();

    QCOMPARE(host->UpdateCurCtl(), expected);

    QCOMPARE(callLog, calls);
    QCOMPARE(answerer.count, boxes);
    if (boxes)
        QCOMPARE(answerer.text, RefusalText);
    QCOMPARE(updated.count(), 0);
    if (QWidget *shown = host->currentPageWidget())
        QVERIFY(!shown->isHidden());
}

void tst_CtlsStep::reShowCurCtl_data()
{
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("loaded page") << QStringList(Accepting) << true << QStringList("Ctl1.ReShow");
    QTest::newRow("page not loaded") << QStringList(NoContract) << false << QStringList();
    QTest::newRow("no tabs at all") << QStringList() << false << QStringList();
}

void tst_CtlsStep::reShowCurCtl()
{
    QFETCH(QStringList, types);
    QFETCH(bool, expected);
    QFETCH(QStringList, calls);
    auto host = makeHost(types);
    callLog.clear();

    QCOMPARE(host->ReShowCurCtl(), expected);

    QCOMPARE(callLog, calls);
    QCOMPARE(host->errorBox()->isHidden(), types.isEmpty() || expected);
}

void tst_CtlsStep::minimumSizeFitsEveryPage_data()
{
    QTest::addColumn<QList<QSize>>("pageSizes");
    QTest::addColumn<QSize>("content");
    QTest::newRow("the wider page sets the width")
        << QList<QSize>{{200, 260}, {400, 100}} << QSize(400, 260);
    QTest::newRow("one page") << QList<QSize>{{300, 200}} << QSize(300, 200);
    QTest::newRow("pages smaller than the tab row") << QList<QSize>{{1, 1}, {1, 1}} << QSize(1, 1);
}

void tst_CtlsStep::minimumSizeFitsEveryPage()
{
    QFETCH(QList<QSize>, pageSizes);
    QFETCH(QSize, content);
    QStringList types;
    for (const QSize &size : pageSizes) {
        const QString type = QStringLiteral("Test.Sized%1x%2").arg(size.width()).arg(size.height());
        PageRegistry::instance().registerType(type, [size](QWidget *parent) {
            return recordingPage(parent, true, true, QString(), size);
        });
        types << type;
    }
    auto host = makeHost(types);

    QVERIFY(host->MinWidth() >= host->tabBar()->sizeHint().width());
    host->show();
    host->resize(1, 1);
    QCOMPARE(host->size(), QSize(host->MinWidth(), host->MinHeight()));
    // Shrunk to its minimum, the host still gives the pages and the error box
    // the room the largest page asks for.
    QCOMPARE(host->errorBox()->size().expandedTo(content), host->errorBox()->size());
    const auto pages = host->findChildren<QWidget *>(QRegularExpression(QStringLiteral("^Ctl\\d+$")));
    QCOMPARE(pages.size(), pageSizes.size());
    for (const QWidget *page : pages)
        QCOMPARE(page->size(), host->errorBox()->size());
}

QTEST_MAIN(tst_CtlsStep)
#include "tst_ctlsstep.moc"
