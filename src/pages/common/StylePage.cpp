#include "pages/common/StylePage.h"

#include "colour/HtmlColor.h"
#include "pages/common/SpinField.h"
#include "support/VValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>

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

bool StylePage::Update()
{
    for (const Binding &binding : m_bindings)
        write(binding);
    return true;
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
    return QString();
}

void StylePage::bindCheckBox(QCheckBox *box, const QString &keyword)
{
    m_bindings.push_back({Kind::CheckBox, keyword, box, {}, {}, {}});
}

void StylePage::bindList(QComboBox *list, const QString &property)
{
    m_bindings.push_back({Kind::ImageCombo, property, list, {}, {}, {}});
}

void StylePage::bindText(QLineEdit *field, const QString &property)
{
    addText(field, property, &QLineEdit::textChanged,
            [field] { return field->text(); },
            [field](const QString &text) { field->setText(text); },
            [field] { return field->isEnabled(); });
}

void StylePage::bindText(QComboBox *editableList, const QString &property)
{
    // Picking an item from the drop-down changes the edit text as well.
    addText(editableList, property, &QComboBox::editTextChanged,
            [editableList] { return editableList->currentText(); },
            [editableList](const QString &text) { editableList->setEditText(text); },
            [editableList] { return editableList->isEnabled(); });
}

void StylePage::bindText(HtmlColor *field, const QString &property)
{
    addText(field, property, &HtmlColor::textChanged,
            [field] { return field->Text(); },
            [field](const QString &text) { field->SetText(text); },
            [field] { return field->Enabled(); });
}

void StylePage::bindText(SpinField *field, const QString &property)
{
    addText(field, property, &SpinField::textChanged,
            [field] { return field->text(); },
            [field](const QString &text) { field->setText(text); },
            [field] { return field->isEnabled(); });
}

template <typename Control, typename ChangeSignal>
void StylePage::addText(Control *control, const QString &property, ChangeSignal changed,
                        std::function<QString()> text,
                        std::function<void(const QString &)> setText,
                        std::function<bool()> enabled)
{
    const std::size_t index = m_bindings.size();
    m_bindings.push_back({Kind::Text, property, control, std::move(text), std::move(setText),
                          std::move(enabled)});
    connect(control, changed, this, [this, index] { m_bindings[index].dataChanged = true; });
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
    if (Pair *pair = m_values->Find(name))
        pair->SetValue(value);
    else if (!value.isEmpty())
        m_values->Add(value, name);
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

void StylePage::clearingPass()
{
    for (const Binding &binding : m_bindings) {
        switch (binding.kind) {
        case Kind::CheckBox:
            static_cast<QCheckBox *>(binding.control)->setChecked(false);
            break;
        case Kind::ImageCombo:
            static_cast<QComboBox *>(binding.control)->setCurrentIndex(0);
            break;
        case Kind::Text:
            binding.setText(QString());
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
    case Kind::ImageCombo: {
        auto *list = static_cast<QComboBox *>(binding.control);
        const QString value = GetValue(binding.tag);
        list->setCurrentIndex(GetComboItem(value.isEmpty() ? NullKey : value, list));
        break;
    }
    case Kind::Text:
        binding.setText(GetValue(binding.tag));
        break;
    }
    binding.dataChanged = false;
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
        const QString key = list->currentData().toString();
        SetValue(key.compare(NullKey, Qt::CaseInsensitive) == 0 ? QString() : key, binding.tag);
        return;
    }
    case Kind::Text:
        if (m_commit == Commit::ChangedText ? binding.dataChanged : binding.enabled())
            SetValue(binding.text(), binding.tag);
        return;
    }
}
