#include "platform/Form.h"
#include "platform/FormInstances.h"
#include "platform/FormLayout.h"
#include "platform/FormWindow.h"
#include "platform/Frame.h"
#include "platform/MenuItem.h"
#include "platform/WaitingWindows.h"
#include "platform/ScriptedMode.h"
#include "platform/ValidationWatcher.h"
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QMenu>
#include <QPointer>
#include <QWindow>
#include <algorithm>

namespace platform {

namespace {

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

// The windows shown modally and still open, the innermost last.
std::vector<Form*>& modalForms()
{
    static std::vector<Form*> v;
    return v;
}

QWindow* nativeWindow(QWidget* w)
{
    w->winId();   // the window system's window exists from here on, shown or not
    return w->windowHandle();
}

// When a window of the program that had the keyboard goes away (hidden, minimised, closed), the
// X server moves the focus off it; Qt waits a tenth of a second for the focus to come to another
// window of the program and, when none has come, makes the program inactive, which closes every
// open menu. A menu shown in that moment gets the keyboard only when the X server says so, which
// may be after the deactivation: that one tells of the window that went, not of the menu, and
// must not close it. Once the menu has the keyboard, a deactivation is real (the user went to
// another program) and closes it as usual. Qt closes menus by closing their window, which the
// menu itself never does: so the menu refuses to be closed until it has the keyboard.
class StaleDeactivationGuard : public QObject {
public:
    explicit StaleDeactivationGuard(QMenu& menu) : menu_(&menu)
    {
        menu.installEventFilter(this);
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
            if (w && menu_ && w == menu_->windowHandle())
                menuFocused_ = true;
        });
    }
    ~StaleDeactivationGuard() override
    {
        if (menu_)
            menu_->removeEventFilter(this);
    }
    StaleDeactivationGuard(const StaleDeactivationGuard&) = delete;
    StaleDeactivationGuard& operator=(const StaleDeactivationGuard&) = delete;

    bool eventFilter(QObject*, QEvent* ev) override
    {
        if (ev->type() != QEvent::Close || menuFocused_)
            return false;
        ev->ignore();
        return true;
    }

private:
    QPointer<QMenu> menu_;   // an item's handler may unload the form and its menu
    bool menuFocused_ = false;
};

} // namespace

Form::Form(const QString& name) : Name(name), caption_(name) {}

Form::~Form()
{
    if (window_)
        destroyWindow();
    if (activeForm() == this)
        activeForm() = nullptr;
}

void Form::registerControl(Control* c) { controls_.push_back(c); }

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

void Form::setMinimumSize(double width, double height)
{
    minW_ = width;
    minH_ = height;
    applyMinimumSize();
}

void Form::Load()
{
    if (window_)
        return;
    Forms::Busy busy;
    WatchWaitingWindows();
    WatchValidation();
    auto* w = new FormWindow(*this);
    w->setTitleButtons(minButton_, maxButton_);
    window_ = w;
    w->setWindowTitle(caption_);
    w->resize(ToPixels(designW_), ToPixels(designH_));
    applyMinimumSize();
    loadedForms().push_back(this);
    CreateControls();
    frame_ = nullptr;
    Form_Load();
}

void Form::Show(int modal)
{
    Forms::Busy busy;   // declared first, so that it ends after the last use of this form
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
    // Modal to the window that opens it and, through it, to every window under it, but never to
    // the rest of the program: the notification icon stays alive.
    Form* opener = ModalOnTop() ? ModalOnTop() : previous;
    if (!opener || opener == this || !opener->Loaded()) {
        const auto& loaded = loadedForms();
        const auto other = std::find_if(loaded.begin(), loaded.end(), [this](Form* f) { return f != this; });
        opener = other != loaded.end() ? *other : nullptr;
    }
    if (opener) {
        w->setDialogOfOpener(true);
        nativeWindow(w)->setTransientParent(nativeWindow(opener->Window()));
    }
    w->setWindowModality(Qt::WindowModal);
    modalForms().push_back(this);
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
        loop.exec(QEventLoop::DialogExec);
        if (window_)
            static_cast<FormWindow*>(window_)->loop = nullptr;
    }
    modal_ = false;
    auto& modals = modalForms();
    modals.erase(std::remove(modals.begin(), modals.end(), this), modals.end());
    if (window_) {
        window_->setWindowModality(Qt::NonModal);
        if (QWindow* handle = window_->windowHandle())
            handle->setTransientParent(nullptr);
        if (!window_->isVisible())
            static_cast<FormWindow*>(window_)->setDialogOfOpener(false);
    }
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

bool Form::Unload(int unloadMode)
{
    if (!window_)
        return true;
    Forms::Busy busy;
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
    w->detach();
    w->closingByCode = true;
    if (w->loop)
        w->loop->quit();
    w->hide();
    auto& lf = loadedForms();
    lf.erase(std::remove(lf.begin(), lf.end(), this), lf.end());
    auto& modals = modalForms();
    modals.erase(std::remove(modals.begin(), modals.end(), this), modals.end());
    controls_.clear();
    frame_ = nullptr;
    font_.reset();
    if (activeForm() == this)
        activeForm() = nullptr;
    Forms::Discard(std::move(owned_), w);
    owned_.clear();
}

void Form::windowResized()
{
    if (!window_)
        return;
    applyMinimumSize();
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

// The window's least size is of its inside; the frame is known once it is on screen.
void Form::applyMinimumSize()
{
    if (!window_ || (minW_ <= 0 && minH_ <= 0))
        return;
    const QSize extra = frameExtra(window_);
    const QSize least(std::max(0, ToPixels(minW_) - extra.width()), std::max(0, ToPixels(minH_) - extra.height()));
    if (window_->minimumSize() != least)
        window_->setMinimumSize(least);
}

// A laid-out window takes its new size at once when its controls changed, so that what is
// read of its size (to centre it, say) is the size it shows.
void Form::settleLayout() const { layout::Settle(*this); }

double Form::Left() const { return window_ ? ToTwips(window_->frameGeometry().x()) : 0; }
double Form::Top() const { return window_ ? ToTwips(window_->frameGeometry().y()) : 0; }
double Form::Width() const
{
    if (!window_)
        return designW_;
    settleLayout();
    return ToTwips(window_->width() + frameExtra(window_).width());
}
double Form::Height() const
{
    if (!window_)
        return designH_;
    settleLayout();
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

QFont Form::Font() const
{
    if (font_)
        return *font_;
    return window_ ? window_->font() : QApplication::font();
}

void Form::setFont(const QFont& f)
{
    // Kept off the window: a Qt window's font would pass on to every control that has no font of its own.
    Load();
    font_ = f;
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
    if (!menu.Enabled() || Forms::Ending())
        return;
    StaleDeactivationGuard guard(*menu.menu());
    menu.menu()->exec(QCursor::pos());
}

Form* Form::ActiveForm() { return activeForm(); }

Form* Form::ModalOnTop() { return modalForms().empty() ? nullptr : modalForms().back(); }

std::vector<Form*> LoadedForms() { return loadedForms(); }

QWidget* DialogParent()
{
    if (Form* top = Form::ModalOnTop())
        if (top->Window())
            return top->Window();
    if (Form* f = Form::ActiveForm())
        if (f->Window())
            return f->Window();
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // Nothing shown (a start in the icon only): the first window loaded, hidden as it may be, so
    // that what opens is modal to the program's windows and not to its icon.
    for (Form* f : loadedForms())
        if (f->Window())
            return f->Window();
    return nullptr;
}

} // namespace platform
