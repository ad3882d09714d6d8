#pragma once

#include <QString>
#include <QWidget>

class IPage;
class QPlainTextEdit;
class QPaintEvent;
class QResizeEvent;
class QTabBar;
class StepBase;

// Tabbed host of the property pages. Creates one page per entry of the model's
// page list through the PageRegistry, drives the pages through IPage, and asks
// the page being left to commit before its tab may be left.
class CtlsStep : public QWidget
{
    Q_OBJECT

public:
    explicit CtlsStep(QWidget *parent = nullptr);
    ~CtlsStep() override;

    // Creates the tabs and pages from model->Items() and activates the start tab.
    void Init(StepBase *model);
    // The visible page commits into the values; false only when it refused.
    bool UpdateCurCtl();
    // The visible page refills itself; false when its page is not loaded.
    bool ReShowCurCtl();
    void StepUp();
    void StepDown();

    // Size the host needs so every page fits (0 before Init).
    int MinWidth() const;
    int MinHeight() const;

    QTabBar *tabBar() const;
    // 0-based index of the selected tab, -1 for none.
    int currentIndex() const;
    // Selects a tab as a click would (the page being left may refuse).
    void setCurrentIndex(int index);
    // The page of the selected tab, or null when it failed to load.
    IPage *currentPage() const;
    QWidget *currentPageWidget() const;
    // The pages' controls take input only while enabled; the tabs always do.
    void setPagesEnabled(bool enabled);
    QPlainTextEdit *errorBox() const;

signals:
    // The page just left has written its controls into the values.
    void Updated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Private;
    Private *d;
};
