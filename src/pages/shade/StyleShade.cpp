#include "pages/shade/StyleShade.h"

#include "colour/HtmlColor.h"
#include "pages/common/PictureField.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <utility>

namespace {

const QString NotSetCaption = QStringLiteral("<未指定>");
const QString Center = QStringLiteral("center");

} // namespace

const std::vector<StylePage::ListItem> &StyleShade::verticalPositions()
{
    static const std::vector<ListItem> items{
        {NotSetCaption, NullKey, QString()},
        {QStringLiteral("顶边对齐"), QStringLiteral("top"), QString()},
        {QStringLiteral("居中"), Center, QString()},
        {QStringLiteral("底边对齐"), QStringLiteral("bottom"), QString()},
    };
    return items;
}

const std::vector<StylePage::ListItem> &StyleShade::horizontalPositions()
{
    static const std::vector<ListItem> items{
        {NotSetCaption, NullKey, QString()},
        {QStringLiteral("左对齐"), QStringLiteral("left"), QString()},
        {QStringLiteral("居中"), Center, QString()},
        {QStringLiteral("右对齐"), QStringLiteral("right"), QString()},
    };
    return items;
}

const std::vector<StylePage::ListItem> &StyleShade::repeats()
{
    static const std::vector<ListItem> items{
        {NotSetCaption, NullKey, QString()},
        {QStringLiteral("重复"), QStringLiteral("repeat"), QString()},
        {QStringLiteral("横向重复"), QStringLiteral("repeat-x"), QString()},
        {QStringLiteral("纵向重复"), QStringLiteral("repeat-y"), QString()},
        {QStringLiteral("不重复"), QStringLiteral("no-repeat"), QString()},
    };
    return items;
}

const std::vector<StylePage::ListItem> &StyleShade::attachments()
{
    static const std::vector<ListItem> items{
        {NotSetCaption, NullKey, QString()},
        {QStringLiteral("滚动"), QStringLiteral("scroll"), QString()},
        {QStringLiteral("固定"), QStringLiteral("fixed"), QString()},
    };
    return items;
}

StyleShade::StyleShade(QWidget *parent)
    : StylePage(Reload::TwoPasses, Commit::EnabledControls, parent)
    , m_colours{new HtmlColor(this), new HtmlColor(this)}
    , m_picture(new PictureField(this))
    , m_positions{addList(QStringLiteral("icPos0"), verticalPositions()),
                  addList(QStringLiteral("icPos1"), horizontalPositions())}
    , m_repeat(addList(QStringLiteral("icRep"), repeats()))
    , m_attachment(addList(QStringLiteral("icAtt"), attachments()))
    , m_position(new QLineEdit(this))
{
    m_colours[0]->setObjectName(QStringLiteral("HtmlColor10"));
    m_colours[1]->setObjectName(QStringLiteral("HtmlColor11"));
    m_picture->setObjectName(QStringLiteral("Text1"));
    m_position->setObjectName(QStringLiteral("Text2"));
    m_position->hide();

    // activated comes from the user only, never from the page's own loading.
    for (QComboBox *list : m_positions)
        connect(list, &QComboBox::activated, this, &StyleShade::ComposePosition);
    connect(m_position, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (LoadState() == Loading)
            SplitPosition(text);
    });

    buildLayout();
    bindText(m_position, QStringLiteral("background-position"));
    bindList(m_attachment, QStringLiteral("background-attachment"));
    bindList(m_repeat, QStringLiteral("background-repeat"));
    bindText(m_picture, QStringLiteral("background-image"));
    bindText(m_colours[0], QStringLiteral("background-color"));
    bindText(m_colours[1], QStringLiteral("color"));
}

void StyleShade::buildLayout()
{
    auto *fill = new QGroupBox(QStringLiteral("填充："), this);
    fill->setObjectName(QStringLiteral("Frame1"));
    auto *fillRows = new QGridLayout(fill);
    fillRows->addWidget(addCaption(QStringLiteral("背景颜色(&B)："), m_colours[0], QStringLiteral("Label2")), 0, 0);
    fillRows->addWidget(m_colours[0], 0, 1);
    fillRows->addWidget(addCaption(QStringLiteral("前景颜色(&F)："), m_colours[1], QStringLiteral("Label1")), 1, 0);
    fillRows->addWidget(m_colours[1], 1, 1);
    fillRows->setColumnStretch(1, 1);
    fillRows->setColumnStretch(2, 1);

    auto *pattern = new QGroupBox(QStringLiteral("图案："), this);
    pattern->setObjectName(QStringLiteral("Frame2"));
    auto *patternRows = new QGridLayout(pattern);
    patternRows->addWidget(addCaption(QStringLiteral("背景图片(&I)："), m_picture, QStringLiteral("Label3")), 0, 0);
    patternRows->addWidget(m_picture, 0, 1, 1, 3);
    const std::array<std::pair<QComboBox *, QString>, 4> lists{{
        {m_positions[Vertical], QStringLiteral("垂直位置(&v)：")},
        {m_positions[Horizontal], QStringLiteral("水平位置(&H)：")},
        {m_repeat, QStringLiteral("重复(&E)：")},
        {m_attachment, QStringLiteral("附件(&A)：")},
    }};
    for (int i = 0; i < int(lists.size()); ++i) {
        const int row = 1 + i % 2;
        const int column = i / 2 * 2;
        patternRows->addWidget(addCaption(lists[i].second, lists[i].first, QStringLiteral("Label4%1").arg(i)),
                               row, column);
        patternRows->addWidget(lists[i].first, row, column + 1);
    }
    patternRows->setColumnStretch(1, 1);
    patternRows->setColumnStretch(3, 1);

    // Both groups share their caption column, so the fields line up.
    int captionWidth = 0;
    for (const QLabel *caption : findChildren<QLabel *>())
        captionWidth = qMax(captionWidth, caption->sizeHint().width());
    fillRows->setColumnMinimumWidth(0, captionWidth);
    patternRows->setColumnMinimumWidth(0, captionWidth);

    auto *page = new QVBoxLayout(this);
    page->addWidget(fill);
    page->addWidget(pattern);
    page->addStretch(1);
}

void StyleShade::startReShow()
{
    for (QComboBox *list : m_positions)
        list->setCurrentIndex(GetComboItem(NullKey, list));
}

// A later word overrides an earlier one in the same list; the field itself
// keeps the text as read.
void StyleShade::SplitPosition(const QString &position)
{
    auto select = [&position](QComboBox *list, const QString &key) {
        if (position.contains(key, Qt::CaseInsensitive))
            list->setCurrentIndex(GetComboItem(key, list));
    };
    select(m_positions[Vertical], Center);
    select(m_positions[Horizontal], Center);
    select(m_positions[Vertical], QStringLiteral("top"));
    select(m_positions[Vertical], QStringLiteral("bottom"));
    select(m_positions[Horizontal], QStringLiteral("left"));
    select(m_positions[Horizontal], QStringLiteral("right"));
}

// Vertical first, then horizontal, one blank between; nothing chosen
// empties the property.
void StyleShade::ComposePosition()
{
    QStringList words;
    for (QComboBox *list : m_positions) {
        const QString key = list->currentData().toString();
        if (key.compare(NullKey, Qt::CaseInsensitive) != 0)
            words << key;
    }
    m_position->setText(words.join(u' '));
}
