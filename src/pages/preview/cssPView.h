#pragma once

#include "framework/PageContract.h"

#include <QWidget>

class QComboBox;
class QShowEvent;
class QVBoxLayout;
class QWebEngineView;
class VValues;

// Texts of the preview page.
namespace cssPViewText {
inline const QString TemplateCaption = QStringLiteral("选择范例模式：");
} // namespace cssPViewText

// The preview page: the rule applied to a sample, the built-in paragraph or a
// template of the Model folder, shown in a browser. The browser engine starts
// when the page is first shown; until then the page is a plain widget, so a
// window whose preview is never opened starts no engine.
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
    // The browser, or null before the page was first shown.
    QWebEngineView *browser() const { return m_browser; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillTemplates();
    void render();
    void startBrowser();

    QComboBox *m_templates;
    QVBoxLayout *m_layout;
    QWebEngineView *m_browser = nullptr;
    VValues *m_values = nullptr;
    QString m_document;
};
