#include "platform/MsgBoxDialog.h"
#include "platform/App.h"
#include "platform/Form.h"
#include "platform/FormInstances.h"
#include "platform/WaitingWindows.h"
#include "platform/ScriptedMode.h"
#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace platform {

namespace {

// Qt sizes a message box by its text and leaves the caption bar to the window manager, which cuts
// a caption that doesn't fit beside its buttons ("Gestio… rbanto"). A fixed-width spacer under the
// text keeps the box as wide as the caption in a bold title font, plus the bar's icon and buttons.
void fitTitle(QMessageBox& box)
{
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const QFontMetrics fm(titleFont);
    const int barExtras = TitleBarExtras(fm.height());
    const int needed = fm.horizontalAdvance(box.windowTitle()) + barExtras;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const QMargins m = grid->contentsMargins();
    grid->addItem(new QSpacerItem(needed - m.left() - m.right(), 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

int TitleBarExtras(int titleTextHeight)
{
    // Three buttons and their gaps, each about a line high, on the right; the caption is centred
    // on the whole bar, so as much again on the left, where the window's icon stands.
    return 9 * titleTextHeight;
}

std::unique_ptr<QMessageBox> BuildMessageBox(const QString& prompt, int style, const QString& title)
{
    auto box = std::make_unique<QMessageBox>(DialogParent());
    box->setWindowTitle(title);
    box->setText(prompt);
    const int buttons = style & 0xF;
    const int icon = style & 0xF0;
    switch (icon) {
    case vbCritical: box->setIcon(QMessageBox::Critical); break;
    case 32: box->setIcon(QMessageBox::Question); break;
    case vbExclamation: box->setIcon(QMessageBox::Warning); break;
    case vbInformation: box->setIcon(QMessageBox::Information); break;
    default: box->setIcon(QMessageBox::NoIcon); break;
    }
    if (buttons == vbYesNo) {
        QPushButton* yes = box->addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
        QPushButton* no = box->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box->setDefaultButton(yes);
        box->setEscapeButton(no);
    } else {
        box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    }
    fitTitle(*box);
    return box;
}

namespace {
// A question closed without an answer: No, or OK.
int Unanswered(int style) { return (style & 0xF) == vbYesNo ? vbNo : vbOK; }
} // namespace

int MsgBoxDialog::MsgBox(const QString& prompt, int style, const QString& title)
{
    if (Forms::Ending())
        return Unanswered(style);
    if (Script::Active())
        return Script::NextMsgBoxAnswer(prompt, style, title);
    int answer = Unanswered(style);
    RunDialog(BuildMessageBox(prompt, style, title).release(), [&](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        if ((style & 0xF) != vbYesNo)
            answer = vbOK;
        else
            answer = box.buttonRole(box.clickedButton()) == QMessageBox::YesRole ? vbYes : vbNo;
    });
    return answer;
}

QString MsgBoxDialog::InputBox(const QString& prompt, const QString& title)
{
    if (Forms::Ending())
        return QString();
    if (Script::Active())
        return Script::NextInputBoxAnswer(prompt, title);
    auto* dialog = new QInputDialog(DialogParent());
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setTextEchoMode(QLineEdit::Normal);
    // As large as its prompt and box need, and no other size.
    dialog->setFixedSize(dialog->sizeHint());
    QString text;
    RunDialog(dialog, [&](QDialog& d) {
        if (d.result() == QDialog::Accepted)
            text = static_cast<QInputDialog&>(d).textValue();
    });
    return text;
}

void PlainMsgBox(const QString& prompt)
{
    if (Forms::Ending())
        return;
    if (Script::Active()) {
        Script::Record({QStringLiteral("plainmsgbox"), prompt, 0, App::Title()});
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Information, App::Title(), prompt, QMessageBox::Ok, DialogParent());
    RunDialog(box);
}

} // namespace platform
