#pragma once

#include <QMainWindow>
#include <QString>

class CtlsStep;
class ElidedLabel;
class MainActions;
class QLabel;
class QLineEdit;
class QSplitter;
class RecentFiles;
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

    // Rule list and page-host synchronisation.
    void lstStyle_ItemClick(int row);
    void lstStyle_AfterLabelEdit(int row);
    void csCSS_Updated();
    void selectEntry(int row);
    void moveListTo(int row);
    // The source row of a row of the (filtered) list.
    int sourceRow(const QModelIndex &listIndex) const;
    void filterRules(const QString &text);
    // Loads the rule into the model and the visible page; nothing is committed.
    void showRule(int row);
    void CommitCurrentRule();
    void storeValuesInCurrentRule();
    // Values typed while no rule is current become a new rule; its row, or -1.
    int keepValuesAsNewRule();
    bool collectPendingEdits();
    void NewRule();
    void DeleteCurrentRule();

    // Commands.
    void ShowOpenDialog();
    void askNewFile();
    void startNewRule();
    void copyRule();
    void pasteRules();
    void undo();
    void redo();
    // After an undo or redo step: show the rule it changed.
    void showStep(int row);
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

    int m_current = -1;          // CurrentItem: the rule whose values the model holds
    bool m_changingList = false; // the list's own current-row moves are not clicks
    int m_rowAtPress = -1;       // the current rule when the list was last pressed
};
