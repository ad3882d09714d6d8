#pragma once

#include "pages/common/StylePage.h"

#include <QString>

#include <array>
#include <vector>

class QComboBox;

// The 段落 page: alignment, line spacing, indents and paragraph spacing. All
// of it is the shared loops over the page's lists and fields.
class StylePara : public StylePage
{
    Q_OBJECT

public:
    static const std::vector<ListItem> &alignments();
    static const std::vector<ListItem> &lineHeights();

    explicit StylePara(QWidget *parent = nullptr);

private:
    void buildLayout();
    void bindControls();

    // Declared in the page's visual order, which is also the focus order.
    QComboBox *m_align;
    std::array<SpinField *, 6> m_fields; // txtN0 .. txtN5
    QComboBox *m_lineHeight;
};
