#include "pages/numbering/StyleNumbering.h"

#include "pages/common/PictureField.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString PictureTitle = QStringLiteral("图片：");
const QString MarkerTitle = QStringLiteral("无格式项目列标与编号：");

} // namespace

// The keys are written in capitals as listed.
const std::vector<StylePage::ListItem> &StyleNumbering::markers()
{
    static const std::vector<ListItem> items{
        {QStringLiteral("<未定义>"), NullKey, QString()},
        {QStringLiteral("不显示(NONE)"), QStringLiteral("NONE"), QString()},
        {QStringLiteral("实心园点(DISC)"), QStringLiteral("DISC"), QString()},
        {QStringLiteral("空心园点(CIRCLE)"), QStringLiteral("CIRCLE"), QString()},
        {QStringLiteral("方块(SQUARE)"), QStringLiteral("SQUARE"), QString()},
        {QStringLiteral("数字编码(DECIMAL)"), QStringLiteral("DECIMAL"), QString()},
        {QStringLiteral("大写罗马字符(UPPER-ROMAN)"), QStringLiteral("UPPER-ROMAN"), QString()},
        {QStringLiteral("大写英文字符(UPPER-ALPHA)"), QStringLiteral("UPPER-ALPHA"), QString()},
        {QStringLiteral("小写英文字符(LOWER-ALPHA)"), QStringLiteral("LOWER-ALPHA"), QString()},
        {QStringLiteral("小写罗马字符(LOWER-ROMAN)"), QStringLiteral("LOWER-ROMAN"), QString()},
    };
    return items;
}

StyleNumbering::StyleNumbering(QWidget *parent)
    : StylePage(Reload::SinglePass, Commit::EnabledControls, parent)
    , m_picture(new PictureField(this))
    , m_marker(addList(QStringLiteral("icLst"), markers()))
{
    m_picture->setObjectName(QStringLiteral("Text1"));
    buildLayout();
    bindText(m_picture, QStringLiteral("list-style-image"));
    bindList(m_marker, QStringLiteral("list-style-type"));
}

void StyleNumbering::buildLayout()
{
    auto *pictureFrame = new QGroupBox(PictureTitle, this);
    pictureFrame->setObjectName(QStringLiteral("Frame1"));
    (new QVBoxLayout(pictureFrame))->addWidget(m_picture);
    // The group's title is the field's caption; the text box inside the
    // composite field is not the group's child, so it is named here.
    m_picture->textBox()->setAccessibleName(QString(PictureTitle).remove(u'：'));

    auto *markerFrame = new QGroupBox(MarkerTitle, this);
    markerFrame->setObjectName(QStringLiteral("Frame2"));
    (new QVBoxLayout(markerFrame))->addWidget(m_marker);

    auto *page = new QVBoxLayout(this);
    page->addWidget(pictureFrame);
    page->addWidget(markerFrame);
    page->addStretch(1);
}
