// The contact filter: criteria in their fixed order, commas, quotes, AND / OR, the memory of the run.
#include "ContactsFixture.h"
#include "shared/FilterMemory.h"

using namespace verbanto;

class ContactFilterTest : public ContactsTest {
protected:
    void SetUp() override
    {
        ContactsTest::SetUp();
        AddContact(QStringLiteral("Rossi"), QStringLiteral("Mario"), QStringLiteral("Roma"));
        AddContact(QStringLiteral("Bianchi"), QStringLiteral("Mario"), QStringLiteral("Milano"));
        AddContact(QStringLiteral("D'Amico"), QStringLiteral("Anna"), QStringLiteral("Roma"));
        AddContact(QStringLiteral("Verdi"), QStringLiteral("Luca"), QStringLiteral("Torino"));
    }

    // Opens the filter from the list, plays the user on it, and returns the surnames listed after.
    QStringList Filter(std::function<void(frmSelectAnagrafica&)> driver)
    {
        QStringList shown;
        OnContactList([&](frmAnagrafica& f) {
            ExpectModal<frmSelectAnagrafica>(driver);
            f.cmdSelect->PerformClick();
            for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r)
                shown << f.MSFlexGrid1->TextMatrix(r, 1);
        });
        shown.sort();
        return shown;
    }
};

TEST_F(ContactFilterTest, TermsComeInTheirFixedOrderJoinedByAndOrOr)
{
    auto shown = Filter([](frmSelectAnagrafica& s) {
        EXPECT_EQ(s.Caption(), QStringLiteral("Cerca in Anagrafica"));
        EXPECT_TRUE(s.optAND->Value());
        s.txtComune->setText(QStringLiteral("Roma"));
        s.txtCognome->setText(QStringLiteral("Ross"));
        s.txtNome->setText(QStringLiteral(" Mario "));
        s.cmdOK->PerformClick();
    });
    EXPECT_EQ(gWhereAnagrafica, QStringLiteral("a.Nome Like '%Mario%' AND a.Cognome Like '%Ross%' AND a.Comune Like '%Roma%'"));
    EXPECT_EQ(shown, QStringList{"Rossi"});

    shown = Filter([](frmSelectAnagrafica& s) {
        // The texts of the last Ok come back.
        EXPECT_EQ(s.txtNome->Text(), QStringLiteral(" Mario "));
        EXPECT_EQ(s.txtComune->Text(), QStringLiteral("Roma"));
        s.txtCognome->setText(QString());
        s.optOR->PerformClick();
        s.cmdOK->PerformClick();
    });
    EXPECT_EQ(gWhereAnagrafica, QStringLiteral("a.Nome Like '%Mario%' OR a.Comune Like '%Roma%'"));
    EXPECT_TRUE(gAnagraficaFilterOr);
    EXPECT_EQ(shown, (QStringList{"Bianchi", "D'Amico", "Rossi"}));

    Filter([](frmSelectAnagrafica& s) {
        EXPECT_TRUE(s.optOR->Value());
        EXPECT_FALSE(s.optAND->Value());
        s.cmdCancel->PerformClick();
    });
}

TEST_F(ContactFilterTest, CommaMakesAnExactListAndQuotesAreDoubled)
{
    auto shown = Filter([](frmSelectAnagrafica& s) {
        s.txtCognome->setText(QStringLiteral("Rossi,Verdi, Bian"));
        s.cmdOK->PerformClick();
    });
    EXPECT_EQ(gWhereAnagrafica, QStringLiteral("a.Cognome IN ('Rossi', 'Verdi', 'Bian')"));
    EXPECT_EQ(shown, (QStringList{"Rossi", "Verdi"}));   // Bian matches no whole surname

    shown = Filter([](frmSelectAnagrafica& s) {
        s.txtCognome->setText(QStringLiteral("D'Amico"));
        s.cmdOK->PerformClick();
    });
    EXPECT_EQ(gWhereAnagrafica, QStringLiteral("a.Cognome Like '%D''Amico%'"));
    EXPECT_EQ(shown, QStringList{"D'Amico"});

    // A quote inside an exact list cannot break the condition either.
    shown = Filter([](frmSelectAnagrafica& s) {
        s.txtCognome->setText(QStringLiteral("D'Amico,Verdi"));
        s.cmdOK->PerformClick();
    });
    EXPECT_EQ(shown, (QStringList{"D'Amico", "Verdi"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ContactFilterTest, NotesFilterTheNotesColumn)
{
    Sql(QStringLiteral("update Anagrafica set NoteAnagrafica = 'fornitore carta' where Cognome = 'Verdi'"));
    const auto shown = Filter([](frmSelectAnagrafica& s) {
        s.txtNote->setText(QStringLiteral("carta"));
        s.cmdOK->PerformClick();
    });
    EXPECT_EQ(gWhereAnagrafica, QStringLiteral("a.NoteAnagrafica Like '%carta%'"));
    EXPECT_EQ(shown, QStringList{"Verdi"});
}

TEST_F(ContactFilterTest, BlankBoxesRemoveTheFilter)
{
    Filter([](frmSelectAnagrafica& s) {
        s.txtComune->setText(QStringLiteral("Torino"));
        s.cmdOK->PerformClick();
    });
    const auto shown = Filter([](frmSelectAnagrafica& s) {
        s.txtComune->setText(QStringLiteral("   "));
        s.cmdOK->PerformClick();
    });
    EXPECT_TRUE(gWhereAnagrafica.isEmpty());
    EXPECT_EQ(shown.size(), 4);
}

TEST_F(ContactFilterTest, ReimpostaThenAnnullaKeepsTheListFilteredButForgetsTheTexts)
{
    Filter([](frmSelectAnagrafica& s) {
        s.txtComune->setText(QStringLiteral("Torino"));
        s.cmdOK->PerformClick();
    });
    const auto shown = Filter([](frmSelectAnagrafica& s) {
        s.cmdClear->PerformClick();
        EXPECT_TRUE(s.txtComune->Text().isEmpty());
        s.cmdCancel->PerformClick();
    });
    EXPECT_EQ(gWhereAnagrafica, QStringLiteral("a.Comune Like '%Torino%'"));
    EXPECT_EQ(shown, QStringList{"Verdi"});
    Filter([](frmSelectAnagrafica& s) {
        EXPECT_TRUE(s.txtComune->Text().isEmpty());
        // Annulla after typing discards the typing.
        s.txtNome->setText(QStringLiteral("Luca"));
        s.cmdCancel->PerformClick();
    });
    Filter([](frmSelectAnagrafica& s) {
        EXPECT_TRUE(s.txtNome->Text().isEmpty());
        s.cmdCancel->PerformClick();
    });
}
