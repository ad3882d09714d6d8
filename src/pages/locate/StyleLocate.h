#pragma once

#include "pages/common/StylePage.h"

#include <array>
#include <vector>

class QComboBox;

// The 定位 page: float, positioning scheme, offsets, size and stacking order.
// The five fields are usable, and written, only while a scheme is chosen.
class StyleLocate : public StylePage
{
    Q_OBJECT

public:
    static const std::vector<ListItem> &floats();
    static const std::vector<ListItem> &positions();

    explicit StyleLocate(QWidget *parent = nullptr);

protected:
    void finishReShow() override;

private:
    void buildLayout();
    void EnablePositionFields();

    // Declared in the page's visual order, which is also the focus order.
    QComboBox *m_float;
    QComboBox *m_position;
    std::array<SpinField *, 5> m_fields; // TxtN0 .. TxtN4
};
