#pragma once

#include "pages/common/StylePage.h"

#include <vector>

class PictureField;
class QComboBox;

// The 编号方式 page: the list marker's picture and type, nothing but the
// shared loops over one picture field and one list.
class StyleNumbering : public StylePage
{
    Q_OBJECT

public:
    static const std::vector<ListItem> &markers();

    explicit StyleNumbering(QWidget *parent = nullptr);

private:
    void buildLayout();

    PictureField *m_picture;
    QComboBox *m_marker;
};
