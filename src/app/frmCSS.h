#pragma once

#include "app/StylesheetTree.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class CtlsStep;
class ElidedLabel;
class MainActions;
class QLabel;
class QLineEdit;
class QSplitter;
class RecentFiles;
class RuleEditor;
class RuleFilterModel;
class RuleListModel;
class RuleListView;
class StepBase;
class Stylesheet;

// The editor's main window: wires the stylesheet document, the rule list on
// the left, the page host on the right, the commands and the status bar.
class frmCSS : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmCSS(QWidget *parent = nullptr);
    ~frmCSS() override;

    // The load sequence after the window is shown: opens the command-line path
    // (quotes stripped) or starts a new stylesheet when it is empty.
    void start(const QString &commandLine);

    Stylesheet &document() const { return *m_document; }

    void NewFile();
    bool LoadFile(const QString &path);
    bool SaveFile();
    bool SaveFileAs();
    // Collects the pending edits first; the file is replaced only when every
    // line was written.
    bool WriteFile(const QString &path);
    QString FilePath() const;

    void SetStatus(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildLayout();
    QWidget *buildRulePane();
    void buildStatusBar();
    void restoreWindowState();
    void saveWindowState() const;
    void connectCommands();
    void InitPageHost();
    void setCaption(const QString &documentName);

    // Rule list and page-host synchronisation; the rule editor does the work.
    void lstStyle_ItemClick(const QModelIndex &listIndex);
    void lstStyle_AfterLabelEdit(const EntryPath &path);
    void csCSS_Updated();
    // The list follows the editor's current entry.
    void moveListTo(const EntryPath &path);
    void pinInList(const EntryPath &path);
    // Opens the blocks among rows first to last of parent (source rows), and
    // the blocks inside them.
    void expandBlocks(const QModelIndex &parent, int first, int last);
    EntryPath pathOf(const QModelIndex &listIndex) const;
    QModelIndex listIndexOf(const EntryPath &path) const;
    void filterRules(const QString &text);
    bool collectPendingEdits();
    void NewRule();
    void DeleteCurrentRule();
    EntryPath shownNeighbour(const QModelIndex &listIndex) const;

    // Commands.
    void ShowOpenDialog();
    void askNewFile();
    void startNewRule();
    void copyRule();
    void pasteRules();
    void undo();
    void redo();
    void openRecent(const QString &path);
    void showAbout();
    void openWebSite();

    bool maybeSave();
    // Offers UTF-8 when the file's encoding cannot hold the text; true when the
    // user agreed and the document now saves as UTF-8.
    bool offerUtf8();
    void reportLoadedEncoding();
    void showFileFormat();
    // The views of a new stylesheet without rules.
    void showNewDocument();
    void rememberFile(const QString &path);
    void showError(const QString &text);

    class PageHost;

    Stylesheet *m_document;
    StepBase *m_model;
    RuleListModel *m_rules;
    RuleFilterModel *m_filter;
    QLineEdit *m_filterField = nullptr;
    RuleListView *lstStyle = nullptr;
    CtlsStep *csCSS = nullptr;
    QSplitter *m_splitter = nullptr;
    ElidedLabel *m_statusText = nullptr;
    QLabel *m_formatText = nullptr;
    MainActions *m_actions = nullptr;
    RecentFiles *m_recent = nullptr;
    std::unique_ptr<PageHost> m_pageHost;
    RuleEditor *m_editor = nullptr;

    bool m_changingList = false; // the list's own current-row moves are not clicks
    EntryPath m_pathAtPress;     // the current entry when the list was last pressed
};
