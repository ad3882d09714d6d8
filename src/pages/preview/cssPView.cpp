#include "pages/preview/cssPView.h"

#include "app/modMain.h"
#include "pages/preview/PreviewDocument.h"
#include "pages/preview/PreviewEngine.h"
#include "pages/preview/PreviewEngineLoader.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Opening an empty template list is answered with a beep.
class TemplateList : public QComboBox
{
public:
    using QComboBox::QComboBox;

    void showPopup() override
    {
        if (count() == 0)
            QApplication::beep();
        QComboBox::showPopup();
    }
};

// Shown in the browser's place when its library cannot be loaded.
QLabel *loadFailure(const QString &reason, QWidget *parent)
{
    auto *report = new QLabel(QStringLiteral("预览组件不能装载：") + reason, parent);
    report->setWordWrap(true);
    report->setAlignment(Qt::AlignCenter);
    report->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return report;
}

} // namespace

cssPView::cssPView(QWidget *parent)
    : QWidget(parent)
    , m_templates(new TemplateList(this))
    , m_layout(new QVBoxLayout(this))
{
    m_templates->setObjectName(QStringLiteral("iComb"));
    auto *caption = new QLabel(QStringLiteral("选择范例模式："), this);
    caption->setObjectName(QStringLiteral("lbs"));
    caption->setBuddy(m_templates);

    auto *row = new QHBoxLayout;
    row->addWidget(caption);
    row->addWidget(m_templates, 1);
    m_layout->addLayout(row);
    m_layout->addStretch(1); // where the browser goes once started

    connect(m_templates, &QComboBox::activated, this, [this] { render(); });
}

bool cssPView::Init(VValues &values)
{
    m_values = &values;
    return true;
}

bool cssPView::Update()
{
    return true;
}

void cssPView::ReShow()
{
    // A filled list is kept as it is, so the template chosen stays chosen.
    if (m_templates->count() == 0) {
        fillTemplates();
        if (m_templates->count() > 0)
            m_templates->setCurrentIndex(0);
    }
    render();
}

QString cssPView::ErrString() const
{
    return QString();
}

void cssPView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_started)
        startBrowser();
}

void cssPView::fillTemplates()
{
    m_templates->clear();
    const QList<PreviewDocument::Template> templates = PreviewDocument::Templates(AppFolder());
    for (const PreviewDocument::Template &entry : templates)
        m_templates->addItem(entry.title, entry.path);
}

void cssPView::render()
{
    const QString folder = AppFolder();
    const QString style = PreviewDocument::StyleString(*m_values, folder);
    const int chosen = m_templates->currentIndex();
    m_document = chosen < 0
        ? PreviewDocument::BuiltInSample(style)
        : PreviewDocument::FromTemplate(m_templates->itemData(chosen).toString(), folder, style);
    if (m_browser)
        m_browser->setHtml(m_document, QUrl::fromLocalFile(folder));
}

void cssPView::startBrowser()
{
    m_started = true;
    QString error;
    m_browser = PreviewEngineLoader::Create(this, &error);
    delete m_layout->takeAt(1); // the stretch that held the browser's place
    if (!m_browser) {
        m_layout->addWidget(loadFailure(error, this), 1);
        return;
    }
    QWidget *view = m_browser->widget();
    view->setObjectName(QStringLiteral("wBrow"));
    view->setAccessibleName(QStringLiteral("预览效果"));
    m_layout->addWidget(view, 1);
    if (!m_document.isEmpty())
        m_browser->setHtml(m_document, QUrl::fromLocalFile(AppFolder()));
}
