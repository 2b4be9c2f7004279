// Forms: load and unload, modal windows driven by the script, activation, controls.
#include "harness/TestEnv.h"
#include "platform/FormLayout.h"
#include "platform/Forms.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QTest>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

using namespace platform;

namespace {
struct Events {
    QStringList log;
};
Events ev;

class ChildForm : public Form {
public:
    ChildForm() : Form("frmChild") {}
    Button* cmdOk = nullptr;
    TextBox* txtNome = nullptr;
    ComboBox* cboTipo = nullptr;
    CheckBox* chkAttivo = nullptr;
    int keep = 0;   // a form-level variable: lives as long as the instance
    bool refuseClose = false;
    void CreateControls() override
    {
        txtNome = Add<TextBox>("txtNome");
        cboTipo = Add<ComboBox>("cboTipo");
        chkAttivo = Add<CheckBox>("chkAttivo", "Attivo");
        cmdOk = Add<Button>("cmdOk", "Ok");
        cmdOk->Click = [this] {
            ev.log << "ok:" + txtNome->Text();
            Unload();
            Forms::Release<ChildForm>();
        };
    }
    void Form_Load() override { ev.log << "load"; }
    void Form_Activate() override { ev.log << "activate child"; }
    void Form_QueryUnload(int& cancel, int mode) override
    {
        ev.log << QString("query %1").arg(mode);
        if (refuseClose)
            cancel = 1;
    }
    void Form_Unload(int&) override { ev.log << "unload"; }
};

// A date field whose window refuses to let the user leave it without a date.
class DateForm : public Form {
public:
    DateForm() : Form("frmDate") {}
    DatePicker* dtpData = nullptr;
    TextBox* txtAltro = nullptr;
    Button* cmdOk = nullptr;
    Button* cmdCancel = nullptr;
    QDate okSaw;
    int oks = 0, cancels = 0, validations = 0;
    void CreateControls() override
    {
        dtpData = Add<DatePicker>("dtpData");
        dtpData->Validate = [this](bool& cancel) {
            ++validations;
            cancel = !dtpData->HoldsDate();
        };
        txtAltro = Add<TextBox>("txtAltro");
        cmdOk = Add<Button>("cmdOk", "&Ok");
        cmdOk->setDefault(true);
        cmdOk->Click = [this] {
            ++oks;
            okSaw = dtpData->Value();
        };
        cmdCancel = Add<Button>("cmdCancel", "&Annulla");
        cmdCancel->setCausesValidation(false);
        cmdCancel->Click = [this] { ++cancels; };
        layout::LayOut(*this, {{layout::Row({dtpData}), layout::Row({txtAltro})}, {cmdOk, cmdCancel}});
    }
};

class ParentForm : public Form {
public:
    ParentForm() : Form("frmParent") {}
    Button* cmdOpen = nullptr;
    void CreateControls() override
    {
        cmdOpen = Add<Button>("cmdOpen", "Apri");
        cmdOpen->Click = [] { Forms::Instance<ChildForm>().Show(vbModal); };
    }
    void Form_Activate() override { ev.log << "activate parent"; }
};
} // namespace

class FormsTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        ev.log.clear();
    }
};

TEST_F(FormsTest, ModalWindowIsDrivenByTheScriptAndReleasedByItsCommand)
{
    ParentForm& p = Forms::Instance<ParentForm>();
    p.Show();
    ExpectModal<ChildForm>([](ChildForm& c) {
        c.keep = 7;
        c.txtNome->setText("Rossi");
        c.cmdOk->PerformClick();
    });
    p.cmdOpen->PerformClick();
    EXPECT_EQ(ev.log.join(","), "activate parent,load,activate child,ok:Rossi,query 1,unload,activate parent");
    EXPECT_FALSE(Forms::Exists<ChildForm>());
    // A fresh instance after the release.
    EXPECT_EQ(Forms::Instance<ChildForm>().keep, 0);
}

TEST_F(FormsTest, AWindowUnloadedUnderItsOwnHandlerKeepsItsControlsUntilTheHandlerEnds)
{
    // As the exit from the icon does: the window goes while the handler that opened another
    // window over it still waits, and that handler goes on with its controls afterwards.
    ParentForm& p = Forms::Instance<ParentForm>();
    p.Show();
    const QPointer<QWidget> window = p.Window();
    const QWidget* button = p.cmdOpen->Widget();
    bool kept = false;
    p.cmdOpen->Click = [&p, &kept, button] {
        Forms::Instance<ChildForm>().Show(vbModal);
        // The button's widget still answers to its control: the control is there to use.
        kept = Control::Of(button) == p.cmdOpen;
        if (kept)
            p.cmdOpen->setCaption("Ancora");
    };
    ExpectModal<ChildForm>([&](ChildForm& c) {
        p.Unload();
        c.cmdOk->PerformClick();
    });
    p.cmdOpen->PerformClick();
    EXPECT_TRUE(kept);
    EXPECT_FALSE(p.Loaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(FormsTest, CloseBoxOnlyUnloadsAndTheInstanceKeepsItsVariables)
{
    ParentForm& p = Forms::Instance<ParentForm>();
    p.Show();
    ExpectModal<ChildForm>([](ChildForm& c) { c.keep = 7; });   // the script ends: the close box closes it
    p.cmdOpen->PerformClick();
    ASSERT_TRUE(Forms::Exists<ChildForm>());
    EXPECT_FALSE(Forms::Instance<ChildForm>().Loaded());
    EXPECT_EQ(Forms::Instance<ChildForm>().keep, 7);
    EXPECT_TRUE(ev.log.contains("query 0"));
}

TEST_F(FormsTest, RefusedUnloadKeepsTheWindow)
{
    ChildForm c;
    c.Show();
    c.refuseClose = true;
    EXPECT_FALSE(c.Unload());
    EXPECT_TRUE(c.Loaded());
    c.refuseClose = false;
    EXPECT_TRUE(c.Unload());
    EXPECT_FALSE(c.Loaded());
}

TEST_F(FormsTest, ControlsBehaveAsTheWindowsExpect)
{
    ChildForm c;
    c.Load();
    int clicks = 0;
    c.cboTipo->Click = [&] { ++clicks; };
    c.cboTipo->setDropDownList(true);
    c.cboTipo->AddItem("Cliente");
    c.cboTipo->setItemData(c.cboTipo->NewIndex(), 12);
    c.cboTipo->AddItem("Fornitore");
    c.cboTipo->setItemData(c.cboTipo->NewIndex(), 15);
    EXPECT_EQ(c.cboTipo->ListIndex(), -1);   // adding selects nothing
    EXPECT_EQ(c.cboTipo->ListCount(), 2);
    c.cboTipo->setListIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(c.cboTipo->ItemData(c.cboTipo->ListIndex()), 15);
    EXPECT_EQ(c.cboTipo->Text(), "Fornitore");
    c.cboTipo->SendKey(vbKeyHome);
    EXPECT_EQ(c.cboTipo->ListIndex(), 0);

    c.chkAttivo->setValue(2);
    EXPECT_EQ(c.chkAttivo->Value(), 2);
    c.chkAttivo->PerformClick();
    EXPECT_EQ(c.chkAttivo->Value(), 0);
    c.chkAttivo->PerformClick();
    EXPECT_EQ(c.chkAttivo->Value(), 1);

    c.cmdOk->setEnabled(false);
    c.cmdOk->PerformClick();
    EXPECT_TRUE(ev.log.filter("ok:").isEmpty());
    EXPECT_EQ(c.Controls().size(), 4u);
    EXPECT_EQ(c.FindControl("txtNome"), c.txtNome);
    c.Unload();
}

TEST_F(FormsTest, ADateFieldHoldsWhatIsTypedAndReadsItTheItalianWay)
{
    DateForm f;
    f.Show();
    Activate(f);
    f.dtpData->setValue(QDate(2024, 2, 25));
    int changes = 0;
    f.dtpData->Change = [&] { ++changes; };
    f.dtpData->SetFocus();
    const int year = QDate::currentDate().year();
    const struct {
        const char* typed;
        QDate reads;
    } cases[] = {
        {"11122026", QDate(2026, 12, 11)}, {" 1-2-27 ", QDate(2027, 2, 1)}, {"1/2", QDate(year, 2, 1)},
        {"01/05/1700", QDate(1700, 5, 1)}, {"31/02/2026", QDate()},          {"abc", QDate()},
        {"01/01/0099", QDate()},           {"", QDate()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Retype(QString::fromLatin1(c.typed));
        EXPECT_EQ(f.dtpData->Text(), QString::fromLatin1(c.typed));   // as typed, until the window reads it
        EXPECT_EQ(f.dtpData->Value(), c.reads);
        EXPECT_EQ(f.dtpData->HoldsDate(), c.reads.isValid());
    }
    EXPECT_GT(changes, 0);

    // Enter shows the date as read, then presses the default command.
    Retype("5/6/2027");
    Key(Qt::Key_Return);
    EXPECT_EQ(f.okSaw, QDate(2027, 6, 5));
    EXPECT_EQ(f.dtpData->Text(), "05/06/2027");
    // A date set by the program is replaced by the first character typed.
    f.dtpData->setValue(QDate(2024, 2, 25));
    Keys("1/3/2024");
    EXPECT_EQ(f.dtpData->Text(), "1/3/2024");
    // Once the user has edited it, typing goes on where the caret is.
    f.dtpData->setValue(QDate(2024, 2, 25));
    Key(Qt::Key_Delete);
    Keys("1");
    EXPECT_EQ(f.dtpData->Text(), "15/02/2024");
    f.Unload();
}

TEST_F(FormsTest, UpAndDownStepTheDayMonthOrYearUnderTheCaretAndTheCalendarPicksADate)
{
    DateForm f;
    f.Show();
    Activate(f);
    f.dtpData->SetFocus();
    Retype("28/2/2024");
    Key(Qt::Key_Home);
    Key(Qt::Key_Up);
    EXPECT_EQ(f.dtpData->Text(), "29/02/2024");
    Key(Qt::Key_Up);
    EXPECT_EQ(f.dtpData->Text(), "01/03/2024");   // the day goes on into the next month
    Key(Qt::Key_Right, Qt::NoModifier);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(f.dtpData->Text(), "01/02/2024");
    Key(Qt::Key_End);
    Key(Qt::Key_Down);
    EXPECT_EQ(f.dtpData->Text(), "01/02/2023");
    // A text that is no date is left for the user to mend; an empty field starts from today.
    Retype("31/02");
    Key(Qt::Key_Up);
    EXPECT_EQ(f.dtpData->Text(), "31/02");
    Retype("");
    Key(Qt::Key_Up);
    EXPECT_EQ(f.dtpData->Value(), QDate::currentDate());

    // F4 drops the calendar down on the date shown; Enter there picks the day chosen.
    Retype("30/12/1999");
    Key(Qt::Key_F4);
    auto* calendar = QApplication::activePopupWidget() ? QApplication::activePopupWidget()->findChild<QCalendarWidget*>() : nullptr;
    ASSERT_NE(calendar, nullptr) << "no calendar";
    EXPECT_EQ(calendar->selectedDate(), QDate(1999, 12, 30));
    QWidget* days = calendar->findChild<QAbstractItemView*>();
    ASSERT_NE(days, nullptr);
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Return);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(f.dtpData->Text(), "01/01/2000");
    // Escape closes it and leaves the date as it was.
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget()->findChild<QAbstractItemView*>(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(f.dtpData->Text(), "01/01/2000");
    f.Unload();
}

TEST_F(FormsTest, ValidateKeepsTheFocusAndHoldsBackTheClickThatWouldLeave)
{
    DateForm f;
    f.Show();
    Activate(f);
    f.dtpData->SetFocus();
    Retype("31/11/2026");
    QWidget* field = f.dtpData->Widget();

    Key(Qt::Key_Tab);
    EXPECT_EQ(f.validations, 1);
    EXPECT_EQ(Focused(), field);
    Key(Qt::Key_Backtab);
    EXPECT_EQ(f.validations, 2);
    EXPECT_EQ(Focused(), field);
    ClickOn(*f.txtAltro);
    EXPECT_EQ(f.validations, 3);
    EXPECT_EQ(Focused(), field);
    ClickOn(*f.cmdOk);   // neither the focus nor the click goes through
    EXPECT_EQ(f.validations, 4);
    EXPECT_EQ(f.oks, 0);
    EXPECT_EQ(Focused(), field);
    // Enter presses the default command without leaving the field: the window's own checks speak.
    Key(Qt::Key_Return);
    EXPECT_EQ(f.oks, 1);
    EXPECT_EQ(f.validations, 4);
    // A command that causes no validation is pressed at once, by a click or by its access key.
    ClickOn(*f.cmdCancel);
    EXPECT_EQ(f.cancels, 1);
    f.dtpData->SetFocus();
    Key(Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.cancels == 2; }));
    EXPECT_EQ(f.validations, 4);
    // The access key of a command that causes validation is held back: the command is not pressed.
    Key(Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(f.validations, 5);
    EXPECT_FALSE(static_cast<QPushButton*>(f.cmdOk->Widget())->isDown());
    EXPECT_EQ(Focused(), field);
    // A click inside the field itself is no leaving.
    ClickOn(*f.dtpData);
    EXPECT_EQ(f.validations, 5);
    EXPECT_EQ(f.dtpData->Text(), "31/11/2026");

    // With a date the focus goes.
    Retype("30/11/2026");
    ClickOn(*f.txtAltro);
    EXPECT_EQ(f.validations, 6);
    EXPECT_EQ(Focused(), f.txtAltro->Widget());
    // Leaving a control without a Validate handler asks nothing.
    Key(Qt::Key_Tab);
    EXPECT_EQ(f.validations, 6);
    f.Unload();
}

TEST_F(FormsTest, UnexpectedModalWindowFailsTheTestWithItsName)
{
    QStringList failures;
    Script::SetFailureHandler([&](const QString& m) { failures << m; });
    ChildForm c;
    c.Show(vbModal);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("frmChild"));
}

TEST_F(FormsTest, TextBoxesHoldLongTextsUnlessTheirWindowSetsALimit)
{
    ChildForm c;
    c.Load();
    QString longText;
    while (longText.size() < 100000)
        longText += QString::number(longText.size()) + u' ';
    longText.truncate(100000);
    c.txtNome->setText(longText);
    EXPECT_EQ(c.txtNome->Text(), longText);

    // Typed text goes past the old limit of 32,767 characters too.
    c.txtNome->setText(longText.left(40000));
    c.txtNome->setSelStart(40000);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(c.txtNome->Widget(), &key);
    EXPECT_EQ(c.txtNome->Text(), longText.left(40000) + u'a');

    // A window's own limit still holds; 0 lifts it.
    c.txtNome->setMaxLength(5);
    c.txtNome->setText("123456789");
    EXPECT_EQ(c.txtNome->Text(), "12345");
    c.txtNome->setMaxLength(0);
    c.txtNome->setText(longText);
    EXPECT_EQ(c.txtNome->Text().size(), 100000);
    c.Unload();
}
