#include "pages/locate/StyleLocate.h"

#include "pages/common/SpinField.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString NotSetCaption = QStringLiteral("无");

struct Field
{
    QString caption;
    QString labelName;
    QString property;
    int row;
    int column;
};

// By field index (TxtN0 .. TxtN4).
const std::array<Field, 5> Fields{{
    {QStringLiteral("左边(&l)："), QStringLiteral("Lbl0"), QStringLiteral("left"), 0, 0},
    {QStringLiteral("宽度(&W)："), QStringLiteral("Lbl2"), QStringLiteral("width"), 0, 1},
    {QStringLiteral("顶边(&P)："), QStringLiteral("Lbl1"), QStringLiteral("top"), 1, 0},
    {QStringLiteral("高度(&H)："), QStringLiteral("Lbl3"), QStringLiteral("height"), 1, 1},
    {QStringLiteral("Z-顺序(&Z)："), QStringLiteral("Lbl4"), QStringLiteral("z-index"), 2, 0},
}};

} // namespace

const std::vector<StylePage::ListItem> &StyleLocate::floats()
{
    static const std::vector<ListItem> items{
        {NotSetCaption, NullKey, QString()},
        {QStringLiteral("左"), QStringLiteral("left"), QString()},
        {QStringLiteral("右"), QStringLiteral("right"), QString()},
    };
    return items;
}

const std::vector<StylePage::ListItem> &StyleLocate::positions()
{
    static const std::vector<ListItem> items{
        {NotSetCaption, NullKey, QString()},
        {QStringLiteral("绝对"), QStringLiteral("absolute"), QString()},
        {QStringLiteral("相对"), QStringLiteral("relative"), QString()},
    };
    return items;
}

StyleLocate::StyleLocate(QWidget *parent)
    : StylePage(Reload::TwoPasses, Commit::EnabledControls, parent)
    , m_float(addList(QStringLiteral("icFloat"), floats()))
    , m_position(addList(QStringLiteral("icPos"), positions()))
    , m_fields{addSpinField(QStringLiteral("TxtN0")), addSpinField(QStringLiteral("TxtN1")),
               addSpinField(QStringLiteral("TxtN2")), addSpinField(QStringLiteral("TxtN3")),
               addSpinField(QStringLiteral("TxtN4"))}
{
    // activated comes from the user only; ReShow enables the fields itself.
    connect(m_position, &QComboBox::activated, this, &StyleLocate::EnablePositionFields);
    buildLayout();
    for (int field = int(m_fields.size()) - 1; field >= 0; --field)
        bindText(m_fields[field], Fields[field].property);
    bindList(m_position, QStringLiteral("position"));
    bindList(m_float, QStringLiteral("float"));
}

void StyleLocate::buildLayout()
{
    auto *floatFrame = new QGroupBox(QStringLiteral("环绕样式："), this);
    floatFrame->setObjectName(QStringLiteral("Frame1"));
    (new QVBoxLayout(floatFrame))->addWidget(m_float);

    auto *positionFrame = new QGroupBox(QStringLiteral("定位样式："), this);
    positionFrame->setObjectName(QStringLiteral("Frame2"));
    (new QVBoxLayout(positionFrame))->addWidget(m_position);

    auto *schemes = new QHBoxLayout;
    schemes->addWidget(floatFrame, 1);
    schemes->addWidget(positionFrame, 1);

    auto *placeFrame = new QGroupBox(QStringLiteral("位置与大小："), this);
    placeFrame->setObjectName(QStringLiteral("Frame3"));
    auto *grid = new QGridLayout(placeFrame);
    for (int field = 0; field < int(m_fields.size()); ++field) {
        const Field &place = Fields[field];
        grid->addWidget(addCaption(place.caption, m_fields[field], place.labelName), place.row, place.column * 3);
        grid->addWidget(m_fields[field], place.row, place.column * 3 + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(4, 1);

    auto *page = new QVBoxLayout(this);
    page->addLayout(schemes);
    page->addWidget(placeFrame);
    page->addStretch(1);
}

void StyleLocate::finishReShow()
{
    EnablePositionFields();
}

// A field holding an offset or size means nothing without a positioning
// scheme; while none is chosen it is greyed and left out of Update.
void StyleLocate::EnablePositionFields()
{
    const bool enabled = m_position->currentData().toString().compare(NullKey, Qt::CaseInsensitive) != 0;
    for (SpinField *field : m_fields)
        field->setEnabled(enabled);
}
