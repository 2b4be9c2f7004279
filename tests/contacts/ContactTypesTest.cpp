// The contact-type list (loaded hidden), its editor and its filter.
#include "ContactsFixture.h"
#include "contacts/frmEditTipologiaPersone.h"
#include "contacts/frmSelectTipologiaPersone.h"

using namespace verbanto;
using platform::FlexGrid;

class ContactTypesTest : public ContactsTest {
protected:
    // Loads the type list as the menu's host does: hidden.
    frmTipologiaPersone& LoadTypes()
    {
        auto& t = platform::Forms::Instance<frmTipologiaPersone>();
        t.Load();
        return t;
    }
    static void Choose(FlexGrid& g, int row)
    {
        g.setRow(row);
        g.setCol(1);
    }
};

TEST_F(ContactTypesTest, LoadOnAnEmptyTableOpensTheEditorForANewType)
{
    QString written;
    ExpectModal<frmEditTipologiaPersone>([&](frmEditTipologiaPersone& e) {
        EXPECT_EQ(e.Caption(), QStringLiteral("Tipologie Soci"));
        EXPECT_TRUE(e.txtTipologia->Text().isEmpty());
        e.txtTipologia->setText(QStringLiteral(" Socio d'onore "));
        written = e.InsertStatement();
        e.cmdOK->PerformClick();
    });
    frmTipologiaPersone& t = LoadTypes();
    EXPECT_FALSE(t.Visible());
    EXPECT_EQ(Stamped(written), QStringLiteral("INSERT INTO TipologiaPersone (Tipologia, DateTimeCreated) VALUES ('Socio d''onore',  'TS') "));
    EXPECT_EQ(Scalar(QStringLiteral("select Tipologia || '|' || ifnull(DateTimeLastUpdated, 'N') from TipologiaPersone")),
              QStringLiteral("Socio d'onore|N"));
    // The hidden list refilled itself with the first type.
    ASSERT_EQ(t.MSFlexGrid1->Rows(), 2);
    EXPECT_EQ(t.MSFlexGrid1->TextMatrix(1, 1), QStringLiteral("Socio d'onore"));
    EXPECT_EQ(t.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("IDFIELD"));
}

TEST_F(ContactTypesTest, LoadWithTypesShowsNothing)
{
    AddType(QStringLiteral("Cliente"));
    frmTipologiaPersone& t = LoadTypes();
    EXPECT_TRUE(platform::Script::Of(QStringLiteral("modal")).empty());
    EXPECT_EQ(t.MSFlexGrid1->Rows(), 2);
}

TEST_F(ContactTypesTest, EditorRefusesEmptyAndDuplicateNames)
{
    AddType(QStringLiteral("Cliente"));
    frmTipologiaPersone& t = LoadTypes();
    ExpectModal<frmEditTipologiaPersone>([&](frmEditTipologiaPersone& e) {
        e.txtTipologia->setText(QStringLiteral("   "));
        e.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Inserire la tipologia"));
        e.txtTipologia->setText(QStringLiteral(" Cliente"));
        e.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Il record già esiste"));
        EXPECT_EQ(Messages().back().style, platform::vbExclamation);
        e.txtTipologia->setText(QStringLiteral("Fornitore"));
        e.cmdOK->PerformClick();
    });
    t.cmdAdd->PerformClick();
    // A further type is appended as one row.
    ASSERT_EQ(t.MSFlexGrid1->Rows(), 3);
    EXPECT_EQ(t.MSFlexGrid1->TextMatrix(2, 1), QStringLiteral("Fornitore"));
    EXPECT_EQ(Count(QStringLiteral("TipologiaPersone")), 2);
}

TEST_F(ContactTypesTest, RenamingKeepsItsOwnNameAndStampsTheUpdate)
{
    const long long cliente = AddType(QStringLiteral("Cliente"));
    AddType(QStringLiteral("Fornitore"));
    frmTipologiaPersone& t = LoadTypes();
    FlexGrid& g = *t.MSFlexGrid1;
    const int row = g.TextMatrix(1, 1) == QLatin1String("Cliente") ? 1 : 2;
    g.setRow(row);
    QString written;
    ExpectModal<frmEditTipologiaPersone>([&](frmEditTipologiaPersone& e) {
        EXPECT_EQ(e.txtTipologia->Text(), QStringLiteral("Cliente"));
        // Coming back to the dialog puts the caret after the name again.
        e.txtTipologia->setSelStart(0);
        e.Form_Activate();
        EXPECT_EQ(e.txtTipologia->SelStart(), 7);
        EXPECT_TRUE(e.txtTipologia->HasFocus());
        e.txtTipologia->setText(QStringLiteral("Fornitore"));
        e.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Il record già esiste"));
        e.txtTipologia->setText(QStringLiteral("Cliente"));   // its own name is no duplicate
        written = e.UpdateStatement();
        e.cmdOK->PerformClick();
    });
    gNewRecord = false;
    t.mTIPOLOGIAID = cliente;
    ShowModal<frmEditTipologiaPersone>();
    EXPECT_EQ(Stamped(written), QStringLiteral("UPDATE TipologiaPersone SET Tipologia = 'Cliente',  DateTimeLastUpdated = 'TS' WHERE TIPOLOGIAID = ") +
                                    QString::number(cliente) + QStringLiteral(" "));
    EXPECT_EQ(Scalar(QStringLiteral("select DateTimeCreated || '|' || length(DateTimeLastUpdated) from TipologiaPersone where TIPOLOGIAID = %1").arg(cliente)),
              QStringLiteral("2024-01-01 10:00:00|19"));
    EXPECT_FALSE(g.TextMatrix(row, 3).isEmpty());   // the row was rewritten in place
}

TEST_F(ContactTypesTest, DeleteIsRefusedWhileContactsCarryTheType)
{
    const long long used = AddType(QStringLiteral("Cliente"));
    AddType(QStringLiteral("Fornitore"));
    AddContact(QStringLiteral("Rossi"), QString(), QString(), static_cast<int>(used));
    frmTipologiaPersone& t = LoadTypes();
    FlexGrid& g = *t.MSFlexGrid1;
    const int usedRow = g.TextMatrix(1, 1) == QLatin1String("Cliente") ? 1 : 2;
    Choose(g, usedRow);
    t.cmdDelete->PerformClick();
    EXPECT_EQ(LastMessage(), QStringLiteral("Impossibile eliminare il record: ci sono record collegati nell'anagrafica"));
    EXPECT_EQ(Questions(), 0);
    EXPECT_EQ(Count(QStringLiteral("TipologiaPersone")), 2);

    Choose(g, 3 - usedRow);
    platform::Script::AnswerMsgBox(platform::vbYes);
    t.cmdDelete->PerformClick();
    EXPECT_EQ(Count(QStringLiteral("TipologiaPersone")), 1);
    ASSERT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.TextMatrix(1, 1), QStringLiteral("Cliente"));
}

TEST_F(ContactTypesTest, DeletingTheOnlyTypeLeavesTheHeaderWithoutRefill)
{
    AddType(QStringLiteral("Cliente"));
    frmTipologiaPersone& t = LoadTypes();
    Choose(*t.MSFlexGrid1, 1);
    platform::Script::AnswerMsgBox(platform::vbYes);
    t.cmdDelete->PerformClick();
    EXPECT_EQ(t.MSFlexGrid1->Rows(), 1);
    EXPECT_EQ(t.MSFlexGrid1->TextMatrix(0, 1), QStringLiteral("Tipologia"));
}

TEST_F(ContactTypesTest, PrintHasTheSingleColumnTipologia)
{
    AddType(QStringLiteral("Cliente"));
    frmTipologiaPersone& t = LoadTypes();
    t.cmdPrintGrid->PerformClick();
    const auto previews = platform::Script::Of(QStringLiteral("preview"));
    ASSERT_EQ(previews.size(), 1u);
    const QString html = previews[0].prompt;
    EXPECT_TRUE(html.contains(QStringLiteral("Gestione Verbanto - Tipologie anagrafica</p>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><th>Tipologia</th></tr><tr><td>Cliente</td></tr>")));
}

TEST_F(ContactTypesTest, FilterUsesWhereAndRemembersItsText)
{
    AddType(QStringLiteral("Cliente"));
    AddType(QStringLiteral("Fornitore"));
    AddType(QStringLiteral("Soci fondatori"));
    frmTipologiaPersone& t = LoadTypes();
    auto filter = [&](std::function<void(frmSelectTipologiaPersone&)> driver) {
        ExpectModal<frmSelectTipologiaPersone>(std::move(driver));
        t.cmdSelect->PerformClick();
        QStringList shown;
        for (int r = 1; r < t.MSFlexGrid1->Rows(); ++r)
            shown << t.MSFlexGrid1->TextMatrix(r, 1);
        shown.sort();
        return shown;
    };
    auto shown = filter([](frmSelectTipologiaPersone& s) {
        EXPECT_EQ(s.Caption(), QStringLiteral("Cerca Tipologie Soci"));
        s.txtTipologia->setText(QStringLiteral("Cliente,Fornitore"));
        s.cmdOK->PerformClick();
    });
    EXPECT_EQ(gWhereTipologiaPersone, QStringLiteral("a.Tipologia IN ('Cliente', 'Fornitore')"));
    EXPECT_EQ(shown, (QStringList{"Cliente", "Fornitore"}));

    shown = filter([](frmSelectTipologiaPersone& s) {
        EXPECT_EQ(s.txtTipologia->Text(), QStringLiteral("Cliente,Fornitore"));
        s.txtTipologia->setSelStart(0);
        s.Form_Activate();
        EXPECT_EQ(s.txtTipologia->SelStart(), 17);
        s.txtTipologia->setText(QStringLiteral("soci"));
        s.cmdOK->PerformClick();
    });
    EXPECT_EQ(gWhereTipologiaPersone, QStringLiteral("a.Tipologia Like '%soci%'"));
    EXPECT_EQ(shown, QStringList{"Soci fondatori"});

    shown = filter([](frmSelectTipologiaPersone& s) {
        s.cmdClear->PerformClick();
        s.cmdCancel->PerformClick();
    });
    EXPECT_EQ(shown, QStringList{"Soci fondatori"});
    filter([](frmSelectTipologiaPersone& s) {
        EXPECT_TRUE(s.txtTipologia->Text().isEmpty());
        s.cmdOK->PerformClick();
    });
    EXPECT_TRUE(gWhereTipologiaPersone.isEmpty());
}
