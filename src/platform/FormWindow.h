#pragma once
// Internal to the platform layer: the Qt window of a form.
#include <QDialog>

class QEventLoop;

namespace platform {

class Button;
class Form;

class FormWindow : public QDialog {
public:
    explicit FormWindow(Form& f);
    // The form lets its window go (the window is deleted later, the form may go first): from
    // here on no event of the window reaches the form or its controls.
    void detach();
    // The caption bar's buttons: always the close box, the others as asked.
    void setTitleButtons(bool minButton, bool maxButton);
    // While shown modally the window is a dialog of the window that opened it: the window
    // system keeps it over its opener and minimises and restores the two together.
    void setDialogOfOpener(bool dialog);
    QEventLoop* loop = nullptr;
    Button* cancelButton = nullptr;
    bool closingByCode = false;

protected:
    void closeEvent(QCloseEvent* ev) override;
    void resizeEvent(QResizeEvent* ev) override;
    void changeEvent(QEvent* ev) override;
    void keyPressEvent(QKeyEvent* ev) override;
    void reject() override {}

private:
    void applyFlags();
    Form* form_;
    bool minButton_ = false;
    bool maxButton_ = false;
    bool dialog_ = false;
};

} // namespace platform
