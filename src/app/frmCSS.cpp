#include "app/frmCSS.h"

#include "about/frmAbout.h"
#include "app/AppTexts.h"
#include "app/MainActions.h"
#include "css/CSSTextRead.h"
#include "css/LineFeed.h"
#include "css/modCSSFns.h"
#include "css/modStr.h"
#include "framework/AppInfo.h"
#include "framework/CtlsStep.h"
#include "framework/StepBase.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeView>
#include <QUrl>

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

constexpr int listStartWidth = 220;
constexpr int listMinimumWidth = 140;
constexpr QSize startSize(900, 620);

// Declarations in the form the pages would write them back, to tell a real
// edit from a mere reformatting of what the rule already says.
QString normalisedDeclarations(const QString &declarations)
{
    VValues values;
    ParseDeclarations(values, declarations);
    return FormatDeclarations(values);
}

} // namespace

frmCSS::frmCSS(QWidget *parent)
    : QMainWindow(parent)
    , cssR(new CSSTextRead(this))
    , m_model(new StepBase(this))
    , m_rules(new RuleListModel(this))
{
    setObjectName(QStringLiteral("frmCSS"));
    setWindowTitle(AppTexts::designCaption + QStringLiteral("[*]"));
    connect(cssR, &CSSTextRead::FindSelector, this,
            [this](const QString &selector, const QString &declarations) {
                m_readRules.push_back({selector, declarations});
            });

    m_actions = new MainActions(this);
    buildLayout();
    connectCommands();
    InitPageHost();
    resize(startSize);
}

frmCSS::~frmCSS()
{
    // The pages hold the model's values; they go before the model does.
    delete takeCentralWidget();
}

void frmCSS::buildLayout()
{
    lstStyle = new QTreeView;
    lstStyle->setObjectName(QStringLiteral("lstStyle"));
    lstStyle->setAccessibleName(AppTexts::listHeader);
    lstStyle->setModel(m_rules);
    lstStyle->setRootIsDecorated(false);
    lstStyle->setItemsExpandable(false);
    lstStyle->setUniformRowHeights(true);
    lstStyle->setSelectionMode(QAbstractItemView::SingleSelection);
    lstStyle->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    lstStyle->header()->setSectionsMovable(false);
    lstStyle->setMinimumWidth(listMinimumWidth);
    lstStyle->addAction(m_actions->deleteRuleAction());

    csCSS = new CtlsStep;
    csCSS->setObjectName(QStringLiteral("csCSS"));

    // Only the host grows with the window; the list keeps its width unless the
    // user drags the handle.
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(lstStyle);
    splitter->addWidget(csCSS);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({listStartWidth, startSize.width() - listStartWidth});
    setCentralWidget(splitter);

    statusBar()->setObjectName(QStringLiteral("sBar"));
    m_statusText = new QLabel;
    m_statusText->setObjectName(QStringLiteral("sBarText"));
    m_statusText->setTextFormat(Qt::PlainText);
    m_statusText->setContentsMargins(4, 0, 4, 0);
    // A long rule text must not widen the window.
    m_statusText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(m_statusText, 1);

    connect(lstStyle->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_changingList && current.isValid())
                    lstStyle_ItemClick(current.row());
            });
    // A click on the rule that is already current selects it again: the page's
    // edits are committed and read back. A press that changes the current row
    // has run the selection already, so only presses on the current row count.
    lstStyle->viewport()->installEventFilter(this);
    connect(lstStyle, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (index.row() == m_rowAtPress)
            lstStyle_ItemClick(index.row());
    });
    connect(m_rules, &RuleListModel::selectorEdited, this,
            [this](int row) { lstStyle_AfterLabelEdit(row); });
    connect(csCSS, &CtlsStep::Updated, this, [this] { csCSS_Updated(); });
}

void frmCSS::connectCommands()
{
    connect(m_actions, &MainActions::fileCommand, this, [this](int index) { mmFiles_Click(index); });
    connect(m_actions, &MainActions::editCommand, this, [this](int index) { mmEdits_Click(index); });
    connect(m_actions, &MainActions::exitCommand, this, [this] { close(); });
    connect(m_actions, &MainActions::newRuleCommand, this, [this] { startNewRule(); });
    connect(m_actions, &MainActions::deleteRuleCommand, this, [this] { DeleteCurrentRule(); });
    connect(m_actions, &MainActions::webSiteCommand, this, [this] { openWebSite(); });
    connect(m_actions, &MainActions::aboutCommand, this, [this] { showAbout(); });
    connect(m_actions, &MainActions::toolbarKeyClicked, this,
            [this](const QString &key) { tBar_ButtonClick(key); });
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
    setWindowTitle(name + QStringLiteral("[*]") + AppTexts::captionSeparator + AppInfo::Title);
}

void frmCSS::SetStatus(const QString &text)
{
    m_statusText->setText(text);
}

QString frmCSS::statusText() const
{
    return m_statusText->text();
}

// ---- Rule list and page-host synchronisation ----

void frmCSS::lstStyle_ItemClick(int row)
{
    CommitCurrentRule();
    m_current = row;
    SetStatus(m_rules->ruleText(row));
    m_model->Values().Clear();
    ParseDeclarations(m_model->Values(), m_rules->rule(row).declarations);
    csCSS->ReShowCurCtl();
}

void frmCSS::lstStyle_AfterLabelEdit(int row)
{
    SetStatus(m_rules->ruleText(row));
    setWindowModified(true);
}

void frmCSS::csCSS_Updated()
{
    if (m_current >= 0) {
        storeValuesInCurrentRule();
    } else {
        const QString declarations = FormatDeclarations(m_model->Values());
        // Nothing typed on a new or emptied stylesheet is no rule.
        if (declarations.isEmpty())
            return;
        const int row = m_rules->appendRules({{AppTexts::newRuleSelector, declarations}});
        setWindowModified(true);
        selectEntry(row);
    }
    SetStatus(m_rules->ruleText(m_current));
}

void frmCSS::selectEntry(int row)
{
    {
        QScopedValueRollback<bool> listOnly(m_changingList, true);
        lstStyle->setCurrentIndex(m_rules->index(row));
    }
    lstStyle->scrollTo(m_rules->index(row));
    lstStyle_ItemClick(row);
}

void frmCSS::CommitCurrentRule()
{
    csCSS->UpdateCurCtl();
    if (m_current >= 0)
        storeValuesInCurrentRule();
}

void frmCSS::storeValuesInCurrentRule()
{
    const QString declarations = FormatDeclarations(m_model->Values());
    const QString &stored = m_rules->rule(m_current).declarations;
    // Keep the text as read unless the declarations really changed.
    if (declarations == stored || declarations == normalisedDeclarations(stored))
        return;
    m_rules->setDeclarations(m_current, declarations);
    setWindowModified(true);
}

bool frmCSS::collectPendingEdits()
{
    // The same as leaving the page's tab: the page commits, then Updated.
    if (!csCSS->UpdateCurCtl())
        return false;
    csCSS_Updated();
    return true;
}

void frmCSS::NewRule()
{
    CommitCurrentRule();
    const int row = m_rules->appendRules({{AppTexts::newRuleSelector, QString()}});
    setWindowModified(true);
    selectEntry(row);
}

void frmCSS::DeleteCurrentRule()
{
    if (m_current < 0)
        return;
    const int row = m_current;
    {
        QScopedValueRollback<bool> listOnly(m_changingList, true);
        m_rules->removeRule(row);
    }
    m_current = -1;
    setWindowModified(true);
    if (m_rules->rowCount() > 0) {
        selectEntry(qMin(row, m_rules->rowCount() - 1));
    } else {
        // The pages must not keep the deleted rule: it would come back as a
        // new rule on the next tab change.
        m_model->Values().Clear();
        csCSS->ReShowCurCtl();
    }
}

// ---- Stylesheet files ----

void frmCSS::NewFile()
{
    m_filePath.clear();
    m_fileFormat = TextFormat();
    m_current = -1;
    m_rules->setRules({});
    m_model->Values().Clear();
    csCSS->ReShowCurCtl();
    setCaption(AppTexts::newFileCaption);
    setWindowModified(false);
    SetStatus(AppTexts::newFileDone);
}

bool frmCSS::LoadFile(const QString &path)
{
    TextFile file;
    if (!file.OpenFile(path)) {
        showError(AppTexts::cannotOpen(path));
        return false;
    }
    m_filePath = path;
    m_fileFormat = file.Format();
    setCaption(path);

    m_current = -1;
    m_model->Values().Clear();
    cssR->Clear();
    m_readRules.clear();
    ReadStylesheet(*cssR, file);
    cssR->Clear();
    m_rules->setRules(takeReadRules());
    setWindowModified(false);

    if (m_rules->rowCount() > 0)
        selectEntry(0);
    else
        csCSS->ReShowCurCtl(); // the pages must not keep the previous file's rule
    return true;
}

bool frmCSS::SaveFile()
{
    if (m_filePath.isEmpty())
        return SaveFileAs();
    return WriteFile(m_filePath);
}

bool frmCSS::SaveFileAs()
{
    const QString path = QFileDialog::getSaveFileName(this, QString(), m_filePath,
                                                      AppTexts::fileFilter);
    if (path.isEmpty())
        return false;
    return WriteFile(path);
}

bool frmCSS::WriteFile(const QString &path)
{
    if (!collectPendingEdits())
        return false;
    TextFile file;
    if (!file.CreateFile(path, m_fileFormat)) {
        showError(AppTexts::cannotOpen(path));
        return false;
    }
    for (int row = 0; row < m_rules->rowCount(); ++row)
        file.WriteLine(m_rules->ruleText(row));
    if (!file.Commit()) {
        showError(AppTexts::saveFailed(QDir::toNativeSeparators(path), file.ErrorString()));
        return false;
    }
    m_filePath = path;
    setCaption(path);
    setWindowModified(false);
    SetStatus(AppTexts::fileSaved(path));
    return true;
}

QString frmCSS::FilePath() const
{
    return m_filePath;
}

std::vector<Rule> frmCSS::takeReadRules()
{
    std::vector<Rule> rules;
    rules.swap(m_readRules);
    return rules;
}

bool frmCSS::maybeSave()
{
    if (!collectPendingEdits())
        return false;
    if (!isWindowModified())
        return true;
    QMessageBox box(QMessageBox::Warning, AppInfo::Title, AppTexts::askSave,
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
        m_rowAtPress = m_current;
    return QMainWindow::eventFilter(watched, event);
}

void frmCSS::closeEvent(QCloseEvent *event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

void frmCSS::showError(const QString &text)
{
    QMessageBox::critical(this, AppInfo::Title, text);
}

// ---- Commands ----

void frmCSS::mmFiles_Click(int index)
{
    switch (index) {
    case 0:
        askNewFile();
        break;
    case 1:
        ShowOpenDialog();
        break;
    case 2:
        SaveFile();
        break;
    case 3:
        SaveFileAs();
        break;
    default:
        break;
    }
}

void frmCSS::mmEdits_Click(int index)
{
    switch (index) {
    case 0:
    case 1:
        copyRule();
        break;
    case 2:
        pasteRules();
        break;
    default:
        break;
    }
}

void frmCSS::tBar_ButtonClick(const QString &key)
{
    const auto is = [&key](const char *name) {
        return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("new"))
        askNewFile();
    else if (is("open"))
        ShowOpenDialog();
    else if (is("save"))
        SaveFile();
    else if (is("saveas"))
        SaveFileAs();
    else if (is("cut"))
        mmEdits_Click(0);
    else if (is("copy"))
        mmEdits_Click(1);
    else if (is("paste"))
        mmEdits_Click(2);
    else if (is("add"))
        startNewRule();
    else if (is("del"))
        DeleteCurrentRule();
    else if (is("help"))
        showAbout();
}

void frmCSS::askNewFile()
{
    if (maybeSave())
        NewFile();
}

void frmCSS::ShowOpenDialog()
{
    if (!maybeSave())
        return;
    const QString path = QFileDialog::getOpenFileName(this, QString(), m_filePath,
                                                      AppTexts::fileFilter);
    if (!path.isEmpty())
        LoadFile(path);
}

void frmCSS::startNewRule()
{
    NewRule();
    lstStyle->setFocus();
    lstStyle->edit(m_rules->index(m_current));
}

void frmCSS::copyRule()
{
    if (!collectPendingEdits())
        return;
    if (m_current < 0) {
        QApplication::beep();
        SetStatus(AppTexts::noCurrentRule);
        return;
    }
    QGuiApplication::clipboard()->setText(m_rules->ruleText(m_current));
    SetStatus(AppTexts::ruleCopied);
}

void frmCSS::pasteRules()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        QApplication::beep();
        SetStatus(AppTexts::nothingToPaste);
        return;
    }
    cssR->Clear();
    m_readRules.clear();
    cssR->AddData(text);
    cssR->Clear();
    if (m_readRules.empty())
        return;
    m_rules->appendRules(takeReadRules());
    setWindowModified(true);
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

// ---- Access for tests and tools ----

int frmCSS::ruleCount() const
{
    return m_rules->rowCount();
}

QString frmCSS::selectorAt(int row) const
{
    return m_rules->rule(row).selector;
}

QString frmCSS::declarationsAt(int row) const
{
    return m_rules->rule(row).declarations;
}

int frmCSS::currentRow() const
{
    return m_current;
}

void frmCSS::selectRow(int row)
{
    selectEntry(row);
}

CtlsStep *frmCSS::host() const
{
    return csCSS;
}

QAbstractItemView *frmCSS::ruleList() const
{
    return lstStyle;
}

StepBase *frmCSS::model() const
{
    return m_model;
}
