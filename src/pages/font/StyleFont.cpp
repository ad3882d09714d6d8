#include "pages/font/StyleFont.h"

#include "colour/HtmlColor.h"
#include "pages/common/SpinField.h"
#include "pages/common/SuggestionList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// A list whose typed text is the value: matching items are offered beside
// the field, to its right where the page's own fields are not, but nothing is
// completed into the field behind the user's back.
void makeTypedList(QComboBox *list, const QStringList &items)
{
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setCompleter(nullptr);
    new SuggestionList(list->lineEdit(), items, SuggestionList::Side::Right);
}

enum StylePosition { Regular, Italic, Bold, BoldItalic };

const QString ItalicKeyword = QStringLiteral("italic");
const QString BoldKeyword = QStringLiteral("bold");

QLineEdit *makeValueField(QWidget *page, const QString &objectName)
{
    // Holders of the properties' texts; the user edits them through the
    // style list and the check boxes.
    auto *field = new QLineEdit(page);
    field->setObjectName(objectName);
    field->hide();
    return field;
}

} // namespace

const std::array<StyleFont::StyleChoice, 4> &StyleFont::styleChoices()
{
    static const std::array<StyleChoice, 4> choices{{
        {QStringLiteral("常规"), QString(), QString()},
        {QStringLiteral("倾斜"), ItalicKeyword, QString()},
        {QStringLiteral("加粗"), QString(), BoldKeyword},
        {QStringLiteral("加粗 倾斜"), ItalicKeyword, BoldKeyword},
    }};
    return choices;
}

const std::array<StyleFont::Effect, 8> &StyleFont::effects()
{
    static const std::array<Effect, 8> all{{
        {QStringLiteral("下划线(&U)"), QStringLiteral("underline"), Decoration},
        {QStringLiteral("删除线(&K)"), QStringLiteral("line-through"), Decoration},
        {QStringLiteral("上划线(&O)"), QStringLiteral("overline"), Decoration},
        {QStringLiteral("闪烁(&L)"), QStringLiteral("blink"), Decoration},
        {QStringLiteral("小型大写字(&M)"), QStringLiteral("small-caps"), Variant},
        {QStringLiteral("全部大写(&A)"), QStringLiteral("uppercase"), Transform},
        {QStringLiteral("大写(&I)"), QStringLiteral("capitalize"), Transform},
        {QStringLiteral("隐藏(&H)"), QStringLiteral("hidden"), Visibility},
    }};
    return all;
}

const QStringList &StyleFont::sizes()
{
    static const QStringList all{
        QStringLiteral("9pt"),  QStringLiteral("10px"), QStringLiteral(".5in"),
        QStringLiteral("2mm"),  QStringLiteral("1em"),  QStringLiteral("8pt"),
        QStringLiteral("10pt"), QStringLiteral("12pt"), QStringLiteral("14pt"),
        QStringLiteral("18pt"), QStringLiteral("24pt"), QStringLiteral("36pt"),
    };
    return all;
}

StyleFont::StyleFont(QWidget *parent)
    : StylePage(Reload::TwoPasses, Commit::ChangedText, parent)
    , m_family(new QComboBox(this))
    , m_style(new QComboBox(this))
    , m_size(new QComboBox(this))
    , m_colour(new HtmlColor(this))
    , m_letterSpacing(addSpinField(QStringLiteral("txtN0")))
    , m_verticalAlign(addSpinField(QStringLiteral("txtN1")))
    , m_fontStyle(makeValueField(this, QStringLiteral("txtFontStyle")))
    , m_fontWeight(makeValueField(this, QStringLiteral("txtFontWeight")))
    , m_effectFields{makeValueField(this, QStringLiteral("txtDec")),
                     makeValueField(this, QStringLiteral("FontVar")),
                     makeValueField(this, QStringLiteral("TextTran")),
                     makeValueField(this, QStringLiteral("Visibility"))}
{
    m_colour->setObjectName(QStringLiteral("HtmlColor1"));

    m_family->setObjectName(QStringLiteral("comS0"));
    makeTypedList(m_family, QFontDatabase::families());

    m_style->setObjectName(QStringLiteral("comS1"));
    for (const StyleChoice &choice : styleChoices())
        m_style->addItem(choice.caption);
    m_style->setCurrentIndex(Regular);

    m_size->setObjectName(QStringLiteral("comS2"));
    makeTypedList(m_size, sizes());

    for (int box = 0; box < int(m_effectBoxes.size()); ++box) {
        m_effectBoxes[box] = new QCheckBox(effects()[box].caption, this);
        m_effectBoxes[box]->setObjectName(QStringLiteral("chkS%1").arg(box));
        // clicked comes from the user only, never from the page's own loading.
        connect(m_effectBoxes[box], &QCheckBox::clicked, this, [this, box] { effectClicked(box); });
    }
    connect(m_style, &QComboBox::activated, this, &StyleFont::styleChosen);
    connect(m_fontStyle, &QLineEdit::textChanged, this, [this](const QString &text) {
        mirrorStyle(text, ItalicKeyword, Italic, Bold);
    });
    connect(m_fontWeight, &QLineEdit::textChanged, this, [this](const QString &text) {
        mirrorStyle(text, BoldKeyword, Bold, Italic);
    });
    for (int field = 0; field < EffectFieldCount; ++field) {
        connect(m_effectFields[field], &QLineEdit::textChanged, this,
                [this, field] { syncChecks(EffectField(field)); });
    }

    buildLayout();
    bindControls();
}

void StyleFont::buildLayout()
{
    auto *fontRows = new QGridLayout;
    const std::array<QWidget *, 4> rowControls{m_family, m_style, m_size, m_colour};
    const std::array<QString, 4> rowCaptions{QStringLiteral("字体(&F):"), QStringLiteral("字型(&Y):"),
                                             QStringLiteral("大小(&Z):"), QStringLiteral("颜色(&C):")};
    for (int row = 0; row < int(rowControls.size()); ++row) {
        fontRows->addWidget(addCaption(rowCaptions[row], rowControls[row], QStringLiteral("lbs%1").arg(row)),
                            row, 0);
        fontRows->addWidget(rowControls[row], row, 1);
    }
    fontRows->setColumnStretch(1, 1);

    auto *spacing = new QGroupBox(QStringLiteral("字间距"), this);
    spacing->setObjectName(QStringLiteral("Frame1"));
    auto *spacingRows = new QGridLayout(spacing);
    spacingRows->addWidget(addCaption(QStringLiteral("间距大小(&B):"), m_letterSpacing,
                                      QStringLiteral("lbJ0")), 0, 0);
    spacingRows->addWidget(m_letterSpacing, 0, 1);
    spacingRows->addWidget(addCaption(QStringLiteral("上下移动(&S):"), m_verticalAlign,
                                      QStringLiteral("lbJ1")), 1, 0);
    spacingRows->addWidget(m_verticalAlign, 1, 1);
    spacingRows->setRowStretch(2, 1);

    auto *top = new QHBoxLayout;
    top->addLayout(fontRows, 3);
    top->addWidget(spacing, 2);

    auto *effectsFrame = new QGroupBox(QStringLiteral("效果"), this);
    effectsFrame->setObjectName(QStringLiteral("Frame2"));
    auto *effectColumns = new QGridLayout(effectsFrame);
    const int perColumn = int(m_effectBoxes.size()) / 2;
    for (int box = 0; box < int(m_effectBoxes.size()); ++box)
        effectColumns->addWidget(m_effectBoxes[box], box % perColumn, box / perColumn);

    auto *page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(effectsFrame);
    page->addStretch(1);
}

void StyleFont::bindControls()
{
    bindText(m_colour, QStringLiteral("color"));
    bindText(m_fontStyle, QStringLiteral("font-style"));
    bindText(m_fontWeight, QStringLiteral("font-weight"));
    bindText(m_effectFields[Visibility], QStringLiteral("visibility"));
    bindText(m_effectFields[Transform], QStringLiteral("text-transform"));
    bindText(m_effectFields[Variant], QStringLiteral("font-variant"));
    bindText(m_effectFields[Decoration], QStringLiteral("text-decoration"));
    for (int box = 0; box < int(m_effectBoxes.size()); ++box)
        bindCheckBox(m_effectBoxes[box], effects()[box].keyword);
    bindText(m_verticalAlign, QStringLiteral("vertical-align"));
    bindText(m_letterSpacing, QStringLiteral("letter-spacing"));
    bindText(m_size, QStringLiteral("font-size"));
    bindText(m_family, QStringLiteral("font-family"));
}

void StyleFont::startReShow()
{
    m_style->setCurrentIndex(Regular);
}

void StyleFont::effectClicked(int box)
{
    const Effect &clicked = effects()[box];
    for (int other = 0; other < int(m_effectBoxes.size()); ++other) {
        if (other != box && effects()[other].field == clicked.field)
            m_effectBoxes[other]->setChecked(false);
    }
    m_effectFields[clicked.field]->setText(m_effectBoxes[box]->isChecked() ? clicked.keyword
                                                                           : QString());
}

void StyleFont::styleChosen(int position)
{
    const StyleChoice &choice = styleChoices()[position];
    m_fontWeight->setText(choice.fontWeight);
    m_fontStyle->setText(choice.fontStyle);
}

// A loaded font-style or font-weight keyword selects its style, or the
// combined one when its partner was loaded first.
void StyleFont::mirrorStyle(const QString &text, const QString &keyword, int alone, int partner)
{
    if (LoadState() != Loading || text.compare(keyword, Qt::CaseInsensitive) != 0)
        return;
    m_style->setCurrentIndex(m_style->currentIndex() == partner ? BoldItalic : alone);
}

// Only a field holding exactly one keyword checks a box; anything else stays
// in the field untouched and shows no box.
void StyleFont::syncChecks(EffectField field)
{
    const QString text = m_effectFields[field]->text();
    if (LoadState() != Loading || text.isEmpty())
        return;
    for (int box = 0; box < int(m_effectBoxes.size()); ++box) {
        if (effects()[box].field == field && effects()[box].keyword.compare(text, Qt::CaseInsensitive) == 0)
            m_effectBoxes[box]->setChecked(true);
    }
}
