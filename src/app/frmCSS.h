#pragma once

#include "app/RuleListModel.h"
#include "support/TextFile.h"

#include <QMainWindow>
#include <QString>

#include <vector>

class CSSTextRead;
class CtlsStep;
class MainActions;
class QAbstractItemView;
class QLabel;
class QTreeView;
class StepBase;

// The editor's main window: the rule list on the left, the page host on the
// right, menus, toolbar and status bar.
class frmCSS : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmCSS(QWidget *parent = nullptr);
    ~frmCSS() override;

    // The load sequence after the window is shown: opens the command-line path
    // (quotes stripped) or starts a new stylesheet when it is empty.
    void start(const QString &commandLine);

    void NewFile();
    bool LoadFile(const QString &path);
    bool SaveFile();
    bool SaveFileAs();
    // Collects the visible page's pending edits first; the file is replaced
    // only when every line was written.
    bool WriteFile(const QString &path);
    QString FilePath() const;

    void SetStatus(const QString &text);
    QString statusText() const;

    // Rule access for tests and tools.
    int ruleCount() const;
    QString selectorAt(int row) const;
    QString declarationsAt(int row) const;
    int currentRow() const; // -1 when there is no current rule
    void selectRow(int row); // as a click on that row

    CtlsStep *host() const;
    QAbstractItemView *ruleList() const;
    StepBase *model() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void connectCommands();
    void InitPageHost();
    void setCaption(const QString &documentName);

    // Rule list and page-host synchronisation.
    void lstStyle_ItemClick(int row);
    void lstStyle_AfterLabelEdit(int row);
    void csCSS_Updated();
    void selectEntry(int row);
    void CommitCurrentRule();
    void storeValuesInCurrentRule();
    bool collectPendingEdits();
    void NewRule();
    void DeleteCurrentRule();

    // Commands.
    void mmFiles_Click(int index);
    void mmEdits_Click(int index);
    void tBar_ButtonClick(const QString &key);
    void ShowOpenDialog();
    void askNewFile();
    void startNewRule();
    void copyRule();
    void pasteRules();
    void showAbout();
    void openWebSite();

    bool maybeSave();
    void showError(const QString &text);
    std::vector<Rule> takeReadRules();

    CSSTextRead *cssR = nullptr;
    StepBase *m_model = nullptr;
    RuleListModel *m_rules = nullptr;
    QTreeView *lstStyle = nullptr;
    CtlsStep *csCSS = nullptr;
    QLabel *m_statusText = nullptr;
    MainActions *m_actions = nullptr;

    QString m_filePath;
    TextFormat m_fileFormat;   // how the open file was stored; saves keep it
    int m_current = -1;        // CurrentItem: the rule whose values the model holds
    bool m_changingList = false; // the list's own current-row moves are not clicks
    int m_rowAtPress = -1;       // the current rule when the list was last pressed
    std::vector<Rule> m_readRules; // what the reader found in the current pass
};
