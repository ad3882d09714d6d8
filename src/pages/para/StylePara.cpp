#include "pages/para/StylePara.h"

#include "pages/common/SpinField.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString NotSetCaption = QStringLiteral("<未定义>");

// Field captions and properties, by field index (txtN0 .. txtN5).
const std::array<QString, 6> FieldCaptions{
    QStringLiteral("文本之前(&R):"), QStringLiteral("文本之后(&X):"), QStringLiteral("首行缩进(&I):"),
    QStringLiteral("段前(&B):"),     QStringLiteral("段后(&E):"),     QStringLiteral("单字间距(&W):"),
};
const std::array<QString, 6> FieldProperties{
    QStringLiteral("margin-left"), QStringLiteral("margin-right"),  QStringLiteral("text-indent"),
    QStringLiteral("margin-top"),  QStringLiteral("margin-bottom"), QStringLiteral("word-spacing"),
};

} // namespace

const std::vector<StylePara::ListItem> &StylePara::alignments()
{
    static const std::vector<ListItem> items{
        {NotSetCaption, NullKey, QString()},
        {QStringLiteral("左对齐"), QStringLiteral("left"), QStringLiteral(":/pages/icons/align-left.svg")},
        {QStringLiteral("水平居中"), QStringLiteral("center"), QStringLiteral(":/pages/icons/align-center.svg")},
        {QStringLiteral("右对齐"), QStringLiteral("right"), QStringLiteral(":/pages/icons/align-right.svg")},
        {QStringLiteral("两端对齐"), QStringLiteral("justify"), QStringLiteral(":/pages/icons/align-justify.svg")},
    };
    return items;
}

const std::vector<StylePara::ListItem> &StylePara::lineHeights()
{
    static const std::vector<ListItem> items{
        {NotSetCaption, NullKey, QString()},
        {QStringLiteral("单倍行距"), QStringLiteral("100%"), QString()},
        {QStringLiteral("1.5倍行距"), QStringLiteral("150%"), QString()},
        {QStringLiteral("双倍行距"), QStringLiteral("200%"), QString()},
    };
    return items;
}

StylePara::StylePara(QWidget *parent)
    : StylePage(Reload::SinglePass, Commit::EnabledControls, parent)
    , m_align(addList(QStringLiteral("icAlign"), alignments()))
    , m_fields{addSpinField(QStringLiteral("txtN0")), addSpinField(QStringLiteral("txtN1")),
               addSpinField(QStringLiteral("txtN2")), addSpinField(QStringLiteral("txtN3")),
               addSpinField(QStringLiteral("txtN4")), addSpinField(QStringLiteral("txtN5"))}
    , m_lineHeight(addList(QStringLiteral("icLh"), lineHeights()))
{
    buildLayout();
    bindControls();
}

void StylePara::buildLayout()
{
    auto fieldCaption = [this](int field) {
        return addCaption(FieldCaptions[field], m_fields[field], QStringLiteral("lbs%1").arg(field + 1));
    };

    auto *alignRow = new QHBoxLayout;
    alignRow->addWidget(addCaption(QStringLiteral("对齐方式(&A):"), m_align, QStringLiteral("lbs0")));
    alignRow->addWidget(m_align, 1);
    alignRow->addStretch(1);

    auto *indent = new QGroupBox(QStringLiteral("缩进"), this);
    indent->setObjectName(QStringLiteral("Frame1"));
    auto *indentGrid = new QGridLayout(indent);
    indentGrid->addWidget(fieldCaption(0), 0, 0);
    indentGrid->addWidget(m_fields[0], 0, 1);
    indentGrid->addWidget(fieldCaption(1), 1, 0);
    indentGrid->addWidget(m_fields[1], 1, 1);
    indentGrid->addWidget(fieldCaption(2), 0, 3);
    indentGrid->addWidget(m_fields[2], 1, 3);

    auto *spacing = new QGroupBox(QStringLiteral("段落间距"), this);
    spacing->setObjectName(QStringLiteral("Frame2"));
    auto *spacingGrid = new QGridLayout(spacing);
    for (int field = 3; field < 6; ++field) {
        spacingGrid->addWidget(fieldCaption(field), field - 3, 0);
        spacingGrid->addWidget(m_fields[field], field - 3, 1);
    }
    spacingGrid->addWidget(addCaption(QStringLiteral("行距大小(&N):"), m_lineHeight, QStringLiteral("lbs7")),
                           0, 3);
    spacingGrid->addWidget(m_lineHeight, 1, 3);

    // The same column widths in both frames keep their fields aligned.
    int captionWidth = 0;
    for (const QLabel *caption : findChildren<QLabel *>())
        captionWidth = qMax(captionWidth, caption->sizeHint().width());
    for (QGridLayout *grid : {indentGrid, spacingGrid}) {
        grid->setColumnMinimumWidth(0, captionWidth);
        grid->setColumnStretch(1, 2);
        grid->setColumnMinimumWidth(2, 24);
        grid->setColumnStretch(3, 3);
    }

    auto *page = new QVBoxLayout(this);
    page->addLayout(alignRow);
    page->addWidget(indent);
    page->addWidget(spacing);
    page->addStretch(1);
}

void StylePara::bindControls()
{
    bindList(m_align, QStringLiteral("text-align"));
    bindList(m_lineHeight, QStringLiteral("line-height"));
    for (int field = 5; field >= 0; --field)
        bindText(m_fields[field], FieldProperties[field]);
}
