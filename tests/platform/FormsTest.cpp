// Forms: load and unload, modal windows driven by the script, activation, controls.
#include "harness/TestEnv.h"
#include "platform/Forms.h"
#include <QCoreApplication>
#include <QKeyEvent>
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

class DateForm : public Form {
public:
    DateForm() : Form("frmDate") {}
    DatePicker* dtpData = nullptr;
    Button* cmdOk = nullptr;
    QDate okSaw;
    void CreateControls() override
    {
        dtpData = Add<DatePicker>("dtpData");
        cmdOk = Add<Button>("cmdOk", "Ok");
        cmdOk->setDefault(true);
        cmdOk->Click = [this] { okSaw = dtpData->Value(); };
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

TEST_F(FormsTest, ADateIsTypedWholeTheItalianWayAndAnImpossibleOneLeavesTheDateAsItWas)
{
    DateForm f;
    f.Show();
    f.dtpData->setValue(QDate(2024, 2, 25));
    int changes = 0;
    f.dtpData->Change = [&] { ++changes; };
    const struct {
        const char* typed;
        QDate after;
    } cases[] = {
        {"11/12/2026", QDate(2026, 12, 11)}, {"11122026", QDate(2026, 12, 11)}, {"1-2-27", QDate(2027, 2, 1)},
        {"3.4.1999", QDate(1999, 4, 3)},     {"31/02/2026", QDate(1999, 4, 3)}, {"31022026", QDate(1999, 4, 3)},
        {"abc", QDate(1999, 4, 3)},          {"1/2", QDate(1999, 4, 3)},        {"150826", QDate(2026, 8, 15)},
    };
    for (const auto& c : cases) {
        f.dtpData->Type(QString::fromLatin1(c.typed));
        EXPECT_EQ(f.dtpData->Value(), c.after) << c.typed;
        EXPECT_EQ(f.dtpData->Text(), c.after.toString("dd/MM/yyyy")) << c.typed;
    }
    EXPECT_EQ(changes, 4);   // once for each date that differed from the one before

    // Enter reads the typed date, then presses the default command.
    f.dtpData->Type("5/6/2027");
    f.dtpData->SendKey(vbKeyReturn);
    EXPECT_EQ(f.okSaw, QDate(2027, 6, 5));
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
