#include "framework/CtlsStep.h"

#include "framework/PageContract.h"
#include "framework/PageRegistry.h"
#include "framework/StepBase.h"

#include <QKeySequence>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

#include <vector>

namespace {

// Kept in a tab's data once the tab has been activated; only such tabs are
// asked to commit, so a page never shown never writes into the values.
const QString VisitedMark = QStringLiteral("selected");

const QString HostName = QStringLiteral("属性页");
const QString TabBarName = QStringLiteral("属性页标签");
const QString ErrorBoxName = QStringLiteral("装载错误");

// The space a page asks for: its preferred size within its own limits.
QSize neededSize(const QWidget *page)
{
    return page->sizeHint()
        .expandedTo(page->minimumSizeHint())
        .expandedTo(page->minimumSize())
        .boundedTo(page->maximumSize());
}

} // namespace

struct CtlsStep::Private
{
    explicit Private(CtlsStep *host);

    void addShortcut(const QKeySequence &keys, void (CtlsStep::*step)());
    void addTab(const StepItem &entry);
    QWidget *loadPage(StepItem &entry);
    bool passesContract(QWidget *widget, StepItem &entry);
    void setContentSize(const QSize &content);
    int frameWidth() const;
    QRect paneRect() const;
    void placeChildren();

    void tabChanged(int index);
    bool leaveTab(int index);
    void activateCurrent();
    // The tab whose page the host's Update and ReShow calls act on.
    int activeIndex() const;
    bool isVisited(int index) const;
    QWidget *pageWidget(int index) const;
    IPage *page(int index) const;
    void showRefusal(const IPage &refusing);

    CtlsStep *q;
    QTabBar *tabBar;
    QPlainTextEdit *errorBox;
    QPointer<StepBase> base;
    std::vector<StepItemPtr> entries; // one per tab, in tab order
    int shownIndex = -1;              // the tab whose page is on show
    int pageCounter = 0;              // pages created so far, failures included
    bool pagesEnabled = true;
    QSize minimumSize{0, 0};
};

CtlsStep::Private::Private(CtlsStep *host)
    : q(host)
    , tabBar(new QTabBar(host))
    , errorBox(new QPlainTextEdit(QStringLiteral("该控件不能被装载！"), host))
{
    tabBar->setObjectName(QStringLiteral("sTab"));
    tabBar->setAccessibleName(TabBarName);
    tabBar->setFocusPolicy(Qt::StrongFocus);
    tabBar->setExpanding(false);

    errorBox->setObjectName(QStringLiteral("txtErrInfo"));
    errorBox->setAccessibleName(ErrorBoxName);
    errorBox->setReadOnly(true);
    errorBox->hide();

    q->setAccessibleName(HostName);
    q->setFocusProxy(tabBar);

    // QTabBar knows only the arrow keys; these are the usual keys of a tab widget.
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), &CtlsStep::StepDown);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), &CtlsStep::StepDown);
    addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), &CtlsStep::StepUp);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), &CtlsStep::StepUp);

    // QTabBar has no cancellable notification before the change, so the change is
    // undone afterwards when the page being left refuses to commit.
    QObject::connect(tabBar, &QTabBar::currentChanged, q, [this](int index) { tabChanged(index); });
}

void CtlsStep::Private::addShortcut(const QKeySequence &keys, void (CtlsStep::*step)())
{
    auto *shortcut = new QShortcut(keys, q);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, q, step);
}

void CtlsStep::Private::addTab(const StepItem &entry)
{
    const int index = tabBar->addTab(entry.Title);
    tabBar->setTabToolTip(index, entry.ToolTipText);
    tabBar->setTabData(index, QString());
}

QWidget *CtlsStep::Private::loadPage(StepItem &entry)
{
    ++pageCounter;
    entry.ctl = nullptr;
    QString error;
    QWidget *widget = PageRegistry::instance().create(entry.ctlName, q, &error);
    if (!widget) {
        entry.ErrInfo = error;
        return nullptr;
    }
    if (widget->parentWidget() != q)
        widget->setParent(q);
    widget->setObjectName(QStringLiteral("Ctl%1").arg(pageCounter));
    widget->setEnabled(pagesEnabled);
    widget->hide();
    if (!passesContract(widget, entry))
        return nullptr; // stays a hidden child; the host still owns it
    entry.ctl = widget;
    entry.ErrInfo.clear();
    return widget;
}

bool CtlsStep::Private::passesContract(QWidget *widget, StepItem &entry)
{
    IPage *contract = dynamic_cast<IPage *>(widget);
    if (!contract) {
        entry.ErrInfo = QStringLiteral("控件不支持预定义的函数接口。");
        return false;
    }
    if (!contract->Init(base->Values())) {
        entry.ErrInfo = contract->ErrString();
        return false;
    }
    return true;
}

void CtlsStep::Private::setContentSize(const QSize &content)
{
    // The tab row should fit whole too, without scroll buttons.
    const QSize bar = tabBar->sizeHint();
    const int frame = 2 * frameWidth();
    minimumSize = QSize(qMax(bar.width(), content.width() + frame),
                        bar.height() + content.height() + frame);
    q->setMinimumSize(minimumSize);
}

int CtlsStep::Private::frameWidth() const
{
    return q->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, q);
}

QRect CtlsStep::Private::paneRect() const
{
    const int barHeight = tabBar->sizeHint().height();
    return QRect(0, barHeight, q->width(), qMax(0, q->height() - barHeight));
}

void CtlsStep::Private::placeChildren()
{
    tabBar->setGeometry(0, 0, q->width(), tabBar->sizeHint().height());
    const int frame = frameWidth();
    const QRect client = paneRect().adjusted(frame, frame, -frame, -frame);
    for (int index = 0; index < int(entries.size()); ++index) {
        if (QWidget *widget = pageWidget(index))
            widget->setGeometry(client);
    }
    errorBox->setGeometry(client);
}

void CtlsStep::Private::tabChanged(int index)
{
    if (!base || index == shownIndex)
        return;
    if (leaveTab(shownIndex))
        activateCurrent();
}

bool CtlsStep::Private::leaveTab(int index)
{
    if (index < 0 || !isVisited(index))
        return true;
    IPage *contract = page(index);
    if (!contract) {
        errorBox->hide();
        return true;
    }
    if (!contract->Update()) {
        // Back to the refusing tab before anything of the new one is shown.
        const QSignalBlocker blocker(tabBar);
        tabBar->setCurrentIndex(index);
        showRefusal(*contract);
        return false;
    }
    emit q->Updated();
    pageWidget(index)->hide();
    return true;
}

void CtlsStep::Private::activateCurrent()
{
    shownIndex = tabBar->currentIndex();
    if (shownIndex < 0)
        return;
    tabBar->setTabData(shownIndex, VisitedMark);
    q->ReShowCurCtl();
}

int CtlsStep::Private::activeIndex() const
{
    // While a tab is being left the bar already shows the next one, but until
    // its page is activated the page on show is still the one being left.
    return shownIndex >= 0 ? shownIndex : tabBar->currentIndex();
}

bool CtlsStep::Private::isVisited(int index) const
{
    return tabBar->tabData(index).toString().compare(VisitedMark, Qt::CaseInsensitive) == 0;
}

QWidget *CtlsStep::Private::pageWidget(int index) const
{
    if (index < 0 || index >= int(entries.size()))
        return nullptr;
    return qobject_cast<QWidget *>(entries[index]->ctl.data());
}

IPage *CtlsStep::Private::page(int index) const
{
    return dynamic_cast<IPage *>(pageWidget(index));
}

void CtlsStep::Private::showRefusal(const IPage &refusing)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("错误信息"), refusing.ErrString(),
                    QMessageBox::Ok, q);
    box.exec();
}

CtlsStep::CtlsStep(QWidget *parent)
    : QWidget(parent)
    , d(new Private(this))
{
}

CtlsStep::~CtlsStep()
{
    // The children outlive this body; a late tab change must not reach d.
    QObject::disconnect(d->tabBar, nullptr, this, nullptr);
    if (d->base) {
        for (const StepItemPtr &entry : d->base->Items())
            entry->ctl = nullptr;
    }
    delete d;
}

void CtlsStep::Init(StepBase *model)
{
    if (d->base || !model)
        return;
    d->base = model;
    QSize content(0, 0);
    {
        // Tabs are built quietly; the start tab is activated once, below.
        const QSignalBlocker blocker(d->tabBar);
        for (const StepItemPtr &entry : model->Items()) {
            d->entries.push_back(entry);
            d->addTab(*entry);
            if (const QWidget *widget = d->loadPage(*entry))
                content = content.expandedTo(neededSize(widget));
        }
        if (model->StartStep > 0)
            d->tabBar->setCurrentIndex(model->StartStep - 1);
    }
    d->setContentSize(content);
    d->placeChildren();
    d->activateCurrent();
}

bool CtlsStep::UpdateCurCtl()
{
    const int index = d->activeIndex();
    if (index < 0 || !d->isVisited(index))
        return true;
    IPage *contract = d->page(index);
    if (!contract || contract->Update())
        return true;
    d->showRefusal(*contract);
    return false;
}

bool CtlsStep::ReShowCurCtl()
{
    const int index = d->activeIndex();
    if (index < 0 || index >= int(d->entries.size()))
        return false;
    IPage *contract = d->page(index);
    if (!contract) {
        const StepItem &entry = *d->entries[index];
        d->errorBox->setPlainText(QStringLiteral("控件[") + entry.ctlName + QStringLiteral("]不能正确装载：\n") + entry.ErrInfo);
        d->errorBox->show();
        return false;
    }
    contract->ReShow();
    d->pageWidget(index)->show();
    return true;
}

void CtlsStep::StepUp()
{
    const int index = currentIndex();
    if (index > 0)
        setCurrentIndex(index - 1);
}

void CtlsStep::StepDown()
{
    const int index = currentIndex();
    if (index >= 0 && index < d->tabBar->count() - 1)
        setCurrentIndex(index + 1);
}

int CtlsStep::MinWidth() const
{
    return d->minimumSize.width();
}

int CtlsStep::MinHeight() const
{
    return d->minimumSize.height();
}

QTabBar *CtlsStep::tabBar() const
{
    return d->tabBar;
}

int CtlsStep::currentIndex() const
{
    return d->tabBar->currentIndex();
}

void CtlsStep::setCurrentIndex(int index)
{
    d->tabBar->setCurrentIndex(index);
}

IPage *CtlsStep::currentPage() const
{
    return d->page(currentIndex());
}

void CtlsStep::setPagesEnabled(bool enabled)
{
    d->pagesEnabled = enabled;
    for (int index = 0; index < int(d->entries.size()); ++index) {
        if (QWidget *widget = d->pageWidget(index))
            widget->setEnabled(enabled);
    }
}

QWidget *CtlsStep::currentPageWidget() const
{
    return d->pageWidget(currentIndex());
}

QPlainTextEdit *CtlsStep::errorBox() const
{
    return d->errorBox;
}

void CtlsStep::paintEvent(QPaintEvent *)
{
    // The frame a tab widget draws around its pages, so the pages read as the
    // tabs' contents.
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = d->paneRect();
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = d->frameWidth();
    frame.tabBarSize = d->tabBar->sizeHint();
    frame.tabBarRect = d->tabBar->geometry();
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

void CtlsStep::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    d->placeChildren();
}
