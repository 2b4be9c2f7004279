#include "platform/MsgBoxDialog.h"
#include "platform/App.h"
#include "platform/Script.h"
#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

int MsgBoxDialog::MsgBox(const QString& prompt, int style, const QString& title)
{
    if (Script::Active())
        return Script::NextMsgBoxAnswer(prompt, style, title);
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    const int buttons = style & 0xF;
    const int icon = style & 0xF0;
    switch (icon) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case 32: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    // A short message still leaves the caption bar room for the whole title and its buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(box.fontMetrics().horizontalAdvance(title) + 150, 0), grid->rowCount(), 0, 1,
                      grid->columnCount());
    if (buttons == vbYesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? vbYes : vbNo;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return vbOK;
}

QString MsgBoxDialog::InputBox(const QString& prompt, const QString& title)
{
    if (Script::Active())
        return Script::NextInputBoxAnswer(prompt, title);
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextEchoMode(QLineEdit::Normal);
    // As large as its prompt and box need, and no other size.
    dialog.setFixedSize(dialog.sizeHint());
    const bool ok = dialog.exec() == QDialog::Accepted;
    return ok ? dialog.textValue() : QString();
}

void PlainMsgBox(const QString& prompt)
{
    if (Script::Active()) {
        Script::Record({QStringLiteral("plainmsgbox"), prompt, 0, App::Title()});
        return;
    }
    QMessageBox::information(QApplication::activeWindow(), App::Title(), prompt);
}

} // namespace platform
