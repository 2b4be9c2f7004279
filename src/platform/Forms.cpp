#include "platform/Forms.h"
#include "platform/Script.h"
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QDialog>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cstdio>
#include <map>

namespace platform {

// ---------------------------------------------------------------- helpers

void Dispatch(const std::function<void()>& handler)
{
    if (!handler)
        return;
    const std::function<void()> h = handler;   // the control may go away while its handler runs
    try {
        h();
    } catch (const VbError& e) {
        std::fprintf(stderr, "unhandled error %ld (%s)\n", e.Number, qPrintable(e.Description));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "unhandled error (%s)\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "unhandled error\n");
    }
}

int VbKeyCode(int k)
{
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return k & 0xFFFF;
    }
}

static int QtKey(int vb)
{
    if ((vb >= 'A' && vb <= 'Z') || (vb >= '0' && vb <= '9'))
        return vb;
    if (vb >= 112 && vb <= 123)
        return Qt::Key_F1 + (vb - 112);
    switch (vb) {
    case 8: return Qt::Key_Backspace;
    case 9: return Qt::Key_Tab;
    case 13: return Qt::Key_Return;
    case 27: return Qt::Key_Escape;
    case 32: return Qt::Key_Space;
    case 33: return Qt::Key_PageUp;
    case 34: return Qt::Key_PageDown;
    case 35: return Qt::Key_End;
    case 36: return Qt::Key_Home;
    case 37: return Qt::Key_Left;
    case 38: return Qt::Key_Up;
    case 39: return Qt::Key_Right;
    case 40: return Qt::Key_Down;
    case 45: return Qt::Key_Insert;
    case 46: return Qt::Key_Delete;
    default: return vb;
    }
}

static int shiftState(Qt::KeyboardModifiers m)
{
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

namespace {

// Hands key presses to a control's KeyDown handler first; a handler that sets the code to 0 eats the key.
class KeyFilter : public QObject {
public:
    KeyFilter(QObject* parent, std::function<void(int&, int)>* handler) : QObject(parent), handler_(handler) {}
    bool eventFilter(QObject*, QEvent* ev) override
    {
        if (ev->type() != QEvent::KeyPress || !handler_ || !*handler_)
            return false;
        auto* ke = static_cast<QKeyEvent*>(ev);
        int code = VbKeyCode(ke->key());
        const int shift = shiftState(ke->modifiers());
        auto h = *handler_;
        Dispatch([&] { h(code, shift); });
        return code == 0;
    }
private:
    std::function<void(int&, int)>* handler_;
};

void sendKey(QWidget* w, int vbKeyCode)
{
    if (!w)
        return;
    QKeyEvent press(QEvent::KeyPress, QtKey(vbKeyCode), Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, QtKey(vbKeyCode), Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

// A check box that cycles as the skin's does: unchecked <-> checked; grayed goes to unchecked.
class CycleCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;
protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
    }
};

std::vector<Form*>& loadedForms()
{
    static std::vector<Form*> v;
    return v;
}

Form*& activeForm()
{
    static Form* f = nullptr;
    return f;
}

} // namespace

// The window of a form.
class FormWindow : public QDialog {
public:
    explicit FormWindow(Form& f) : QDialog(nullptr), form_(f)
    {
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                       Qt::WindowCloseButtonHint);
        setSizeGripEnabled(false);
    }
    QEventLoop* loop = nullptr;
    Button* cancelButton = nullptr;
    bool closingByCode = false;

protected:
    void closeEvent(QCloseEvent* ev) override
    {
        if (closingByCode) {
            ev->accept();
            return;
        }
        bool accept = true;
        form_.windowCloseRequested(accept);
        if (accept)
            ev->accept();
        else
            ev->ignore();
    }
    void resizeEvent(QResizeEvent* ev) override
    {
        QDialog::resizeEvent(ev);
        form_.windowResized();
    }
    void changeEvent(QEvent* ev) override
    {
        QDialog::changeEvent(ev);
        if (ev->type() == QEvent::WindowStateChange)
            form_.windowStateChanged();
    }
    void keyPressEvent(QKeyEvent* ev) override
    {
        // Escape presses the cancel button when there is one; it never closes the window by itself.
        if (ev->key() == Qt::Key_Escape) {
            if (cancelButton)
                cancelButton->PerformClick();
            ev->accept();
            return;
        }
        QDialog::keyPressEvent(ev);
    }
    void reject() override {}

private:
    Form& form_;
};

// ---------------------------------------------------------------- Control

Control::Control(Form& form, const QString& name, ControlKind kind, int index)
    : Name(name), Kind(kind), Index(index), Parent(form)
{
    form.registerControl(this);
}

Control::~Control()
{
    if (widget_)
        widget_->disconnect();
}

QWidget* Control::container() const { return Parent.currentContainer(); }

void Control::setWidget(QWidget* w)
{
    widget_ = w;
    if (w) {
        w->setParent(container());
        w->show();
    }
}

bool Control::Visible() const
{
    QWidget* w = Widget();
    return w ? !w->isHidden() : false;
}

void Control::setVisible(bool v)
{
    if (QWidget* w = Widget())
        w->setVisible(v);
}

bool Control::Enabled() const
{
    QWidget* w = Widget();
    return w ? w->isEnabled() : true;
}

void Control::setEnabled(bool v)
{
    if (QWidget* w = Widget())
        w->setEnabled(v);
}

void Control::setTabStop(bool v)
{
    tabStop_ = v;
    if (QWidget* w = Widget())
        w->setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus);
}

double Control::Left() const { return Widget() ? ToTwips(Widget()->x()) : 0; }
double Control::Top() const { return Widget() ? ToTwips(Widget()->y()) : 0; }
double Control::Width() const { return Widget() ? ToTwips(Widget()->width()) : 0; }
double Control::Height() const { return Widget() ? ToTwips(Widget()->height()) : 0; }
void Control::setLeft(double t) { if (Widget()) Widget()->move(ToPixels(t), Widget()->y()); }
void Control::setTop(double t) { if (Widget()) Widget()->move(Widget()->x(), ToPixels(t)); }
void Control::setWidth(double t) { if (Widget()) Widget()->resize(std::max(0, ToPixels(t)), Widget()->height()); }
void Control::setHeight(double t) { if (Widget()) Widget()->resize(Widget()->width(), std::max(0, ToPixels(t))); }

void Control::Move(double left, double top, double width, double height)
{
    QWidget* w = Widget();
    if (!w)
        return;
    w->move(ToPixels(left), ToPixels(top));
    w->resize(width < 0 ? w->width() : std::max(0, ToPixels(width)), height < 0 ? w->height() : std::max(0, ToPixels(height)));
}

void Control::SetFocus()
{
    if (QWidget* w = Widget()) {
        if (!w->isEnabled() || w->isHidden())
            Err::Raise(5, QStringLiteral("Invalid procedure call or argument"));
        w->setFocus(Qt::OtherFocusReason);
        if (QWidget* win = w->window())
            win->setProperty("verbantoFocus", QVariant::fromValue(static_cast<void*>(w)));
    }
}

bool Control::HasFocus() const
{
    QWidget* w = Widget();
    if (!w)
        return false;
    if (w->hasFocus())
        return true;
    // Offscreen windows are never active: remember the control that was last given the focus.
    QWidget* win = w->window();
    return win && win->property("verbantoFocus").value<void*>() == static_cast<void*>(w);
}

QFont Control::Font() const { return Widget() ? Widget()->font() : QFont(); }
void Control::setFont(const QFont& f) { if (Widget()) Widget()->setFont(f); }
long Control::hWnd() const { return static_cast<long>(reinterpret_cast<quintptr>(Widget())); }

// ---------------------------------------------------------------- Button

Button::Button(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, ControlKind::Button, index), b_(new QPushButton(caption))
{
    b_->setAutoDefault(false);
    setWidget(b_);
    QObject::connect(b_, &QPushButton::clicked, b_, [this] { Dispatch(Click); });
}

QString Button::Caption() const { return b_->text(); }
void Button::setCaption(const QString& c) { b_->setText(c); }
void Button::setDefault(bool v) { b_->setDefault(v); }

void Button::setCancel(bool v)
{
    if (auto* w = dynamic_cast<FormWindow*>(Parent.Window()))
        w->cancelButton = v ? this : (w->cancelButton == this ? nullptr : w->cancelButton);
}

void Button::PerformClick()
{
    if (!b_->isEnabled() || b_->isHidden())
        return;
    b_->click();
}

// ---------------------------------------------------------------- Label

Label::Label(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, ControlKind::Label, index), l_(new QLabel(caption))
{
    l_->setTextFormat(Qt::PlainText);
    setWidget(l_);
    tabStop_ = false;
}
QString Label::Caption() const { return l_->text(); }
void Label::setCaption(const QString& c) { l_->setText(c); }

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(Form& f, const QString& name, bool multiLine, int index)
    : Control(f, name, ControlKind::TextBox, index), multi_(multiLine)
{
    if (multiLine) {
        plain_ = new QPlainTextEdit();
        plain_->setTabChangesFocus(true);
        setWidget(plain_);
        QObject::connect(plain_, &QPlainTextEdit::textChanged, plain_, [this] { Dispatch(Change); });
    } else {
        line_ = new QLineEdit();
        setWidget(line_);
        QObject::connect(line_, &QLineEdit::textChanged, line_, [this] { Dispatch(Change); });
    }
    widget_->installEventFilter(new KeyFilter(widget_, &KeyDown));
}

QString TextBox::Text() const { return multi_ ? plain_->toPlainText() : line_->text(); }

void TextBox::setText(const QString& t)
{
    if (multi_)
        plain_->setPlainText(t);
    else
        line_->setText(t);
}

void TextBox::setLocked(bool v)
{
    locked_ = v;
    if (multi_)
        plain_->setReadOnly(v);
    else
        line_->setReadOnly(v);
}

void TextBox::setMaxLength(int n)
{
    if (line_)
        line_->setMaxLength(n > 0 ? n : 32767 * 1024);
}

int TextBox::SelStart() const
{
    return multi_ ? plain_->textCursor().position() : line_->cursorPosition();
}

void TextBox::setSelStart(int pos)
{
    if (multi_) {
        QTextCursor c = plain_->textCursor();
        c.setPosition(std::clamp(pos, 0, static_cast<int>(plain_->toPlainText().size())));
        plain_->setTextCursor(c);
    } else {
        line_->setCursorPosition(pos);
    }
}

void TextBox::SelectAll()
{
    if (multi_)
        plain_->selectAll();
    else
        line_->selectAll();
}

void TextBox::SendKey(int vbKeyCode) { sendKey(widget_, vbKeyCode); }

// ---------------------------------------------------------------- ComboBox

ComboBox::ComboBox(Form& f, const QString& name, int index)
    : Control(f, name, ControlKind::ComboBox, index), c_(new QComboBox())
{
    c_->setEditable(true);
    c_->setInsertPolicy(QComboBox::NoInsert);
    c_->setMaxVisibleItems(20);
    setWidget(c_);
    QObject::connect(c_, QOverload<int>::of(&QComboBox::activated), c_, [this](int) { Dispatch(Click); });
    c_->installEventFilter(new KeyFilter(c_, &KeyDown));
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

void ComboBox::SendKey(int vbKeyCode) { sendKey(c_, vbKeyCode); }

bool ComboBox::DroppedDown() const { return c_->view() && c_->view()->isVisible(); }

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, ControlKind::CheckBox, index), c_(new CycleCheckBox(caption))
{
    setWidget(c_);
    QObject::connect(c_, &QCheckBox::clicked, c_, [this] { Dispatch(Click); });
}
QString CheckBox::Caption() const { return c_->text(); }
void CheckBox::setCaption(const QString& c) { c_->setText(c); }

int CheckBox::Value() const
{
    switch (c_->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void CheckBox::setValue(int v)
{
    if (v < 0 || v > 2)
        Err::Raise(380, QStringLiteral("Invalid property value"));
    const int before = Value();
    c_->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    if (before != v)
        Dispatch(Click);   // a change of value by code raises Click, as the user's click does
}

void CheckBox::PerformClick()
{
    if (!c_->isEnabled() || c_->isHidden())
        return;
    c_->click();
}

// ---------------------------------------------------------------- OptionButton

OptionButton::OptionButton(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, ControlKind::OptionButton, index), r_(new QRadioButton(caption))
{
    setWidget(r_);
    QObject::connect(r_, &QRadioButton::clicked, r_, [this] { Dispatch(Click); });
}
QString OptionButton::Caption() const { return r_->text(); }
void OptionButton::setCaption(const QString& c) { r_->setText(c); }
bool OptionButton::Value() const { return r_->isChecked(); }

void OptionButton::setValue(bool v)
{
    if (v) {
        r_->setChecked(true);
        return;
    }
    // Unchecking one button of an exclusive group needs the group off for a moment.
    const bool excl = r_->autoExclusive();
    r_->setAutoExclusive(false);
    r_->setChecked(false);
    r_->setAutoExclusive(excl);
}

void OptionButton::PerformClick()
{
    if (!r_->isEnabled() || r_->isHidden())
        return;
    r_->click();
}

// ---------------------------------------------------------------- DatePicker

DatePicker::DatePicker(Form& f, const QString& name, int index)
    : Control(f, name, ControlKind::DatePicker, index), d_(new QDateEdit())
{
    d_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d_->setCalendarPopup(true);
    d_->setMinimumDate(QDate(1753, 1, 1));
    d_->setMaximumDate(QDate(9999, 12, 31));
    d_->setDate(QDate::currentDate());
    setWidget(d_);
    QObject::connect(d_, &QDateEdit::dateChanged, d_, [this](const QDate&) { Dispatch(Change); });
}
QDate DatePicker::Value() const { return d_->date(); }
void DatePicker::setValue(const QDate& d)
{
    if (!d.isValid())
        Err::Raise(380, QStringLiteral("Invalid property value"));
    d_->setDate(d);
}
QString DatePicker::Text() const { return d_->date().toString(QStringLiteral("dd/MM/yyyy")); }

// ---------------------------------------------------------------- Frame, Picture, SkinForm

Frame::Frame(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, ControlKind::Frame, index), g_(new QGroupBox(caption))
{
    setWidget(g_);
    tabStop_ = false;
}
QString Frame::Caption() const { return g_->title(); }
void Frame::setCaption(const QString& c) { g_->setTitle(c); }

Picture::Picture(Form& f, const QString& name, int index) : Control(f, name, ControlKind::Picture, index)
{
    setWidget(new QLabel());
    tabStop_ = false;
}
void Picture::setPicture(const QString& path)
{
    static_cast<QLabel*>(widget_)->setPixmap(QPixmap(path));
}

SkinForm::SkinForm(Form& f, const QString& name) : Control(f, name, ControlKind::SkinForm) { tabStop_ = false; }
QWidget* SkinForm::Widget() const { return Parent.Window(); }
QString SkinForm::Caption() const { return Parent.Caption(); }
void SkinForm::setCaption(const QString& c) { Parent.setCaption(c); }
void SkinForm::setIcon(const QString& iconPath)
{
    icon_ = iconPath;
    if (Parent.Window() && !iconPath.isEmpty())
        Parent.Window()->setWindowIcon(QIcon(iconPath));
}

// ---------------------------------------------------------------- MenuItem

MenuItem::MenuItem(Form& f, const QString& name, const QString& caption, MenuItem* parentMenu)
    : Control(f, name, ControlKind::MenuItem), caption_(caption), parentMenu_(parentMenu)
{
    tabStop_ = false;
    if (parentMenu_) {
        parentMenu_->items_.push_back(this);
        QMenu* m = parentMenu_->menu();
        if (IsSeparator())
            action_ = m->addSeparator();
        else {
            action_ = m->addAction(caption_);
            QObject::connect(action_, &QAction::triggered, action_, [this] { Dispatch(Click); });
        }
    }
}

MenuItem::~MenuItem()
{
    // The items' actions live in this menu and go with it; whichever of a menu and its items
    // goes first, the other must not touch it afterwards.
    for (MenuItem* item : items_) {
        item->action_ = nullptr;
        item->parentMenu_ = nullptr;
    }
    if (parentMenu_)
        parentMenu_->items_.erase(std::remove(parentMenu_->items_.begin(), parentMenu_->items_.end(), this),
                                  parentMenu_->items_.end());
    if (action_)
        action_->disconnect();
    if (menu_)
        menu_->deleteLater();   // the menu may be the one running this very handler
}

QMenu* MenuItem::menu() const
{
    if (!menu_)
        menu_ = new QMenu(caption_);
    return menu_;
}

void MenuItem::setCaption(const QString& c)
{
    caption_ = c;
    if (action_)
        action_->setText(c);
    if (menu_)
        menu_->setTitle(c);
}

void MenuItem::setEnabled(bool v)
{
    enabled_ = v;
    if (action_)
        action_->setEnabled(v);
    if (menu_)
        menu_->setEnabled(v);
}

void MenuItem::setVisible(bool v)
{
    visible_ = v;
    if (action_)
        action_->setVisible(v);
}

void MenuItem::PerformClick()
{
    if (!enabled_ || (parentMenu_ && !parentMenu_->enabled_))
        return;
    Dispatch(Click);
}

// ---------------------------------------------------------------- Form

Form::Form(const QString& name) : Name(name), caption_(name) {}

Form::~Form()
{
    if (window_)
        destroyWindow();
    if (activeForm() == this)
        activeForm() = nullptr;
}

void Form::registerControl(Control* c) { controls_.push_back(c); }

void Form::unregisterControl(Control* c)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

QWidget* Form::currentContainer() const
{
    if (frame_ && frame_->Widget())
        return frame_->Widget();
    return window_;
}

QWidget* Form::Window() const { return window_; }

void Form::setDesignSize(double width, double height)
{
    designW_ = width;
    designH_ = height;
    if (window_)
        window_->resize(ToPixels(width), ToPixels(height));
}

void Form::setTitleButtons(bool minButton, bool maxButton)
{
    minButton_ = minButton;
    maxButton_ = maxButton;
}

void Form::Load()
{
    if (window_)
        return;
    auto* w = new FormWindow(*this);
    w->setWindowFlag(Qt::WindowMinimizeButtonHint, minButton_);
    w->setWindowFlag(Qt::WindowMaximizeButtonHint, maxButton_);
    window_ = w;
    w->setWindowTitle(caption_);
    w->resize(ToPixels(designW_), ToPixels(designH_));
    loadedForms().push_back(this);
    CreateControls();
    frame_ = nullptr;
    Form_Load();
}

void Form::Show(int modal)
{
    Load();
    if (!window_)
        return;   // the load unloaded the form
    Form* previous = activeForm();
    if (modal != vbModal) {
        window_->show();
        window_->raise();
        if (activeForm() != this) {
            activeForm() = this;
            Form_Activate();
        }
        return;
    }
    if (modal_)
        Err::Raise(400, QStringLiteral("Form already displayed; can't show modally"));
    modal_ = true;
    auto* w = static_cast<FormWindow*>(window_);
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    activeForm() = this;
    Form_Activate();
    if (Script::Active()) {
        if (window_ && window_->isVisible())
            Script::RunModal(*this);
        // The script is over: whatever is still open closes as the close box would.
        if (window_ && window_->isVisible()) {
            bool accept = true;
            windowCloseRequested(accept);
            if (window_ && accept)
                Hide();
        }
    } else if (window_ && window_->isVisible()) {
        QEventLoop loop;
        w->loop = &loop;
        inModalLoop_ = true;
        loop.exec(QEventLoop::DialogExec);
        inModalLoop_ = false;
        if (window_)
            static_cast<FormWindow*>(window_)->loop = nullptr;
    }
    modal_ = false;
    if (window_)
        window_->setWindowModality(Qt::NonModal);
    // The window that opened this one is active again.
    if (previous && previous != this && previous->Loaded() && previous->Visible()) {
        activeForm() = previous;
        previous->Form_Activate();
    } else if (activeForm() == this) {
        activeForm() = nullptr;
    }
}

void Form::Hide()
{
    if (!window_)
        return;
    auto* w = static_cast<FormWindow*>(window_);
    w->hide();
    if (w->loop)
        w->loop->quit();
}

bool Form::Visible() const { return window_ && window_->isVisible(); }

void Form::BringToFront()
{
    if (!window_ || !window_->isVisible())
        return;
    window_->raise();
    window_->activateWindow();
}

bool Form::Unload(int unloadMode)
{
    if (!window_)
        return true;
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel)
        return false;
    Form_Unload(cancel);
    if (cancel)
        return false;
    destroyWindow();
    return true;
}

void Form::windowCloseRequested(bool& accept)
{
    accept = false;
    int cancel = 0;
    Dispatch([&] { Form_QueryUnload(cancel, vbFormControlMenu); });
    if (cancel)
        return;
    Dispatch([&] { Form_Unload(cancel); });
    if (cancel)
        return;
    destroyWindow();
    accept = true;
}

void Form::destroyWindow()
{
    if (!window_)
        return;
    auto* w = static_cast<FormWindow*>(window_);
    window_ = nullptr;
    w->closingByCode = true;
    if (w->loop)
        w->loop->quit();
    w->hide();
    auto& lf = loadedForms();
    lf.erase(std::remove(lf.begin(), lf.end(), this), lf.end());
    controls_.clear();
    owned_.clear();
    frame_ = nullptr;
    w->deleteLater();
    if (activeForm() == this)
        activeForm() = nullptr;
}

void Form::windowResized()
{
    if (window_)
        Dispatch([this] { Form_Resize(); });
}

void Form::windowStateChanged()
{
    if (window_)
        Dispatch([this] { Form_Resize(); });
}

QString Form::Caption() const { return caption_; }

void Form::setCaption(const QString& c)
{
    caption_ = c;
    if (window_)
        window_->setWindowTitle(c);
}

static QSize frameExtra(const QWidget* w)
{
    if (!w->isVisible())
        return QSize(0, 0);
    return w->frameGeometry().size() - w->size();
}

double Form::Left() const { return window_ ? ToTwips(window_->frameGeometry().x()) : 0; }
double Form::Top() const { return window_ ? ToTwips(window_->frameGeometry().y()) : 0; }
double Form::Width() const
{
    if (!window_)
        return designW_;
    return ToTwips(window_->width() + frameExtra(window_).width());
}
double Form::Height() const
{
    if (!window_)
        return designH_;
    return ToTwips(window_->height() + frameExtra(window_).height());
}
void Form::setLeft(double t) { Move(t, Top()); }
void Form::setTop(double t) { Move(Left(), t); }
void Form::setWidth(double t) { Move(Left(), Top(), t, Height()); }
void Form::setHeight(double t) { Move(Left(), Top(), Width(), t); }

void Form::Move(double left, double top, double width, double height)
{
    if (!window_) {
        if (width >= 0) designW_ = width;
        if (height >= 0) designH_ = height;
        return;
    }
    window_->move(ToPixels(left), ToPixels(top));
    if (width >= 0 || height >= 0) {
        const QSize extra = frameExtra(window_);
        const int w = width >= 0 ? ToPixels(width) - extra.width() : window_->width();
        const int h = height >= 0 ? ToPixels(height) - extra.height() : window_->height();
        window_->resize(std::max(1, w), std::max(1, h));
    }
}

double Form::ScaleWidth() const { return window_ ? ToTwips(window_->width()) : designW_; }
double Form::ScaleHeight() const { return window_ ? ToTwips(window_->height()) : designH_; }

int Form::WindowState() const
{
    if (!window_)
        return vbNormal;
    if (window_->windowState() & Qt::WindowMinimized)
        return vbMinimized;
    if (window_->windowState() & Qt::WindowMaximized)
        return vbMaximized;
    return vbNormal;
}

void Form::setWindowState(int s)
{
    Load();
    if (!window_)
        return;
    Qt::WindowStates st = window_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (s == vbMinimized)
        st |= Qt::WindowMinimized;
    else if (s == vbMaximized)
        st |= Qt::WindowMaximized;
    window_->setWindowState(st);
}

long Form::hWnd() const { return static_cast<long>(reinterpret_cast<quintptr>(window_)); }

Control* Form::FindControl(const QString& name, int index) const
{
    for (Control* c : controls_)
        if (c->Name == name && c->Index == index)
            return c;
    return nullptr;
}

QFont Form::Font() const { return window_ ? window_->font() : QApplication::font(); }
void Form::setFont(const QFont& f)
{
    Load();
    if (window_)
        window_->setFont(f);
}

double Form::TextWidth(const QString& text) const
{
    const QFontMetricsF fm(Font());
    return fm.horizontalAdvance(text) * TwipsPerPixel;
}

void Form::PopupMenu(MenuItem& menu)
{
    if (Script::Active()) {
        Script::Record({QStringLiteral("popup"), menu.Name, 0, QString()});
        return;
    }
    if (!menu.Enabled())
        return;
    menu.menu()->exec(QCursor::pos());
}

Form* Form::ActiveForm() { return activeForm(); }

std::vector<Form*> LoadedForms() { return loadedForms(); }

// ---------------------------------------------------------------- default instances

namespace Forms {
namespace {
std::map<std::type_index, Form*>& formSlots()
{
    static std::map<std::type_index, Form*> m;
    return m;
}
std::vector<Form*>& released()
{
    static std::vector<Form*> v;
    return v;
}
} // namespace

Form*& slot(std::type_index t) { return formSlots()[t]; }

void retire(Form* f) { released().push_back(f); }

void ReleaseAll()
{
    for (auto& [t, f] : formSlots()) {
        if (f) {
            if (f->Loaded())
                f->Unload();
            released().push_back(f);
            f = nullptr;
        }
    }
    for (Form* f : released())
        delete f;
    released().clear();
}
} // namespace Forms

// ---------------------------------------------------------------- Screen

namespace Screen {
namespace {
int& pointer()
{
    static int p = 0;
    return p;
}
} // namespace

double Width()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? ToTwips(s->geometry().width()) : ToTwips(1024);
}
double Height()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? ToTwips(s->geometry().height()) : ToTwips(768);
}

void setMousePointer(int p)
{
    if (p == pointer())
        return;
    if (pointer() == 11)
        QApplication::restoreOverrideCursor();
    pointer() = p;
    if (p == 11)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}
int MousePointer() { return pointer(); }
} // namespace Screen

} // namespace platform
