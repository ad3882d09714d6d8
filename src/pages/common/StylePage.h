#pragma once

#include "framework/PageContract.h"

#include <QString>
#include <QWidget>

#include <map>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class SpinField;
class VValues;

// What every style page shares: controls bound to CSS properties by a tag, in
// the page's control order, and the loops that carry the rule's values between
// those controls and the values list. A page binds its controls, fills its
// lists and adds only the rules of its own.
// Why a page refuses a value that would end or open a block or a comment.
QString BreakingValueMessage(const QString &value);

class StylePage : public QWidget, public IPage
{
    Q_OBJECT

public:
    // How ReShow refills the controls.
    enum class Reload {
        SinglePass, // load every bound control
        TwoPasses   // clear every bound control first, then load
    };
    // Which text controls Update writes.
    enum class Commit {
        EnabledControls, // every enabled text control and every list
        ChangedText      // only text controls whose text differs from the one last loaded
    };
    enum LoadStates : qint16 { Idle = 0, Loading = 1, Clearing = 2 };

    bool Init(VValues &values) override;
    bool Update() override;
    void ReShow() override;
    QString ErrString() const override;

    // The key of the not-set item every list starts with.
    static const QString NullKey;

    // One item of a keyed list.
    struct ListItem
    {
        QString caption;
        QString key;      // the value written for the property
        QString iconPath; // empty for none
    };

protected:
    StylePage(Reload reload, Commit commit, QWidget *parent);

    // Binding, in the page's control order. The tag of a check box is the
    // keyword it stands for; every other tag is a CSS property name.
    void bindCheckBox(QCheckBox *box, const QString &keyword);
    void bindList(QComboBox *list, const QString &property);
    // Any field whose user property is its text (line edits, editable lists,
    // colour, spin and picture fields). A composite field counts as disabled
    // when the input it forwards focus to is.
    void bindText(QWidget *field, const QString &property);

    // A keyed list named objectName; nothing is selected until the first ReShow.
    QComboBox *addList(const QString &objectName, const std::vector<ListItem> &items);
    // A caption label whose access key focuses control.
    QLabel *addCaption(const QString &text, QWidget *control, const QString &objectName);
    // A spin field named objectName holding "0" until the first ReShow.
    SpinField *addSpinField(const QString &objectName);

    qint16 LoadState() const { return m_loadState; }

    // The value a browser uses: the last of the property's declarations.
    QString GetValue(const QString &name) const;
    // A changed value replaces all the property's declarations; an unchanged
    // one keeps them, an empty one removes them. A value that would end or
    // open a block or a comment is not written: Update then refuses.
    void SetValue(const QString &value, const QString &name);
    // Index of the list's item under key (ignoring letter case); a key the
    // list lacks is appended as an item of its own.
    static int GetComboItem(const QString &key, QComboBox *list);
    // Selects the item standing for value (the not-set item for the empty
    // text) and remembers value as read.
    void selectValue(QComboBox *list, const QString &value);
    // The value the list's selection stands for: the empty text for the
    // not-set item; while the item selected by selectValue is still selected,
    // the value exactly as read, so that a rule found by a key only ignoring
    // letter case is not rewritten by merely being shown.
    QString selectedValue(const QComboBox *list) const;

    // Page steps around the shared ReShow. The first runs before any control
    // is touched, with LoadState Clearing for two passes and Idle for one; the
    // last runs once LoadState is back to Idle.
    virtual void startReShow() {}
    virtual void finishReShow() {}
    // Page step before the shared writes of Update, for values a page keeps
    // itself; what it writes goes through SetValue.
    virtual void startUpdate() {}

private:
    enum class Kind { CheckBox, ImageCombo, Text };

    struct Binding
    {
        Kind kind;
        QString tag;
        QWidget *control;
        QString loadedText; // a text control's text when last loaded
    };

    struct ShownValue
    {
        int index;
        QString value;
    };

    static QString text(const Binding &binding);
    static void setText(const Binding &binding, const QString &text);
    static bool isEnabled(const Binding &binding);
    void clearingPass();
    void loadingPass();
    void load(Binding &binding);
    void write(const Binding &binding);

    Reload m_reload;
    Commit m_commit;
    VValues *m_values = nullptr;
    qint16 m_loadState = Idle;
    QString m_error; // why the last Update refused
    std::vector<Binding> m_bindings;
    std::map<const QComboBox *, ShownValue> m_shownValues;
};
