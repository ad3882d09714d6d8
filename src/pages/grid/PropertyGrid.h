#pragma once

#include <QTableWidget>

class QFocusEvent;
class QKeyEvent;
class QResizeEvent;

// A two-column table of property names and values under a caption row. An
// editor lies over the current cell, so typing goes straight into it; moving
// to another cell writes the editor's text into the cell it leaves. Landing on
// the last row appends an empty one for a new property. Up and Down wrap
// around, and Shift reverses them. Names the grid does not know are shown in
// a warning colour but kept as typed.
class PropertyGrid : public QTableWidget
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, ValueColumn = 1 };

    explicit PropertyGrid(QWidget *parent = nullptr);

    // The cell's text, "" for a cell never written.
    QString text(int row, int column) const;
    void setText(int row, int column, const QString &text);

    // Writes the open editor's text into its cell; the editor stays open.
    void commitEditor();
    // Closes the open editor without writing its text anywhere.
    void dropEditor();

protected:
    using QTableWidget::edit;
    // A rule shown while the user works elsewhere (in the rule list) does not
    // pull the focus into the grid; the editor opens when the focus comes here.
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // Up and Down reach the grid before the editor sees them.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Moves on Up or Down; false for any other key.
    bool stepRow(const QKeyEvent &key);
    void appendRowAtEnd(int currentRow);
    void markName(QTableWidgetItem *item);
};
