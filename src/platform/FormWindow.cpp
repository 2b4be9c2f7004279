#include "platform/FormWindow.h"
#include "platform/Button.h"
#include "platform/Form.h"
#include "platform/FormInstances.h"
#include <QCloseEvent>
#include <QKeyEvent>

namespace platform {

FormWindow::FormWindow(Form& f) : QDialog(nullptr), form_(&f)
{
    applyFlags();
    setSizeGripEnabled(false);
}

void FormWindow::detach()
{
    form_ = nullptr;
    cancelButton = nullptr;
}

void FormWindow::setTitleButtons(bool minButton, bool maxButton)
{
    minButton_ = minButton;
    maxButton_ = maxButton;
    applyFlags();
}

void FormWindow::setDialogOfOpener(bool dialog)
{
    dialog_ = dialog;
    applyFlags();
}

void FormWindow::applyFlags()
{
    // Without CustomizeWindowHint the window system may add the buttons a plain window has.
    Qt::WindowFlags flags = (dialog_ ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minButton_)
        flags |= Qt::WindowMinimizeButtonHint;
    if (maxButton_)
        flags |= Qt::WindowMaximizeButtonHint;
    if (flags != windowFlags())
        setWindowFlags(flags);   // a window that exists is made anew (hidden) with them
}

void FormWindow::closeEvent(QCloseEvent* ev)
{
    if (closingByCode || !form_) {
        ev->accept();
        return;
    }
    Forms::Busy busy;
    bool accept = true;
    form_->windowCloseRequested(accept);
    if (accept)
        ev->accept();
    else
        ev->ignore();
}

void FormWindow::resizeEvent(QResizeEvent* ev)
{
    QDialog::resizeEvent(ev);
    if (!form_)
        return;
    Forms::Busy busy;
    form_->windowResized();
}

void FormWindow::changeEvent(QEvent* ev)
{
    QDialog::changeEvent(ev);
    if (!form_)
        return;
    Forms::Busy busy;
    if (ev->type() == QEvent::WindowStateChange)
        form_->windowStateChanged();
}

void FormWindow::keyPressEvent(QKeyEvent* ev)
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

} // namespace platform
