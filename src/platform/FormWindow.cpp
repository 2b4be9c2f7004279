#include "platform/FormWindow.h"
#include "platform/Button.h"
#include "platform/Form.h"
#include <QCloseEvent>
#include <QKeyEvent>

namespace platform {

FormWindow::FormWindow(Form& f) : QDialog(nullptr), form_(f)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
}

void FormWindow::closeEvent(QCloseEvent* ev)
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

void FormWindow::resizeEvent(QResizeEvent* ev)
{
    QDialog::resizeEvent(ev);
    form_.windowResized();
}

void FormWindow::changeEvent(QEvent* ev)
{
    QDialog::changeEvent(ev);
    if (ev->type() == QEvent::WindowStateChange)
        form_.windowStateChanged();
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
