#include "colour/ColourPalette.h"

#include "colour/ColourSwatch.h"
#include "css/modStr.h"

#include <QGridLayout>
#include <QKeyEvent>

#include <algorithm>

namespace {

constexpr int BlockSize = 6;
constexpr int LevelStep = 51;

// Within a block blue is fixed, red changes from row to row and green from
// column to column, rising or falling.
struct Block
{
    int blue;
    bool redFalls;
    bool greenFalls;
};

constexpr std::array<Block, 6> Blocks{{
    {255, true, false},
    {102, true, true},
    {204, false, false},
    {51, false, true},
    {153, true, false},
    {0, true, true},
}};

int level(int step, bool falls)
{
    return falls ? 255 - LevelStep * step : LevelStep * step;
}

QString hexPart(int component)
{
    return PadLeft(QString::number(component, 16).toUpper(), 2, QStringLiteral("0"));
}

QString colourTag(const QColor &colour)
{
    return u'#' + hexPart(colour.red()) + hexPart(colour.green()) + hexPart(colour.blue());
}

} // namespace

ColourPalette::ColourPalette(QWidget *parent) : QWidget(parent), m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(3); // pixels: enough to tell neighbouring swatches apart
    BuildPalette();
    makeCurrent(m_cells.front());
}

// Blocks sit two abreast, numbered row by row: 1 and 2 on top, 5 and 6 at the bottom.
void ColourPalette::BuildPalette()
{
    int number = 0;
    for (int b = 0; b < int(Blocks.size()); ++b) {
        const Block &block = Blocks[b];
        for (int row = 0; row < BlockSize; ++row) {
            for (int column = 0; column < BlockSize; ++column) {
                const QColor colour(level(row, block.redFalls), level(column, block.greenFalls), block.blue);
                addSwatch(++number, (b / 2) * BlockSize + row, (b % 2) * BlockSize + column, colour);
            }
        }
    }
}

void ColourPalette::addSwatch(int number, int row, int column, const QColor &colour)
{
    auto *swatch = new ColourSwatch(colour, colourTag(colour), this);
    swatch->setObjectName(QStringLiteral("lbC%1").arg(number));
    swatch->setFocusPolicy(Qt::ClickFocus);
    connect(swatch, &ColourSwatch::clicked, this, [this, swatch] {
        makeCurrent(swatch);
        emit swatchClicked(swatch->Tag());
    });
    m_grid->addWidget(swatch, row, column);
    m_cells[row * Columns + column] = swatch;
}

void ColourPalette::makeCurrent(ColourSwatch *swatch)
{
    if (m_current)
        m_current->setFocusPolicy(Qt::ClickFocus);
    swatch->setFocusPolicy(Qt::StrongFocus);
    m_current = swatch;
}

void ColourPalette::keyPressEvent(QKeyEvent *event)
{
    int rowStep = 0;
    int columnStep = 0;
    switch (event->key()) {
    case Qt::Key_Left: columnStep = -1; break;
    case Qt::Key_Right: columnStep = 1; break;
    case Qt::Key_Up: rowStep = -1; break;
    case Qt::Key_Down: rowStep = 1; break;
    default: QWidget::keyPressEvent(event); return;
    }
    const auto focused = std::find(m_cells.begin(), m_cells.end(), focusWidget());
    if (focused == m_cells.end()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int cell = int(focused - m_cells.begin());
    const int row = std::clamp(cell / Columns + rowStep, 0, Rows - 1);
    const int column = std::clamp(cell % Columns + columnStep, 0, Columns - 1);
    ColourSwatch *next = m_cells[row * Columns + column];
    makeCurrent(next);
    next->setFocus(Qt::OtherFocusReason);
}
