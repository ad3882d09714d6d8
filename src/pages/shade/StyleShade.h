#pragma once

#include "pages/common/StylePage.h"

#include <array>
#include <vector>

class HtmlColor;
class PictureField;
class QComboBox;
class QLineEdit;

// The 背景 page: background and text colour, picture, repeat, attachment and
// position. A hidden field holds background-position as read; the two
// position lists show it and rewrite it only when the user picks from them.
class StyleShade : public StylePage
{
    Q_OBJECT

public:
    enum Axis { Vertical, Horizontal };

    static const std::vector<ListItem> &verticalPositions();
    static const std::vector<ListItem> &horizontalPositions();
    static const std::vector<ListItem> &repeats();
    static const std::vector<ListItem> &attachments();

    explicit StyleShade(QWidget *parent = nullptr);

protected:
    void startReShow() override;

private:
    void buildLayout();
    void SplitPosition(const QString &position);
    void ComposePosition();

    // Declared in the page's visual order, which is also the focus order.
    std::array<HtmlColor *, 2> m_colours; // HtmlColor10 background, HtmlColor11 text
    PictureField *m_picture;
    std::array<QComboBox *, 2> m_positions; // by Axis
    QComboBox *m_repeat;
    QComboBox *m_attachment;
    QLineEdit *m_position;
};
