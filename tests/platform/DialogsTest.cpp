// The platform's dialogs (message, input, plain message, save) as they run over a window that
// may go while they wait, and after the user has confirmed the exit.
#include "platform/Forms.h"
#include "platform/MsgBoxDialog.h"
#include "platform/SaveFileDialog.h"
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class OwnerForm : public Form {
public:
    OwnerForm() : Form(QStringLiteral("frmOwner")) {}
    void CreateControls() override {}
};

// Each dialog, and what it answers when nobody answered it.
struct Dialog {
    const char* name;
    std::function<QString()> run;
    QString unanswered;
};
const std::vector<Dialog>& Dialogs()
{
    static const std::vector<Dialog> dialogs{
        {"question", [] { return QString::number(MsgBoxDialog().MsgBox("Eliminare?", vbYesNo, "Gestione Verbanto")); },
         QString::number(vbNo)},
        {"message", [] { return QString::number(MsgBoxDialog().MsgBox("Salvato", vbInformation, "Gestione Verbanto")); },
         QString::number(vbOK)},
        {"input", [] { return MsgBoxDialog().InputBox("Percorso", "Gestione Verbanto"); }, QString()},
        {"plain", [] { PlainMsgBox("Fatto"); return QStringLiteral("-"); }, QStringLiteral("-")},
        {"save", [] { SaveFileDialog d; d.setFilter("File CSV|*.csv"); return d.ShowSave(); }, QString()},
    };
    return dialogs;
}

} // namespace

TEST(DialogsTest, ADialogWhoseWindowGoesWhileItWaitsEndsUnanswered)
{
    for (const Dialog& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        OwnerForm owner;
        owner.Show();
        // Once the dialog waits, its window goes, and the dialog with it.
        QTimer::singleShot(0, [&] { owner.Unload(); });
        EXPECT_EQ(d.run(), d.unanswered);
        EXPECT_FALSE(owner.Loaded());
    }
}

TEST(DialogsTest, AfterAConfirmedExitNoDialogOpens)
{
    OwnerForm owner;
    owner.Show();
    Forms::EndDialogs();
    // A dialog that opens all the same is counted and sent away, so that the test goes on.
    int opened = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible() && dialog != owner.Window()) {
                ++opened;
                dialog->reject();
            }
    });
    watch.start(20);
    for (const Dialog& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        EXPECT_EQ(d.run(), d.unanswered);
    }
    EXPECT_EQ(opened, 0);
}
