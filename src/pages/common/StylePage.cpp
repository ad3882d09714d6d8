#include "pages/common/StylePage.h"

#include "css/modCSSFns.h"
#include "pages/common/SpinField.h"
#include "support/VValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>

#include <limits>

const QString StylePage::NullKey = QStringLiteral("_null_");

StylePage::StylePage(Reload reload, Commit commit, QWidget *parent)
    : QWidget(parent)
    , m_reload(reload)
    , m_commit(commit)
{
}

bool StylePage::Init(VValues &values)
{
    m_values = &values;
    return true;
}

QString BreakingValueMessage(const QString &value)
{
    return QStringLiteral("“%1”会破坏样式表：值中字符串和括号以外不能有“{”、“}”或注释，"
                          "引号、括号和注释都要配对。")
        .arg(value);
}

bool StylePage::Update()
{
    m_error.clear();
    startUpdate();
    for (const Binding &binding : m_bindings)
        write(binding);
    return m_error.isEmpty();
}

void StylePage::ReShow()
{
    const bool twoPasses = m_reload == Reload::TwoPasses;
    m_loadState = twoPasses ? Clearing : Idle;
    startReShow();
    if (twoPasses)
        clearingPass();
    m_loadState = Loading;
    loadingPass();
    m_loadState = Idle;
    finishReShow();
}

QString StylePage::ErrString() const
{
    return m_error;
}

void StylePage::bindCheckBox(QCheckBox *box, const QString &keyword)
{
    m_bindings.push_back({Kind::CheckBox, keyword, box, QString()});
}

void StylePage::bindList(QComboBox *list, const QString &property)
{
    m_bindings.push_back({Kind::ImageCombo, property, list, QString()});
}

void StylePage::bindText(QWidget *field, const QString &property)
{
    Q_ASSERT(field->metaObject()->userProperty().isWritable());
    // A line edit cuts longer text to 32767 characters; a rule's value (an
    // inline picture, say) may be longer and must not be cut by being shown.
    if (auto *edit = qobject_cast<QLineEdit *>(field->focusProxy() ? field->focusProxy() : field))
        edit->setMaxLength(std::numeric_limits<int>::max());
    m_bindings.push_back({Kind::Text, property, field, QString()});
    m_bindings.back().loadedText = text(m_bindings.back());
}

QComboBox *StylePage::addList(const QString &objectName, const std::vector<ListItem> &items)
{
    auto *list = new QComboBox(this);
    list->setObjectName(objectName);
    for (const ListItem &item : items)
        list->addItem(QIcon(item.iconPath), item.caption, item.key);
    list->setCurrentIndex(-1);
    return list;
}

QLabel *StylePage::addCaption(const QString &text, QWidget *control, const QString &objectName)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName);
    // A label's access key skips a buddy that takes no focus itself, as a
    // composite field forwarding focus to its inner text box does.
    QWidget *proxy = control->focusProxy();
    label->setBuddy(proxy ? proxy : control);
    // Screen readers look for a buddy label among the input's siblings only,
    // which the inner text box of a composite field has not.
    if (proxy)
        proxy->setAccessibleName(QString(text).remove(u'&'));
    return label;
}

SpinField *StylePage::addSpinField(const QString &objectName)
{
    auto *field = new SpinField(this);
    field->setObjectName(objectName);
    field->setText(QStringLiteral("0"));
    return field;
}

QString StylePage::GetValue(const QString &name) const
{
    const Pair *pair = m_values->Find(name);
    return pair ? pair->Value() : QString();
}

void StylePage::SetValue(const QString &value, const QString &name)
{
    if (!StaysInDeclaration(name, value)) {
        m_error = BreakingValueMessage(value);
        return;
    }
    m_values->Set(value, name);
}

int StylePage::GetComboItem(const QString &key, QComboBox *list)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemData(i).toString().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    list->addItem(key, key);
    return list->count() - 1;
}

void StylePage::selectValue(QComboBox *list, const QString &value)
{
    const int index = GetComboItem(value.isEmpty() ? NullKey : value, list);
    list->setCurrentIndex(index);
    m_shownValues[list] = {index, value};
}

QString StylePage::selectedValue(const QComboBox *list) const
{
    const auto shown = m_shownValues.find(list);
    if (shown != m_shownValues.end() && shown->second.index == list->currentIndex())
        return shown->second.value;
    const QString key = list->currentData().toString();
    return key.compare(NullKey, Qt::CaseInsensitive) == 0 ? QString() : key;
}

QString StylePage::text(const Binding &binding)
{
    return binding.control->metaObject()->userProperty().read(binding.control).toString();
}

void StylePage::setText(const Binding &binding, const QString &text)
{
    binding.control->metaObject()->userProperty().write(binding.control, text);
}

bool StylePage::isEnabled(const Binding &binding)
{
    const QWidget *input = binding.control->focusProxy();
    return (input ? input : binding.control)->isEnabled();
}

void StylePage::clearingPass()
{
    for (const Binding &binding : m_bindings) {
        switch (binding.kind) {
        case Kind::CheckBox:
            static_cast<QCheckBox *>(binding.control)->setChecked(false);
            break;
        case Kind::ImageCombo:
            selectValue(static_cast<QComboBox *>(binding.control), QString());
            break;
        case Kind::Text:
            setText(binding, QString());
            break;
        }
    }
}

void StylePage::loadingPass()
{
    for (Binding &binding : m_bindings)
        load(binding);
}

void StylePage::load(Binding &binding)
{
    switch (binding.kind) {
    case Kind::CheckBox:
        return;
    case Kind::ImageCombo:
        selectValue(static_cast<QComboBox *>(binding.control), GetValue(binding.tag));
        return;
    case Kind::Text:
        setText(binding, GetValue(binding.tag));
        binding.loadedText = text(binding);
        return;
    }
}

void StylePage::write(const Binding &binding)
{
    switch (binding.kind) {
    case Kind::CheckBox:
        return;
    case Kind::ImageCombo: {
        if (m_commit == Commit::ChangedText)
            return;
        auto *list = static_cast<QComboBox *>(binding.control);
        // Only before the first ReShow can a list have no selection; it then
        // stands for nothing the user chose, so the stored value is kept.
        if (list->currentIndex() < 0)
            return;
        SetValue(selectedValue(list), binding.tag);
        return;
    }
    case Kind::Text: {
        const QString current = text(binding);
        if (m_commit == Commit::ChangedText ? current != binding.loadedText : isEnabled(binding))
            SetValue(current, binding.tag);
        return;
    }
    }
}
