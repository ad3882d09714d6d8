#pragma once

#include "pages/common/StylePage.h"

#include <QString>

#include <array>
#include <vector>

class HtmlColor;
class QComboBox;
class QListWidget;
class QRadioButton;

// The 边框 page: the fifteen border properties and the padding. The border
// properties live in a table of the page's own, shown one side at a time, and
// are written in full on every Update; the padding fields use the shared loops.
class StyleBox : public StylePage
{
    Q_OBJECT

public:
    enum Mode { NoBorder, FullBorder, PerSide };
    static constexpr int SideCount = 5;   // all sides, left, top, right, bottom
    static constexpr int AspectCount = 3; // width, style, colour

    static const std::vector<ListItem> &styles();
    // "border" + side text + aspect text, for example border-left-width.
    static QString BorderName(int side, int aspect);

    explicit StyleBox(QWidget *parent = nullptr);

protected:
    void startUpdate() override;
    void startReShow() override;

private:
    void buildLayout();
    void applyMode(Mode mode);
    void sideChosen(int side);
    void SaveSide(int side);
    void ShowSide(int side);

    std::array<std::array<QString, AspectCount>, SideCount> m_borderValues;
    // The side whose values the side controls hold, -1 for none; its row of
    // the table catches up with edits only through SaveSide.
    int m_curSide = -1;

    // Declared in the page's visual order, which is also the focus order.
    std::array<QRadioButton *, 3> m_modes; // optM0 .. optM2, by mode
    QWidget *m_sidePanel;
    QListWidget *m_sides;
    SpinField *m_width;
    QComboBox *m_style;
    HtmlColor *m_colour;
    std::array<SpinField *, 4> m_paddings; // txtPds0 .. txtPds3: top, right, left, bottom
};
