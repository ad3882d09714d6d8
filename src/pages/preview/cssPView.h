#pragma once

#include "framework/PageContract.h"

#include <QWidget>

class PreviewEngine;
class QComboBox;
class QShowEvent;
class QVBoxLayout;
class VValues;

// The preview page: the rule applied to a sample, the built-in paragraph or a
// template of the Model folder, shown in a browser. The browser's library is
// loaded and its engine started when the page is first shown; until then the
// page is a plain widget, so a window whose preview is never opened maps no
// engine. A library that cannot be loaded is reported on the page.
class cssPView : public QWidget, public IPage
{
    Q_OBJECT

public:
    explicit cssPView(QWidget *parent = nullptr);

    bool Init(VValues &values) override;
    bool Update() override;
    void ReShow() override;
    QString ErrString() const override;

    // The document last rendered, as the browser was given it.
    QString documentText() const { return m_document; }
    // The browser, or null before the page was first shown or when it could not be loaded.
    PreviewEngine *browser() const { return m_browser; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillTemplates();
    void render();
    void startBrowser();

    QComboBox *m_templates;
    QVBoxLayout *m_layout;
    PreviewEngine *m_browser = nullptr;
    bool m_started = false;
    VValues *m_values = nullptr;
    QString m_document;
};
