#include "pages/common/SuggestionList.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>

namespace {
// Rows shown at once; the rest scroll.
constexpr int ShownRows = 8;
} // namespace

SuggestionList::SuggestionList(QLineEdit *field, const QStringList &names, Side side)
    : QListWidget(field)
    , m_field(field)
    , m_names(names)
    , m_side(side)
{
    // A tool tip window is never activated and grabs nothing: the field keeps
    // the focus, and a click beside the list reaches whatever lies there.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    connect(field, &QLineEdit::textEdited, this, &SuggestionList::offer);
    connect(this, &QListWidget::itemClicked, this, &SuggestionList::pick);
    field->installEventFilter(this);
}

bool SuggestionList::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(*static_cast<QKeyEvent *>(event));
    case QEvent::FocusOut:
    case QEvent::Hide:
        hide();
        break;
    default:
        break;
    }
    return false;
}

// Shows the names starting with typed, or hides the list when none does.
void SuggestionList::offer(const QString &typed)
{
    clear();
    for (const QString &name : m_names) {
        if (!typed.isEmpty() && name.startsWith(typed, Qt::CaseInsensitive))
            addItem(name);
    }
    if (count() == 0) {
        hide();
        return;
    }
    place();
    show();
    // Ahead of the filters installed since (an item view's delegate, which
    // would take Enter and Tab as moving on), so keys reach the open list first.
    m_field->installEventFilter(this);
}

void SuggestionList::place()
{
    const int width = sizeHintForColumn(0) + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    const QSize size(qMax(m_field->width(), width),
                     qMin(count(), ShownRows) * sizeHintForRow(0) + 2 * frameWidth());
    const QRect field(m_field->mapToGlobal(QPoint(0, 0)), m_field->size());
    const QRect screen = m_field->screen()->availableGeometry();
    QPoint corner;
    if (m_side == Side::Right) {
        corner = field.topRight() + QPoint(1, 0);
        if (corner.x() + size.width() > screen.right())
            corner.setX(field.left() - size.width());
    } else {
        corner = field.topLeft() - QPoint(0, size.height());
        if (corner.y() < screen.top())
            corner.setY(field.bottom() + 1);
    }
    setGeometry(QRect(corner, size));
}

// True when the key was the list's.
bool SuggestionList::keyPressed(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Down:
        if (isVisible()) {
            step(1);
            return true;
        }
        // Only for text the user typed: elsewhere Down keeps its own meaning.
        if (m_field->isModified())
            offer(m_field->text());
        return isVisible();
    case Qt::Key_Up:
        if (isVisible())
            step(-1);
        return isVisible();
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        if (isVisible() && currentItem()) {
            pick(currentItem());
            return true;
        }
        hide();
        return false;
    case Qt::Key_Escape:
        if (!isVisible())
            return false;
        hide();
        return true;
    default:
        return false;
    }
}

void SuggestionList::step(int rows)
{
    setCurrentRow(qBound(0, currentRow() + rows, count() - 1));
}

void SuggestionList::pick(const QListWidgetItem *item)
{
    m_field->setText(item->text());
    hide();
}
