// A window released by its own handler: the form lives until its code is done, and its window,
// deleted later by Qt, never reaches the form or its controls again.
#include "harness/TestEnv.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "shared/ModalWindows.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QWidget>

using namespace platform;

namespace {
QStringList gLog;

// Everything the window could still deliver after the release: a resize, a state change, an
// activation, the close box and Escape (the cancel button's key).
void Poke(QWidget* w)
{
    QResizeEvent resize(QSize(300, 200), QSize(200, 100));
    QCoreApplication::sendEvent(w, &resize);
    QEvent state(QEvent::WindowStateChange);
    QCoreApplication::sendEvent(w, &state);
    QEvent activation(QEvent::ActivationChange);
    QCoreApplication::sendEvent(w, &activation);
    QCloseEvent close;
    QCoreApplication::sendEvent(w, &close);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &escape);
}

class PassingForm : public Form {
public:
    PassingForm() : Form("frmPassing") {}
    ~PassingForm() override { gLog << "deleted"; }
    Button* cmdClose = nullptr;
    QPointer<QWidget> window;
    void CreateControls() override
    {
        cmdClose = Add<Button>("cmdClose", "Esci");
        cmdClose->setCancel(true);
        cmdClose->Click = [this] {
            gLog << "close";
            window = Window();
            verbanto::UnloadAndRelease(*this);
            // Events run under the handler: the form is still there for the rest of it.
            App::DoEvents();
            gLog << (Forms::Exists<PassingForm>() ? "still default" : "released");
            Poke(window);
            gLog << "handler done";
        };
    }
    void Form_Resize() override { gLog << "resize"; }
    void Form_QueryUnload(int&, int) override { gLog << "query"; }
    void Form_Activate() override { gLog << "activate"; }
};
} // namespace

class ModalWindowsTest : public VerbantoTest {};

TEST_F(ModalWindowsTest, AReleasedFormOutlivesItsHandlerAndItsWindowNeverReachesItAgain)
{
    gLog.clear();
    QPointer<QWidget> window;
    ExpectModalNamed(QStringLiteral("frmPassing"), [&](Form& f) {
        auto& form = static_cast<PassingForm&>(f);
        gLog.clear();
        form.cmdClose->PerformClick();
        window = form.window;
    });
    verbanto::ShowModal<PassingForm>();
    EXPECT_EQ(gLog.join(',').toStdString(), "close,query,released,handler done,deleted");

    // The window is deleted later still; until then it is only a window.
    ASSERT_FALSE(window.isNull());
    Poke(window);
    App::DoEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(gLog.join(',').toStdString(), "close,query,released,handler done,deleted");
    EXPECT_FALSE(Forms::Exists<PassingForm>());
}
