#include "app/frmCSS.h"

#include "about/frmAbout.h"
#include "app/AppSettings.h"
#include "app/ElidedLabel.h"
#include "app/MainActions.h"
#include "app/RecentFiles.h"
#include "app/RuleEditor.h"
#include "app/RuleFilterModel.h"
#include "app/RuleListModel.h"
#include "app/RuleListView.h"
#include "app/Stylesheet.h"
#include "css/modCSSFns.h"
#include "css/modStr.h"
#include "framework/AppInfo.h"
#include "framework/CtlsStep.h"
#include "framework/StepBase.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

namespace {

struct PageEntry
{
    QString caption;
    QString typeName;
};

const PageEntry pageTable[] = {
    {QStringLiteral("字体"), QStringLiteral("Quillmere.StyleFont")},
    {QStringLiteral("段落"), QStringLiteral("Quillmere.StylePara")},
    {QStringLiteral("边框"), QStringLiteral("Quillmere.Stylebox")},
    {QStringLiteral("背景"), QStringLiteral("Quillmere.Styleshade")},
    {QStringLiteral("编号方式"), QStringLiteral("Quillmere.Stylenumbering")},
    {QStringLiteral("定位"), QStringLiteral("Quillmere.StyleLocate")},
    {QStringLiteral("所有属性"), QStringLiteral("Quillmere.VvsEdit")},
    {QStringLiteral("查看效果"), QStringLiteral("Quillmere.cssPView")},
};

const QString cssFilter = QStringLiteral("CSS File(*.css)");
const QString fileFilters = cssFilter + QStringLiteral(";;所有文件(*.*)");

constexpr int listStartWidth = 220;
constexpr int listMinimumWidth = 140;
constexpr QSize startSize(900, 620);

// The system's reason, when there is one, on a line of its own.
QString cannotOpen(const QString &path, const QString &reason)
{
    const QString message = QStringLiteral("文件[") + path + QStringLiteral("]不能打开。");
    return reason.isEmpty() ? message : message + u'\n' + reason;
}

} // namespace

// The page host as the rule editor sees it.
class frmCSS::PageHost : public PageHostPort
{
public:
    explicit PageHost(CtlsStep *host) : m_host(host) {}
    bool commitPage() override { return m_host->UpdateCurCtl(); }
    void showPage() override { m_host->ReShowCurCtl(); }
    void setPagesEnabled(bool enabled) override { m_host->setPagesEnabled(enabled); }

private:
    CtlsStep *m_host;
};

frmCSS::frmCSS(QWidget *parent)
    : QMainWindow(parent)
    , m_document(new Stylesheet(this))
    , m_model(new StepBase(this))
    , m_rules(new RuleListModel(m_document, this))
    , m_filter(new RuleFilterModel(m_rules, this))
{
    setObjectName(QStringLiteral("frmCSS"));
    setWindowTitle(QStringLiteral("澜石CSS编辑器[*]"));
    setAcceptDrops(true);
    connect(m_document, &Stylesheet::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_document, &Stylesheet::formatChanged, this, &frmCSS::showFileFormat);

    m_actions = new MainActions(this);
    buildLayout();
    connectCommands();
    InitPageHost();
    m_pageHost = std::make_unique<PageHost>(csCSS);
    m_editor = new RuleEditor(*m_document, m_model->Values(), *m_pageHost, this);
    connect(m_editor, &RuleEditor::currentChanged, this, &frmCSS::moveListTo);
    connect(m_editor, &RuleEditor::statusTextChanged, this, &frmCSS::SetStatus);
    resize(startSize);
    restoreWindowState();
}

frmCSS::~frmCSS()
{
    // The pages hold the model's values; they go before the model does.
    delete takeCentralWidget();
}

void frmCSS::buildLayout()
{
    csCSS = new CtlsStep;
    csCSS->setObjectName(QStringLiteral("csCSS"));

    // Only the host grows with the window; the list keeps its width unless the
    // user drags the handle.
    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(buildRulePane());
    m_splitter->addWidget(csCSS);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({listStartWidth, startSize.width() - listStartWidth});
    setCentralWidget(m_splitter);
    buildStatusBar();

    connect(lstStyle->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_changingList && current.isValid())
                    lstStyle_ItemClick(current);
            });
    // A click on the rule that is already current selects it again: the page's
    // edits are committed and read back. A press that changes the current row
    // has run the selection already, so only presses on the current row count.
    lstStyle->viewport()->installEventFilter(this);
    connect(lstStyle, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (!m_pathAtPress.isEmpty() && pathOf(index) == m_pathAtPress)
            lstStyle_ItemClick(index);
    });
    connect(m_rules, &RuleListModel::selectorEdited, this,
            [this](const EntryPath &path) { lstStyle_AfterLabelEdit(path); });
    // Groups show what they hold from the start, and so do blocks pasted or
    // brought back by undo.
    connect(m_rules, &QAbstractItemModel::modelReset, this,
            [this] { expandBlocks({}, 0, m_rules->rowCount() - 1); });
    connect(m_rules, &QAbstractItemModel::rowsInserted, this, &frmCSS::expandBlocks);
    connect(csCSS, &CtlsStep::Updated, this, [this] { csCSS_Updated(); });
}

QWidget *frmCSS::buildRulePane()
{
    m_filterField = new QLineEdit;
    m_filterField->setObjectName(QStringLiteral("txtFilter"));
    m_filterField->setPlaceholderText(QStringLiteral("筛选选择器"));
    m_filterField->setAccessibleName(QStringLiteral("筛选选择器"));
    m_filterField->setClearButtonEnabled(true);
    m_filterField->installEventFilter(this);
    connect(m_filterField, &QLineEdit::textChanged, this, &frmCSS::filterRules);
    auto *findRule = new QShortcut(QKeySequence::Find, this);
    connect(findRule, &QShortcut::activated, this, [this] {
        m_filterField->setFocus(Qt::ShortcutFocusReason);
        m_filterField->selectAll();
    });

    lstStyle = new RuleListView;
    lstStyle->setObjectName(QStringLiteral("lstStyle"));
    lstStyle->setAccessibleName(QStringLiteral("Select"));
    lstStyle->setModel(m_filter);
    lstStyle->setMinimumWidth(listMinimumWidth);
    lstStyle->setNameCheck([this](const QModelIndex &listIndex, const QString &name) {
        return m_rules->canRename(m_filter->mapToSource(listIndex), name);
    });
    lstStyle->addAction(m_actions->deleteRule);

    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_filterField);
    layout->addWidget(lstStyle, 1);
    return pane;
}

void frmCSS::buildStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("sBar"));
    m_statusText = new ElidedLabel;
    m_statusText->setObjectName(QStringLiteral("sBarText"));
    m_statusText->setContentsMargins(4, 0, 4, 0);
    statusBar()->addWidget(m_statusText, 1);
    // How the next save writes the file: encoding and line end.
    m_formatText = new QLabel;
    m_formatText->setObjectName(QStringLiteral("sBarFormat"));
    m_formatText->setContentsMargins(4, 0, 4, 0);
    statusBar()->addPermanentWidget(m_formatText);
}

void frmCSS::restoreWindowState()
{
    const AppSettings settings;
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    m_splitter->restoreState(settings.value(QStringLiteral("window/splitter")).toByteArray());
}

void frmCSS::saveWindowState() const
{
    AppSettings settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/splitter"), m_splitter->saveState());
}

void frmCSS::connectCommands()
{
    connect(m_actions->newFile, &QAction::triggered, this, &frmCSS::askNewFile);
    connect(m_actions->open, &QAction::triggered, this, &frmCSS::ShowOpenDialog);
    connect(m_actions->save, &QAction::triggered, this, &frmCSS::SaveFile);
    connect(m_actions->saveAs, &QAction::triggered, this, &frmCSS::SaveFileAs);
    connect(m_actions->exit, &QAction::triggered, this, &QWidget::close);
    // Cut copies too: a rule leaves the list only through delete.
    connect(m_actions->cut, &QAction::triggered, this, &frmCSS::copyRule);
    connect(m_actions->copy, &QAction::triggered, this, &frmCSS::copyRule);
    connect(m_actions->paste, &QAction::triggered, this, &frmCSS::pasteRules);
    connect(m_actions->newRule, &QAction::triggered, this, &frmCSS::startNewRule);
    connect(m_actions->deleteRule, &QAction::triggered, this, &frmCSS::DeleteCurrentRule);
    connect(m_actions->webSite, &QAction::triggered, this, &frmCSS::openWebSite);
    connect(m_actions->about, &QAction::triggered, this, &frmCSS::showAbout);
    connect(m_actions->undo, &QAction::triggered, this, &frmCSS::undo);
    connect(m_actions->redo, &QAction::triggered, this, &frmCSS::redo);
    QUndoStack *steps = m_document->undoStack();
    m_actions->undo->setEnabled(false);
    m_actions->redo->setEnabled(false);
    connect(steps, &QUndoStack::canUndoChanged, m_actions->undo, &QAction::setEnabled);
    connect(steps, &QUndoStack::canRedoChanged, m_actions->redo, &QAction::setEnabled);

    auto *recentMenu = new QMenu(QStringLiteral("最近打开的文件"), this);
    recentMenu->setObjectName(QStringLiteral("mmRecent"));
    m_actions->fileMenu()->insertMenu(m_actions->exit, recentMenu);
    m_actions->fileMenu()->insertSeparator(m_actions->exit);
    m_recent = new RecentFiles(recentMenu, this);
    connect(m_recent, &RecentFiles::openRequested, this, &frmCSS::openRecent);
}

void frmCSS::InitPageHost()
{
    for (const PageEntry &page : pageTable)
        m_model->Items().Add(page.caption, page.typeName);
    csCSS->Init(m_model);
}

void frmCSS::start(const QString &commandLine)
{
    // Let the window be drawn before a large file is read.
    QCoreApplication::processEvents();
    if (commandLine.isEmpty())
        NewFile();
    else
        LoadFile(StripQuotes(commandLine));
}

void frmCSS::setCaption(const QString &documentName)
{
    // "[*]" is Qt's modified-mark placeholder; a literal one in a path is doubled.
    QString name = documentName;
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(name + QStringLiteral("[*] - ") + AppInfo::Title);
}

void frmCSS::SetStatus(const QString &text)
{
    m_statusText->setFullText(text);
}

// ---- Rule list and page-host synchronisation ----

void frmCSS::lstStyle_ItemClick(const QModelIndex &listIndex)
{
    lstStyle->commitOpenEditor();
    if (m_editor->select(pathOf(listIndex)))
        return;
    // The page keeps its value for correcting: the list goes back to its rule.
    QMetaObject::invokeMethod(
        this, [this] { pinInList(m_editor->current()); }, Qt::QueuedConnection);
}

void frmCSS::lstStyle_AfterLabelEdit(const EntryPath &path)
{
    if (path == m_editor->current())
        SetStatus(m_document->ruleText(path));
}

void frmCSS::csCSS_Updated()
{
    m_editor->pageLeft();
}

void frmCSS::moveListTo(const EntryPath &path)
{
    if (!path.isEmpty() && pathOf(lstStyle->currentIndex()) == path) {
        // A click chose it. The entry left may drop out of a filtered list,
        // but not while the list is still handling the click.
        QMetaObject::invokeMethod(
            this, [this, path] { pinInList(path); }, Qt::QueuedConnection);
        return;
    }
    pinInList(path);
}

// A new filter shows the list afresh, so the entry is made current in it again.
void frmCSS::pinInList(const EntryPath &path)
{
    QScopedValueRollback<bool> listOnly(m_changingList, true);
    m_filter->setPinned(path);
    const QModelIndex shown = listIndexOf(path);
    if (lstStyle->currentIndex() != shown || !shown.isValid())
        lstStyle->setCurrentIndex(shown);
    if (shown.isValid())
        lstStyle->scrollTo(shown);
}

// Only the rows holding entries are visited: asking the view to expand all
// would ask every one of a hundred thousand rules.
void frmCSS::expandBlocks(const QModelIndex &parent, int first, int last)
{
    for (int row = first; row <= last; ++row) {
        if (!m_rules->entryAt(parent, row).holdsEntries())
            continue;
        const QModelIndex block = m_rules->index(row, 0, parent);
        lstStyle->expand(m_filter->mapFromSource(block));
        expandBlocks(block, 0, m_rules->rowCount(block) - 1);
    }
}

EntryPath frmCSS::pathOf(const QModelIndex &listIndex) const
{
    return m_rules->pathOf(m_filter->mapToSource(listIndex));
}

QModelIndex frmCSS::listIndexOf(const EntryPath &path) const
{
    return m_filter->mapFromSource(m_rules->indexOf(path));
}

void frmCSS::filterRules(const QString &text)
{
    {
        QScopedValueRollback<bool> listOnly(m_changingList, true);
        m_filter->setFilterText(text);
    }
    pinInList(m_editor->current());
}

bool frmCSS::collectPendingEdits()
{
    lstStyle->commitOpenEditor();
    return m_editor->collectPendingEdits();
}

void frmCSS::NewRule()
{
    m_editor->newRule();
}

void frmCSS::DeleteCurrentRule()
{
    QScopedValueRollback<bool> listOnly(m_changingList, true);
    m_editor->deleteCurrent(shownNeighbour(listIndexOf(m_editor->current())));
}

// The row the user sees after the given one, else before it, else the block
// holding it: with a filter set, the entries between them are hidden.
EntryPath frmCSS::shownNeighbour(const QModelIndex &listIndex) const
{
    if (!listIndex.isValid())
        return {};
    for (const int row : {listIndex.row() + 1, listIndex.row() - 1}) {
        const QModelIndex beside = listIndex.siblingAtRow(row);
        if (beside.isValid())
            return pathOf(beside);
    }
    return pathOf(listIndex.parent());
}

// ---- Stylesheet files ----

void frmCSS::NewFile()
{
    lstStyle->commitOpenEditor();
    m_document->clear();
    showNewDocument();
    SetStatus(QStringLiteral("新建文建完成。"));
}

void frmCSS::showNewDocument()
{
    m_editor->showFirst();
    setCaption(QStringLiteral("新文件"));
    showFileFormat();
}

bool frmCSS::LoadFile(const QString &path)
{
    lstStyle->commitOpenEditor();
    const QString previousPath = m_document->path();
    const int previousCount = m_document->count();
    if (!m_document->load(path)) {
        showError(cannotOpen(path, m_document->errorString()));
        // A file that failed while it was read leaves a new stylesheet.
        if (m_document->path() != previousPath || m_document->count() != previousCount)
            showNewDocument();
        return false;
    }
    setCaption(path);
    showFileFormat();
    rememberFile(path);
    // Also without rules: the pages must not keep the previous file's rule.
    m_editor->showFirst();
    reportLoadedEncoding();
    return true;
}

void frmCSS::showFileFormat()
{
    const TextFormat &format = m_document->format();
    const QString lineEnd = format.lineEnd == QStringLiteral("\r\n") ? QStringLiteral("CRLF")
        : format.lineEnd == QStringLiteral("\r")                    ? QStringLiteral("CR")
                                                                     : QStringLiteral("LF");
    const QString bom = format.byteOrderMark ? QStringLiteral(" BOM") : QString();
    m_formatText->setText(QString::fromLatin1(format.encoding) + bom + QStringLiteral(" · ") + lineEnd);
}

void frmCSS::rememberFile(const QString &path)
{
    m_recent->add(path);
}

void frmCSS::reportLoadedEncoding()
{
    const TextFormat &format = m_document->format();
    if (format.source == TextFormat::EncodingSource::Guessed)
        SetStatus(QStringLiteral("文件编码猜测为 %1。").arg(QString::fromLatin1(format.encoding)));
    else if (format.source == TextFormat::EncodingSource::KeptBytes)
        SetStatus(QStringLiteral("无法识别文件编码，字节按原样读入并保存。"));
}

bool frmCSS::SaveFile()
{
    if (m_document->path().isEmpty())
        return SaveFileAs();
    return WriteFile(m_document->path());
}

bool frmCSS::SaveFileAs()
{
    if (!collectPendingEdits())
        return false;
    QFileDialog dialog(this, QString(), m_document->path(), fileFilters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A bare name typed under the CSS filter gets ".css", as desktop editors do.
    dialog.setDefaultSuffix(QStringLiteral("css"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        dialog.setDefaultSuffix(filter == cssFilter ? QStringLiteral("css") : QString());
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    return WriteFile(dialog.selectedFiles().constFirst());
}

bool frmCSS::WriteFile(const QString &path)
{
    if (!collectPendingEdits())
        return false;
    Stylesheet::SaveResult result = m_document->save(path);
    if (result == Stylesheet::SaveResult::Unencodable && offerUtf8())
        result = m_document->save(path);
    switch (result) {
    case Stylesheet::SaveResult::Saved:
        setCaption(path);
        showFileFormat();
        rememberFile(path);
        SetStatus(QStringLiteral("文件[") + path + QStringLiteral("]保存完成。"));
        return true;
    case Stylesheet::SaveResult::CannotCreate:
        showError(cannotOpen(path, m_document->errorString()));
        return false;
    case Stylesheet::SaveResult::Unencodable:
        return false;
    case Stylesheet::SaveResult::Failed:
        showError(QStringLiteral("文件[") + QDir::toNativeSeparators(path)
                  + QStringLiteral("]保存失败：") + m_document->errorString());
        return false;
    }
    return false;
}

bool frmCSS::offerUtf8()
{
    // Bytes read as they were are no text: turning them into UTF-8 would
    // garble every rule the user never touched.
    if (m_document->format().source == TextFormat::EncodingSource::KeptBytes) {
        showError(QStringLiteral("文件的编码无法识别，字节按原样读入，只能按原样保存；"
                                 "新输入的文字中有这样不能保存的字符。"));
        return false;
    }
    const QString encoding = QString::fromLatin1(m_document->format().encoding);
    QMessageBox box(QMessageBox::Warning, AppInfo::Title,
                    QStringLiteral("样式表中有 %1 编码不能保存的文字。是否改用 UTF-8 编码保存？")
                        .arg(encoding),
                    QMessageBox::Yes | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() != QMessageBox::Yes)
        return false;
    m_document->convertToUtf8();
    if (m_editor->current() == EntryPath(0))
        SetStatus(m_document->ruleText(0));
    return true;
}

QString frmCSS::FilePath() const
{
    return m_document->path();
}

bool frmCSS::maybeSave()
{
    if (!collectPendingEdits())
        return false;
    if (!m_document->isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, AppInfo::Title,
                    QStringLiteral("样式表已被修改，是否保存？"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveFile();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool frmCSS::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstStyle->viewport() && event->type() == QEvent::MouseButtonPress)
        m_pathAtPress = m_editor->current();
    if (watched == m_filterField && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && !m_filterField->text().isEmpty()) {
        m_filterField->clear();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmCSS::closeEvent(QCloseEvent *event)
{
    if (maybeSave()) {
        saveWindowState();
        event->accept();
    } else {
        event->ignore();
    }
}

void frmCSS::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void frmCSS::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return;
    event->acceptProposedAction();
    // Several files: the first is opened, as a window holds one stylesheet.
    if (maybeSave())
        LoadFile(urls.constFirst().toLocalFile());
}

void frmCSS::showError(const QString &text)
{
    QMessageBox::critical(this, AppInfo::Title, text);
}

// ---- Commands ----

void frmCSS::askNewFile()
{
    if (maybeSave())
        NewFile();
}

void frmCSS::ShowOpenDialog()
{
    if (!maybeSave())
        return;
    const QString path = QFileDialog::getOpenFileName(this, QString(), m_document->path(),
                                                      fileFilters);
    if (!path.isEmpty())
        LoadFile(path);
}

void frmCSS::startNewRule()
{
    NewRule();
    lstStyle->setFocus();
    lstStyle->edit(listIndexOf(m_editor->current()));
}

void frmCSS::copyRule()
{
    if (!collectPendingEdits())
        return;
    if (!m_editor->hasCurrent()) {
        QApplication::beep();
        SetStatus(QStringLiteral("必须有可操作的条目。"));
        return;
    }
    QGuiApplication::clipboard()->setText(m_document->savedText(m_editor->current()));
    SetStatus(QStringLiteral("当前条目复制完成。"));
}

void frmCSS::pasteRules()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        QApplication::beep();
        SetStatus(QStringLiteral("没有可粘贴的内容。"));
        return;
    }
    m_document->paste(text);
}

void frmCSS::undo()
{
    lstStyle->commitOpenEditor();
    QScopedValueRollback<bool> listOnly(m_changingList, true);
    m_editor->undo();
}

void frmCSS::redo()
{
    lstStyle->commitOpenEditor();
    QScopedValueRollback<bool> listOnly(m_changingList, true);
    m_editor->redo();
}

void frmCSS::openRecent(const QString &path)
{
    if (!maybeSave())
        return;
    if (!LoadFile(path))
        m_recent->remove(path);
}

void frmCSS::showAbout()
{
    frmAbout about(this);
    about.exec();
}

void frmCSS::openWebSite()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral(QUILLMERE_WEBSITE)));
}
