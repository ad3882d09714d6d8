#pragma once

#include <QListWidget>
#include <QStringList>

class QKeyEvent;
class QLineEdit;

// Names starting with what the user types into a line edit, offered in a list
// beside it as a code editor offers its suggestions. The list never takes the
// focus or the mouse, so a click anywhere else acts at once and leaves the
// typed text as it is. A name enters the field only when picked: with Down or
// Up then Enter or Tab, or by a click on it. Down also reopens the list for
// typed text; Escape closes it.
class SuggestionList : public QListWidget
{
    Q_OBJECT

public:
    // Where the list stands, so that it hides what the user is least likely
    // to click next.
    enum class Side { Right, Above };

    SuggestionList(QLineEdit *field, const QStringList &names, Side side);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void offer(const QString &typed);
    void place();
    bool keyPressed(const QKeyEvent &key);
    void step(int rows);
    void pick(const QListWidgetItem *item);

    QLineEdit *m_field;
    QStringList m_names;
    Side m_side;
};
