#include "platform/ComboBox.h"
#include <QAbstractItemView>
#include <QComboBox>

namespace platform {

ComboBox::ComboBox(Form& f, const QString& name, int index)
    : Control(f, name, index), c_(new QComboBox())
{
    c_->setEditable(true);
    c_->setInsertPolicy(QComboBox::NoInsert);
    c_->setMaxVisibleItems(20);
    setWidget(c_);
    QObject::connect(c_, QOverload<int>::of(&QComboBox::activated), c_, [this](int) { Dispatch(Click); });
    watchKeys(&KeyDown);
}

void ComboBox::AddItem(const QString& text)
{
    const int keep = c_->currentIndex();
    const QString keepText = c_->currentText();
    c_->blockSignals(true);
    c_->addItem(text, QVariant::fromValue(0L));
    // Adding never changes the selection.
    c_->setCurrentIndex(keep);
    if (keep < 0 && c_->isEditable())
        c_->setEditText(keepText);
    c_->blockSignals(false);
    newIndex_ = c_->count() - 1;
}

void ComboBox::Clear()
{
    c_->blockSignals(true);
    c_->clear();
    c_->setCurrentIndex(-1);
    c_->blockSignals(false);
    newIndex_ = -1;
}

int ComboBox::ListCount() const { return c_->count(); }

QString ComboBox::List(int i) const
{
    if (i < 0 || i >= c_->count())
        Err::Raise(381, QStringLiteral("Invalid property array index"));
    return c_->itemText(i);
}

long ComboBox::ItemData(int i) const
{
    if (i < 0 || i >= c_->count())
        Err::Raise(381, QStringLiteral("Invalid property array index"));
    return c_->itemData(i).value<long>();
}

void ComboBox::setItemData(int i, long data)
{
    if (i < 0 || i >= c_->count())
        Err::Raise(381, QStringLiteral("Invalid property array index"));
    c_->setItemData(i, QVariant::fromValue(data));
}

int ComboBox::ListIndex() const
{
    const int i = c_->currentIndex();
    if (i >= 0 && c_->isEditable() && c_->currentText() != c_->itemText(i))
        return -1;
    return i;
}

void ComboBox::setListIndex(int i)
{
    if (i < -1 || i >= c_->count())
        Err::Raise(380, QStringLiteral("Invalid property value"));
    c_->setCurrentIndex(i);
    if (i < 0 && c_->isEditable())
        c_->setEditText(QString());
    Dispatch(Click);
}

QString ComboBox::Text() const { return c_->currentText(); }

void ComboBox::setText(const QString& t)
{
    const int i = c_->findText(t, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (i >= 0) {
        c_->setCurrentIndex(i);
        return;
    }
    if (c_->isEditable())
        c_->setEditText(t);
}

void ComboBox::setDropDownList(bool v)
{
    dropDownList_ = v;
    c_->setEditable(!v);
    if (!v)
        c_->setInsertPolicy(QComboBox::NoInsert);
}

void ComboBox::setLocked(bool v)
{
    locked_ = v;
    c_->setEnabled(!v);
}


bool ComboBox::DroppedDown() const { return c_->view() && c_->view()->isVisible(); }

void ComboBox::ApplyCommonSetUp(const QString& /*iconPath*/) { setDropDownList(true); }

std::optional<QString> ComboBox::ValueText() const { return QString::number(ListIndex()); }

std::optional<QString> ComboBox::FilterText() const
{
    const int i = ListIndex();
    if (i == -1)
        return std::nullopt;
    return QString::number(ItemData(i));
}

void ComboBox::setValueText(const QString& value)
{
    // Rows deleted since the value was remembered may leave it past the end: nothing then.
    const int index = value.toInt();
    setListIndex(index < ListCount() ? index : -1);
}

} // namespace platform
