#pragma once

#include <QString>
#include <QWidget>

#include <array>

class ColourSwatch;
class QGridLayout;

// The colour dialog's 216 swatches: six blocks of 6 x 6 that together hold every
// combination of the levels 0, 51, ... 255. The swatches are named lbC1..lbC216 in
// block order. The grid is one tab stop; arrow keys move between swatches, Space
// picks the focused one.
class ColourPalette : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Columns = 12;
    static constexpr int Rows = 18;

    explicit ColourPalette(QWidget *parent = nullptr);

signals:
    void swatchClicked(const QString &tag);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BuildPalette();
    void addSwatch(int number, int row, int column, const QColor &colour);
    // Makes swatch the palette's one tab stop.
    void makeCurrent(ColourSwatch *swatch);

    QGridLayout *m_grid;
    std::array<ColourSwatch *, Columns * Rows> m_cells{}; // row by row
    ColourSwatch *m_current = nullptr;
};
