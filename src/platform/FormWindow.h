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
    Form& form_;
};

} // namespace platform
