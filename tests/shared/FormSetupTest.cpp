// Form set-up: centring, accelerators, drop-down lists, column headers.
#include "harness/TestEnv.h"
#include "shared/basGeneral.h"

using namespace verbanto;
using namespace platform;

namespace {
class SetupForm : public Form {
public:
    SetupForm() : Form("frmSetup") {}
    SkinForm* skin = nullptr;
    Button* b[12] = {};
    ComboBox* combo = nullptr;
    Label* label = nullptr;
    void CreateControls() override
    {
        skin = Add<SkinForm>("OsenXPForm1");
        const char* captions[] = {"Stampa", "Esci", "Elimina", "Aggiungi", "Cerca", "Esporta CSV",
                                  "Versa", "Ok", "Annulla", "Reimposta", "OK", "&Stampa"};
        for (int i = 0; i < 12; ++i)
            b[i] = Add<Button>(QString("cmd%1").arg(i), captions[i]);
        combo = Add<ComboBox>("cboX");
        label = Add<Label>("lblX", "x");
    }
};
} // namespace

class FormSetupTest : public VerbantoTest {};

TEST_F(FormSetupTest, AcceleratorsDropDownListsAndSkin)
{
    SetupForm f;
    f.Load();
    DisattivaTabstop(f.Controls());
    const char* expected[] = {"S&tampa", "E&sci", "&Elimina", "&Aggiungi", "&Cerca", "Espo&rta CSV",
                              "&Versa", "&Ok", "A&nnulla", "&Reimposta", "OK", "&Stampa"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(f.b[i]->Caption(), expected[i]);
    EXPECT_TRUE(f.combo->DropDownList());
    EXPECT_FALSE(f.label->TabStop());
    EXPECT_TRUE(f.skin->DrawGradientForm);
    f.Unload();
}

TEST_F(FormSetupTest, CenterFormPlacesTheWindowInTheMiddle)
{
    SetupForm f;
    f.Load();
    f.Move(0, 0, 6000, 4500);
    CenterForm(f);
    EXPECT_NEAR(f.Left(), (Screen::Width() - f.Width()) / 2, 15);
    EXPECT_NEAR(f.Top(), (Screen::Height() - f.Height()) / 2, 15);
    f.Move(0, 0, Screen::Width(), Screen::Height());
    CenterForm(f);
    EXPECT_EQ(f.Left(), 0);
    EXPECT_EQ(f.Top(), 0);
    f.Unload();
}

TEST_F(FormSetupTest, PutSpacesInLabels)
{
    EXPECT_EQ(PutSpacesInLabels("TelefonoCasa"), "Telefono Casa");
    EXPECT_EQ(PutSpacesInLabels("DataUltimaModifica"), "Data Ultima Modifica");
    EXPECT_EQ(PutSpacesInLabels("CFIva"), "CFIva");
    EXPECT_EQ(PutSpacesInLabels("ANAGRAFICAID"), "ANAGRAFICAID");
    EXPECT_EQ(PutSpacesInLabels("Nome"), "Nome");
    EXPECT_EQ(PutSpacesInLabels(""), "");
    EXPECT_EQ(PutSpacesInLabels("a_b"), "a _b");   // "_" counts as a capital
}
