#pragma once
// Every window is a Form; its controls are created by CreateControls() at each load, in
// collection order, and destroyed at unload, while the form object (and its own member
// variables) lives until it is released.
#include "platform/Control.h"
#include <QFont>
#include <memory>
#include <optional>
#include <vector>

class QDialog;

namespace platform {

class Frame;
class MenuItem;

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

    const std::vector<Control*>& Controls() const { return controls_; }
    Control* FindControl(const QString& name, int index = -1) const;
    QWidget* Window() const;
    // The form's own font, for the text it measures; its controls keep their own fonts.
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
    QWidget* currentContainer() const;
    void windowCloseRequested(bool& accept);
    void windowResized();
    void windowStateChanged();

    static Form* ActiveForm();
    // The innermost window shown modally and still open, or none.
    static Form* ModalOnTop();

protected:
    // Design size of the window, in twips; applied when the window is made.
    void setDesignSize(double width, double height);
    // Whether the caption bar shows the minimise and maximise buttons (neither by default, as a
    // dialog's); applied when the window is made.
    void setTitleButtons(bool minButton, bool maxButton);
    // The least outer size the user can give the window, in twips.
    void setMinimumSize(double width, double height);

private:
    void destroyWindow();
    void applyMinimumSize();
    void settleLayout() const;
    QDialog* window_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<std::unique_ptr<Control>> owned_;
    Frame* frame_ = nullptr;
    bool modal_ = false;
    double designW_ = 6000, designH_ = 4500;
    double minW_ = 0, minH_ = 0;
    bool minButton_ = false, maxButton_ = false;
    QString caption_;
    std::optional<QFont> font_;   // set by setFont until the form unloads
};

// The loaded forms, in load order.
std::vector<Form*> LoadedForms();

// The window a dialog of the platform (message box, input box, save or print dialog) opens over:
// the innermost modal window, else the active form's, else Qt's active window.
QWidget* DialogParent();

} // namespace platform
