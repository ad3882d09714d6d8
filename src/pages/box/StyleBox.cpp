#include "pages/box/StyleBox.h"

#include "colour/HtmlColor.h"
#include "pages/common/SpinField.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

enum Padding { Top, Right, Left, Bottom };

const std::array<QString, StyleBox::SideCount> SideTexts{
    QString(), QStringLiteral("-left"), QStringLiteral("-top"), QStringLiteral("-right"),
    QStringLiteral("-bottom")};
const std::array<QString, StyleBox::SideCount> SideEntries{
    QStringLiteral("所有边框"), QStringLiteral("左面边框"), QStringLiteral("上面边框"),
    QStringLiteral("右面边框"), QStringLiteral("下面边框")};
const std::array<QString, StyleBox::AspectCount> AspectTexts{
    QStringLiteral("-width"), QStringLiteral("-style"), QStringLiteral("-color")};
enum Aspect { Width, Style, Colour };

const std::array<QString, 3> ModeCaptions{
    QStringLiteral("无边框"), QStringLiteral("完整边框"), QStringLiteral("自定义边框")};
// The padding fields have no captions; screen readers get these instead.
const std::array<QString, 4> PaddingNames{
    QStringLiteral("上面相间距离"), QStringLiteral("右面相间距离"), QStringLiteral("左面相间距离"),
    QStringLiteral("下面相间距离")};

} // namespace

const std::vector<StylePage::ListItem> &StyleBox::styles()
{
    static const std::vector<ListItem> items{
        {QStringLiteral("<未定义>"), NullKey, QString()},
        {QStringLiteral("实线"), QStringLiteral("solid"), QString()},
        {QStringLiteral("虚线"), QStringLiteral("dotted"), QString()},
        {QStringLiteral("破折号"), QStringLiteral("dashed"), QString()},
        {QStringLiteral("双线"), QStringLiteral("double"), QString()},
        {QStringLiteral("凹线"), QStringLiteral("groove"), QString()},
        {QStringLiteral("凸线"), QStringLiteral("ridge"), QString()},
        {QStringLiteral("嵌入"), QStringLiteral("inset"), QString()},
        {QStringLiteral("开端"), QStringLiteral("outset"), QString()},
    };
    return items;
}

QString StyleBox::BorderName(int side, int aspect)
{
    return QStringLiteral("border") + SideTexts[side] + AspectTexts[aspect];
}

StyleBox::StyleBox(QWidget *parent)
    : StylePage(Reload::SinglePass, Commit::EnabledControls, parent)
    , m_modes{new QRadioButton(ModeCaptions[NoBorder], this), new QRadioButton(ModeCaptions[FullBorder], this),
              new QRadioButton(ModeCaptions[PerSide], this)}
    , m_sidePanel(new QWidget(this))
    , m_sides(new QListWidget(m_sidePanel))
    , m_width(new SpinField(m_sidePanel))
    , m_style(addList(QStringLiteral("icStyle"), styles()))
    , m_colour(new HtmlColor(m_sidePanel))
    , m_paddings{addSpinField(QStringLiteral("txtPds0")), addSpinField(QStringLiteral("txtPds1")),
                 addSpinField(QStringLiteral("txtPds2")), addSpinField(QStringLiteral("txtPds3"))}
{
    for (int mode = NoBorder; mode <= PerSide; ++mode) {
        m_modes[mode]->setObjectName(QStringLiteral("optM%1").arg(mode));
        // clicked also comes for the option already selected, which then
        // starts its mode afresh.
        connect(m_modes[mode], &QRadioButton::clicked, this, [this, mode] { applyMode(Mode(mode)); });
    }
    m_sidePanel->setObjectName(QStringLiteral("picSet"));
    m_sides->setObjectName(QStringLiteral("lstL"));
    connect(m_sides, &QListWidget::currentRowChanged, this, &StyleBox::sideChosen);
    m_width->setObjectName(QStringLiteral("txtW"));
    m_width->setText(QStringLiteral("0"));
    m_style->setCurrentIndex(0);
    m_colour->setObjectName(QStringLiteral("txtC"));
    for (int padding = Top; padding <= Bottom; ++padding) {
        m_paddings[padding]->setRange(0, 10);
        m_paddings[padding]->setAccessibleName(PaddingNames[padding]);
    }

    buildLayout();
    bindText(m_paddings[Bottom], QStringLiteral("padding-bottom"));
    bindText(m_paddings[Left], QStringLiteral("padding-left"));
    bindText(m_paddings[Right], QStringLiteral("padding-right"));
    bindText(m_paddings[Top], QStringLiteral("padding-top"));
}

void StyleBox::buildLayout()
{
    auto *modeFrame = new QGroupBox(QStringLiteral("边框模式："), this);
    modeFrame->setObjectName(QStringLiteral("Frame1"));
    auto *modeRow = new QHBoxLayout(modeFrame);
    for (QRadioButton *option : m_modes)
        modeRow->addWidget(option);
    modeRow->addStretch(1);

    auto *sideColumn = new QVBoxLayout;
    sideColumn->addWidget(addCaption(QStringLiteral("对应对象："), m_sides, QStringLiteral("lbs3")));
    sideColumn->addWidget(m_sides);
    // Room for the five sides and no more.
    const QFontMetrics metrics = m_sides->fontMetrics();
    m_sides->setFixedHeight((metrics.height() + 4) * SideCount + 2 * m_sides->frameWidth());
    m_sides->setFixedWidth(metrics.horizontalAdvance(SideEntries[0]) * 2);
    sideColumn->addStretch(1);

    auto *sideRows = new QGridLayout;
    sideRows->addWidget(addCaption(QStringLiteral("宽度："), m_width, QStringLiteral("lbs0")), 0, 0);
    sideRows->addWidget(m_width, 0, 1, Qt::AlignLeft);
    sideRows->addWidget(addCaption(QStringLiteral("风格："), m_style, QStringLiteral("lbs2")), 1, 0);
    sideRows->addWidget(m_style, 1, 1);
    sideRows->addWidget(addCaption(QStringLiteral("颜色："), m_colour, QStringLiteral("lbs1")), 2, 0);
    sideRows->addWidget(m_colour, 2, 1);
    sideRows->setColumnStretch(1, 2);
    sideRows->setColumnStretch(2, 1);
    sideRows->setRowStretch(3, 1);
    // The panel's layout takes the side controls and their captions in, so
    // that they hide with it.
    auto *panelLayout = new QHBoxLayout(m_sidePanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addLayout(sideColumn);
    panelLayout->addSpacing(16);
    panelLayout->addLayout(sideRows, 1);

    auto *paddingFrame = new QGroupBox(QStringLiteral("相间距离："), this);
    paddingFrame->setObjectName(QStringLiteral("framePd"));
    // The element's box, which the four fields surround.
    auto *box = new QFrame(paddingFrame);
    box->setFrameShape(QFrame::Box);
    box->setMinimumSize(m_paddings[Top]->sizeHint());
    auto *cross = new QGridLayout(paddingFrame);
    cross->addWidget(m_paddings[Top], 0, 2);
    cross->addWidget(m_paddings[Left], 1, 1);
    cross->addWidget(box, 1, 2);
    cross->addWidget(m_paddings[Right], 1, 3);
    cross->addWidget(m_paddings[Bottom], 2, 2);
    cross->setColumnStretch(0, 1);
    cross->setColumnStretch(4, 1);

    auto *page = new QVBoxLayout(this);
    page->addWidget(modeFrame);
    page->addWidget(m_sidePanel);
    page->addWidget(paddingFrame);
    page->addStretch(1);
}

void StyleBox::startUpdate()
{
    SaveSide(m_curSide);
    for (int side = 0; side < SideCount; ++side) {
        for (int aspect = 0; aspect < AspectCount; ++aspect)
            SetValue(m_borderValues[side][aspect], BorderName(side, aspect));
    }
}

void StyleBox::startReShow()
{
    Mode mode = NoBorder;
    for (int side = 0; side < SideCount; ++side) {
        for (int aspect = 0; aspect < AspectCount; ++aspect) {
            m_borderValues[side][aspect] = GetValue(BorderName(side, aspect));
            if (!m_borderValues[side][aspect].isEmpty())
                mode = side == 0 ? qMax(mode, FullBorder) : PerSide;
        }
    }
    m_modes[mode]->setChecked(true);
    applyMode(mode);
}

// A mode change starts from no shown side, so edits to the shown side made
// since it was shown are dropped rather than saved.
void StyleBox::applyMode(Mode mode)
{
    m_curSide = -1;
    m_sides->clear();
    if (mode == NoBorder) {
        for (auto &side : m_borderValues)
            side.fill(QString());
        m_sidePanel->hide();
        return;
    }
    if (mode == FullBorder) {
        for (int side = 1; side < SideCount; ++side)
            m_borderValues[side].fill(QString());
        m_sides->addItem(SideEntries[0]);
    } else {
        for (const QString &entry : SideEntries)
            m_sides->addItem(entry);
    }
    m_sidePanel->show();
    m_sides->setCurrentRow(mode == FullBorder ? 0 : 1);
}

void StyleBox::sideChosen(int side)
{
    SaveSide(m_curSide);
    m_curSide = side;
    ShowSide(m_curSide);
}

void StyleBox::SaveSide(int side)
{
    if (side < 0)
        return;
    m_borderValues[side][Width] = m_width->text();
    m_borderValues[side][Style] = selectedValue(m_style);
    m_borderValues[side][Colour] = m_colour->Text();
}

void StyleBox::ShowSide(int side)
{
    if (side < 0)
        return;
    m_width->setText(m_borderValues[side][Width]);
    selectValue(m_style, m_borderValues[side][Style]);
    m_colour->SetText(m_borderValues[side][Colour]);
}
