#pragma once

#include "pages/common/StylePage.h"

#include <QString>

#include <array>

class HtmlColor;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The 字体 page: font family, size, style, colour, spacing and text effects.
// Style and effects are keyword properties held in hidden value fields; the
// style list and the check boxes write into those fields and mirror them.
class StyleFont : public StylePage
{
    Q_OBJECT

public:
    // One entry of the style list: what it writes into font-style and font-weight.
    struct StyleChoice
    {
        QString caption;
        QString fontStyle;
        QString fontWeight;
    };
    // The value fields the check boxes write into.
    enum EffectField { Decoration, Variant, Transform, Visibility, EffectFieldCount };
    struct Effect
    {
        QString caption;
        QString keyword;
        EffectField field; // boxes sharing a field exclude each other
    };

    static const std::array<StyleChoice, 4> &styleChoices();
    static const std::array<Effect, 8> &effects();
    static const QStringList &sizes();

    explicit StyleFont(QWidget *parent = nullptr);

protected:
    void startReShow() override;

private:
    void buildLayout();
    void bindControls();
    void effectClicked(int box);
    void styleChosen(int position);
    void mirrorStyle(const QString &text, const QString &keyword, int alone, int partner);
    void syncChecks(EffectField field);

    // Declared in the page's visual order, which is also the focus order.
    QComboBox *m_family;
    QComboBox *m_style;
    QComboBox *m_size;
    HtmlColor *m_colour;
    SpinField *m_letterSpacing;
    SpinField *m_verticalAlign;
    std::array<QCheckBox *, 8> m_effectBoxes{};
    QLineEdit *m_fontStyle;
    QLineEdit *m_fontWeight;
    std::array<QLineEdit *, EffectFieldCount> m_effectFields;
};
