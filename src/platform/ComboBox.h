#pragma once
// A combo box: an editable one, or a drop-down list.
#include "platform/Control.h"

class QComboBox;

namespace platform {

class ComboBox : public Control {
public:
    ComboBox(Form& f, const QString& name, int index = -1);
    void AddItem(const QString& text);
    void Clear();
    int ListCount() const;
    QString List(int i) const;
    long ItemData(int i) const;
    void setItemData(int i, long data);
    int NewIndex() const { return newIndex_; }
    int ListIndex() const;                // -1 when none
    void setListIndex(int i);             // fires Click
    QString Text() const;
    void setText(const QString& t);       // selects the matching entry, or shows the text when editable
    bool DropDownList() const { return dropDownList_; }
    void setDropDownList(bool v);
    bool Locked() const { return locked_; }
    void setLocked(bool v);
    std::function<void()> Click;
    std::function<void(int& keyCode, int shift)> KeyDown;
    bool DroppedDown() const;
    void ApplyCommonSetUp(const QString& iconPath) override;
    std::optional<QString> ValueText() const override;
    void setValueText(const QString& value) override;
    QString ClearedValueText() const override { return QStringLiteral("-1"); }
    std::optional<QString> FilterText() const override;
    CardItem Card() const override { return {CardItem::Kind::ListText, Text()}; }   // as the list shows it
private:
    QComboBox* c_;
    int newIndex_ = -1;
    bool dropDownList_ = false;
    bool locked_ = false;
};

} // namespace platform
