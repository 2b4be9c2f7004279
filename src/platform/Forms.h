#pragma once
// Forms and the skin controls the windows use, as thin wrappers on Qt widgets.
// Positions and sizes are in twips (15 a pixel). Every window is a Form; its controls are
// created by CreateControls() at each load, in collection order, and destroyed at unload,
// while the form object (and its own member variables) lives until it is released.
#include "platform/VbError.h"
#include <QDate>
#include <QFont>
#include <QString>
#include <functional>
#include <memory>
#include <typeindex>
#include <vector>

class QWidget;
class QDialog;
class QPushButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QComboBox;
class QCheckBox;
class QRadioButton;
class QDateEdit;
class QGroupBox;
class QMenu;
class QAction;

namespace platform {

constexpr int TwipsPerPixel = 15;
inline int ToPixels(double twips) { return static_cast<int>(twips / TwipsPerPixel + 0.5); }
inline int ToTwips(int pixels) { return pixels * TwipsPerPixel; }

constexpr int vbModeless = 0;
constexpr int vbModal = 1;
// Unload modes of QueryUnload
constexpr int vbFormControlMenu = 0;
constexpr int vbFormCode = 1;
// Window states
constexpr int vbNormal = 0;
constexpr int vbMinimized = 1;
constexpr int vbMaximized = 2;
// Key codes the windows test
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeyEnd = 35;
constexpr int vbKeyHome = 36;
constexpr int vbKeyDelete = 46;

enum class ControlKind {
    SkinForm, Button, Label, TextBox, ComboBox, CheckBox, OptionButton, DatePicker,
    Frame, Picture, WebBrowser, FlexGrid, MenuItem
};

class Form;

class Control {
public:
    Control(Form& form, const QString& name, ControlKind kind, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString Name;
    const ControlKind Kind;
    const int Index;          // index in a control array, -1 when none
    Form& Parent;

    virtual QWidget* Widget() const { return widget_; }

    bool Visible() const;                 // the control's own visibility, whatever its window does
    void setVisible(bool v);
    bool Enabled() const;
    void setEnabled(bool v);
    bool TabStop() const { return tabStop_; }
    void setTabStop(bool v);
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top, double width = -1, double height = -1);
    void SetFocus();
    bool HasFocus() const;
    QFont Font() const;
    void setFont(const QFont& f);
    long hWnd() const;

protected:
    void setWidget(QWidget* w);           // the widget becomes a child of the form's window or frame
    QWidget* container() const;
    QWidget* widget_ = nullptr;
    bool tabStop_ = true;
};

// Runs a window's handler from a Qt signal: nothing may escape into Qt.
void Dispatch(const std::function<void()>& handler);
// Key codes as the windows know them (Delete 46, End 35, ...), from a Qt key.
int VbKeyCode(int qtKey);

class Button : public Control {
public:
    Button(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const;
    void setCaption(const QString& c);
    void setDefault(bool v);              // Enter presses it
    void setCancel(bool v);               // Escape presses it
    std::function<void()> Click;
    void PerformClick();                  // a user's click: nothing when disabled or hidden
private:
    QPushButton* b_;
};

class Label : public Control {
public:
    Label(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const;
    void setCaption(const QString& c);
private:
    QLabel* l_;
};

class TextBox : public Control {
public:
    TextBox(Form& f, const QString& name, bool multiLine = false, int index = -1);
    QString Text() const;
    void setText(const QString& t);       // fires Change
    bool Locked() const { return locked_; }
    void setLocked(bool v);
    void setMaxLength(int n);
    int SelStart() const;
    void setSelStart(int pos);
    void SelectAll();
    std::function<void()> Change;
    std::function<void(int& keyCode, int shift)> KeyDown;
    void SendKey(int vbKeyCode);          // a key press as the user gives it (End, Home, ...)
    bool MultiLine() const { return multi_; }
private:
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    bool multi_;
    bool locked_ = false;
};

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
    void SendKey(int vbKeyCode);
    bool DroppedDown() const;
private:
    QComboBox* c_;
    int newIndex_ = -1;
    bool dropDownList_ = false;
    bool locked_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const;
    void setCaption(const QString& c);
    int Value() const;                    // 0 unchecked, 1 checked, 2 grayed
    void setValue(int v);
    std::function<void()> Click;
    void PerformClick();                  // cycles as the user's click does (0 -> 1 -> 0; grayed -> 0)
private:
    QCheckBox* c_;
};

class OptionButton : public Control {
public:
    OptionButton(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const;
    void setCaption(const QString& c);
    bool Value() const;
    void setValue(bool v);
    std::function<void()> Click;
    void PerformClick();
private:
    QRadioButton* r_;
};

class DatePicker : public Control {
public:
    DatePicker(Form& f, const QString& name, int index = -1);
    QDate Value() const;
    void setValue(const QDate& d);        // fires Change
    QString Text() const;                 // "dd/mm/yyyy"
    std::function<void()> Change;
private:
    QDateEdit* d_;
};

class Frame : public Control {
public:
    Frame(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const;
    void setCaption(const QString& c);
private:
    QGroupBox* g_;
};

class Picture : public Control {
public:
    Picture(Form& f, const QString& name, int index = -1);
    void setPicture(const QString& resourcePath);
};

// The skin of a window: its caption, gradient and icon.
class SkinForm : public Control {
public:
    SkinForm(Form& f, const QString& name);
    QWidget* Widget() const override;
    QString Caption() const;
    void setCaption(const QString& c);
    bool DrawGradientForm = false;
    void setIcon(const QString& iconPath);
    QString Icon() const { return icon_; }
private:
    QString icon_;
};

class MenuItem : public Control {
public:
    MenuItem(Form& f, const QString& name, const QString& caption, MenuItem* parentMenu = nullptr);
    ~MenuItem() override;
    QWidget* Widget() const override { return nullptr; }
    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);
    bool Visible() const { return visible_; }
    void setVisible(bool v);
    std::function<void()> Click;
    void PerformClick();                  // nothing when disabled
    const std::vector<MenuItem*>& Items() const { return items_; }
    QMenu* menu() const;
    bool IsSeparator() const { return caption_ == "-"; }
private:
    friend class Form;
    QString caption_;
    bool enabled_ = true;
    bool visible_ = true;
    MenuItem* parentMenu_;
    std::vector<MenuItem*> items_;
    QAction* action_ = nullptr;
    mutable QMenu* menu_ = nullptr;
};

class Form {
public:
    explicit Form(const QString& name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString Name;

    // Design time: create the window's controls, in collection order.
    virtual void CreateControls() = 0;
    // Events
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {}
    virtual void Form_Unload(int& /*cancel*/) {}
    virtual void Form_Resize() {}

    void Load();
    bool Loaded() const { return window_ != nullptr; }
    void Show(int modal = vbModeless);
    void Hide();
    bool Unload(int unloadMode = vbFormCode);   // false when the form refused
    bool Visible() const;

    QString Caption() const;
    void setCaption(const QString& c);
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top, double width = -1, double height = -1);
    double ScaleWidth() const;
    double ScaleHeight() const;
    int WindowState() const;
    void setWindowState(int s);
    long hWnd() const;
    bool IsModal() const { return modal_; }
    // Raises the window and gives it the focus, without any event of the form.
    void BringToFront();

    const std::vector<Control*>& Controls() const { return controls_; }
    Control* FindControl(const QString& name, int index = -1) const;
    QWidget* Window() const;
    QFont Font() const;
    double TextWidth(const QString& text) const;   // in the form's font, twips
    void setFont(const QFont& f);

    // Shows a menu at the pointer (or hands it to the test script).
    void PopupMenu(MenuItem& menu);

    // Creation helpers for CreateControls: the control joins the collection.
    template <class T, class... A> T* Add(A&&... args)
    {
        auto c = std::make_unique<T>(*this, std::forward<A>(args)...);
        T* raw = c.get();
        owned_.push_back(std::move(c));
        return raw;
    }
    // Controls created after this call are placed inside the frame (until EndFrame).
    void BeginFrame(Frame* f) { frame_ = f; }
    void EndFrame() { frame_ = nullptr; }

    // internal
    void registerControl(Control* c);
    void unregisterControl(Control* c);
    QWidget* currentContainer() const;
    void windowCloseRequested(bool& accept);
    void windowResized();
    void windowStateChanged();

    static Form* ActiveForm();

protected:
    // Design size of the window, in twips; applied when the window is made.
    void setDesignSize(double width, double height);
    // Whether the caption bar shows the minimise and maximise buttons (both by default);
    // applied when the window is made.
    void setTitleButtons(bool minButton, bool maxButton);

private:
    void destroyWindow();
    QDialog* window_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<std::unique_ptr<Control>> owned_;
    Frame* frame_ = nullptr;
    bool modal_ = false;
    bool inModalLoop_ = false;
    double designW_ = 6000, designH_ = 4500;
    bool minButton_ = true, maxButton_ = true;
    QString caption_;
};

// The loaded forms, in load order.
std::vector<Form*> LoadedForms();

// Default instances: a form is made on first use and lives until Release.
namespace Forms {
Form*& slot(std::type_index t);
void retire(Form* f);   // kept until the program ends: its code may still be running
template <class T> T& Instance()
{
    Form*& s = slot(std::type_index(typeid(T)));
    if (!s)
        s = new T();
    return static_cast<T&>(*s);
}
template <class T> bool Exists() { return slot(std::type_index(typeid(T))) != nullptr; }
// Unloads (when loaded) and destroys the default instance; the next use makes a fresh one.
template <class T> void Release()
{
    Form*& s = slot(std::type_index(typeid(T)));
    Form* f = s;
    s = nullptr;
    if (f) {
        if (f->Loaded())
            f->Unload();
        retire(f);
    }
}
void ReleaseAll();
} // namespace Forms

// The screen and the mouse pointer.
namespace Screen {
double Width();
double Height();
void setMousePointer(int pointer);        // 11 hourglass, 0 default
int MousePointer();
}

} // namespace platform
