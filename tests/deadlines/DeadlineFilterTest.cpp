// The deadline filter (AND, OR, IN lists, date ranges, memory, Reimposta) and the contact mode.
#include "DeadlinesFixture.h"
#include "shared/ModalWindows.h"

using namespace verbanto;

class DeadlineFilterTest : public DeadlinesTest {
protected:
    void SetUp() override
    {
        DeadlinesTest::SetUp();
        Deadline(1, QStringLiteral("2024-03-01"), QStringLiteral("3"), QStringLiteral("'Affitto'"), QStringLiteral("'casa'"));
        Deadline(2, QStringLiteral("2024-03-10"), QStringLiteral("0"), QStringLiteral("'Luce'"), QStringLiteral("'ufficio'"));
        Deadline(3, QStringLiteral("2024-04-01"), QStringLiteral("0"), QStringLiteral("'Affitto'"), QStringLiteral("'box'"));
        Deadline(3, QStringLiteral("2024-04-02"), QStringLiteral("0"), QStringLiteral("'Perché l''anticipo'"));
    }
    // "Cerca" on the list, with the user's actions on the filter.
    void Search(frmPagamenti& list, std::function<void(frmSelectPagamenti&)> driver)
    {
        ExpectModal<frmSelectPagamenti>(std::move(driver));
        list.cmdSelect->PerformClick();
    }
    static QStringList Descriptions(const frmPagamenti& list)
    {
        QStringList out;
        for (int r = 1; r < list.MSFlexGrid1->Rows(); ++r)
            out << list.MSFlexGrid1->TextMatrix(r, 4);
        return out;
    }
};

TEST_F(DeadlineFilterTest, AndOrCriteriaAreRememberedAndReimpostaClearsThem)
{
    Start();
    OpenList([&](frmPagamenti& list) {
        EXPECT_TRUE(list.cmdSelect->Enabled());
        Search(list, [&](frmSelectPagamenti& f) {
            EXPECT_EQ(f.Caption(), QStringLiteral("Cerca Scadenze"));
            EXPECT_EQ(f.cboSocio->ListIndex(), -1);
            EXPECT_TRUE(f.optAND->Value());
            f.txtDataDa->setText(QStringLiteral("1/3/2024"));
            f.txtDataA->setText(QStringLiteral(" 10/03/2024 "));
            f.txtCausale->setText(QStringLiteral("Affitto"));
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(gWherePagamenti, QStringLiteral("a.Datapagamento >= ('2024-03-01 00:00:00') AND a.Datapagamento <= ('2024-03-10 00:00:00') "
                                                  "AND a.Causale Like '%Affitto%'"));
        EXPECT_EQ(Descriptions(list), QStringList{QStringLiteral("Affitto")});

        Search(list, [&](frmSelectPagamenti& f) {
            EXPECT_EQ(f.txtDataDa->Text(), QStringLiteral("1/3/2024"));
            EXPECT_EQ(f.txtCausale->Text(), QStringLiteral("Affitto"));
            EXPECT_TRUE(f.optAND->Value());
            f.txtDataDa->setText(QString());
            f.txtDataA->setText(QString());
            f.txtCausale->setText(QString());
            PickContact(*f.cboSocio, QStringLiteral("Bianchi Anna"));
            f.txtNotePagamento->setText(QStringLiteral("ufficio"));
            f.optOR->PerformClick();
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(gWherePagamenti, QStringLiteral("a.ANAGRAFICAID = 3 OR a.notepagamento Like '%ufficio%'"));
        EXPECT_EQ(Descriptions(list), (QStringList{QStringLiteral("Luce"), QStringLiteral("Affitto"), QStringLiteral("Perché l'anticipo")}));

        Search(list, [&](frmSelectPagamenti& f) {
            EXPECT_TRUE(f.optOR->Value());
            EXPECT_FALSE(f.optAND->Value());
            EXPECT_EQ(f.cboSocio->Text(), QStringLiteral("Bianchi Anna"));
            EXPECT_EQ(f.txtNotePagamento->Text(), QStringLiteral("ufficio"));
            f.cmdClear->PerformClick();
            EXPECT_EQ(f.cboSocio->ListIndex(), -1);
            EXPECT_EQ(f.txtNotePagamento->Text(), QString());
            EXPECT_TRUE(f.optOR->Value());
            f.cmdCancel->PerformClick();
        });
        // Reimposta and Annulla: the list stays filtered...
        EXPECT_EQ(Descriptions(list).size(), 3);
        Search(list, [&](frmSelectPagamenti& f) {
            // ...and the next opening shows empty criteria; Ok with them removes the filter.
            EXPECT_EQ(f.cboSocio->ListIndex(), -1);
            EXPECT_EQ(f.txtNotePagamento->Text(), QString());
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(gWherePagamenti, QString());
        EXPECT_EQ(Descriptions(list).size(), 4);
    });
    EXPECT_TRUE(gPagamentiFilterOr);
}

TEST_F(DeadlineFilterTest, ACommaMakesAnInListAndQuotesAndAccentsMatch)
{
    Start();
    OpenList([&](frmPagamenti& list) {
        Search(list, [&](frmSelectPagamenti& f) {
            f.txtCausale->setText(QStringLiteral("Luce,Affitto"));
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(gWherePagamenti, QStringLiteral("a.Causale IN ('Luce', 'Affitto')"));
        EXPECT_EQ(Descriptions(list).size(), 3);
        Search(list, [&](frmSelectPagamenti& f) {
            f.txtCausale->setText(QStringLiteral("Perché l'"));
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(gWherePagamenti, QStringLiteral("a.Causale Like '%Perché l''%'"));
        EXPECT_EQ(Descriptions(list), QStringList{QStringLiteral("Perché l'anticipo")});
        // Only the last date: one clause, no separator before it.
        Search(list, [&](frmSelectPagamenti& f) {
            f.txtCausale->setText(QString());
            f.txtDataA->setText(QStringLiteral("01.03.24"));
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(gWherePagamenti, QStringLiteral("a.Datapagamento <= ('2024-03-01 00:00:00')"));
        EXPECT_EQ(Descriptions(list), QStringList{QStringLiteral("Affitto")});
        // A filter that matches nothing: "0 Records", the other headers stay.
        Search(list, [&](frmSelectPagamenti& f) {
            f.txtNotePagamento->setText(QStringLiteral("nessuna"));
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(list.MSFlexGrid1->Rows(), 1);
        EXPECT_EQ(list.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("0 Records"));
        EXPECT_EQ(list.MSFlexGrid1->TextMatrix(0, 1), QStringLiteral("Contatto"));
    });
}

TEST_F(DeadlineFilterTest, AnImpossibleDateIsRefusedAndNothingIsApplied)
{
    Start();
    OpenList([&](frmPagamenti& list) {
        Search(list, [&](frmSelectPagamenti& f) {
            f.txtDataDa->setText(QStringLiteral("32/01/2024"));
            f.txtDataA->setText(QStringLiteral("31/02/2024"));
            f.txtCausale->setText(QStringLiteral("Luce"));
            f.cmdOK->PerformClick();
            EXPECT_EQ(LastMessage(), QStringLiteral("Formato della data di partenza non valido"));
            EXPECT_TRUE(f.Loaded());
            f.txtDataDa->setText(QStringLiteral("1/1/2024"));
            f.cmdOK->PerformClick();
            EXPECT_EQ(LastMessage(), QStringLiteral("Formato della data di arrivo non valido"));
            EXPECT_EQ(Messages().size(), 2u);
            EXPECT_EQ(f.txtCausale->Text(), QStringLiteral("Luce"));
            f.cmdCancel->PerformClick();
        });
        EXPECT_EQ(gWherePagamenti, QString());
        EXPECT_EQ(Descriptions(list).size(), 4);
    });
    EXPECT_FALSE(gPagamentiFilterOr);
}

TEST_F(DeadlineFilterTest, TheMainWindowClearsTheClauseButNotTheRememberedCriteria)
{
    Start();
    OpenList([&](frmPagamenti& list) {
        Search(list, [&](frmSelectPagamenti& f) {
            f.txtCausale->setText(QStringLiteral("Luce"));
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(Descriptions(list).size(), 1);
    });
    OpenList([&](frmPagamenti& list) {
        EXPECT_EQ(Descriptions(list).size(), 4);
        Search(list, [&](frmSelectPagamenti& f) {
            EXPECT_EQ(f.txtCausale->Text(), QStringLiteral("Luce"));
            f.cmdCancel->PerformClick();
        });
    });
}

// Contact mode, as the contacts list opens the deadlines of one contact.
class ContactModeTest : public DeadlinesTest {
protected:
    void OpenForContact(int id, const QString& name, std::function<void(frmPagamenti&)> driver)
    {
        gIdDelContatto = id;
        gNomeDelContatto = name;
        gWherePagamenti = QStringLiteral(" a.anagraficaid=") + QString::number(id);
        ExpectModal<frmPagamenti>(std::move(driver));
        ShowModal<frmPagamenti>();
    }
};

TEST_F(ContactModeTest, ListsOneContactAndAddsDeadlinesToIt)
{
    Deadline(1, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'di Rossi'"));
    Deadline(2, QStringLiteral("2024-06-02"), QStringLiteral("0"), QStringLiteral("'di D''Angelo'"));
    Start();
    Sql(QStringLiteral("update settings set value = 'Studio' where mnemocode = 'INTESTAZ'"));
    OpenForContact(2, QStringLiteral("D'Angelo Niccolò"), [&](frmPagamenti& list) {
        EXPECT_EQ(list.Caption(), QStringLiteral("Scadenze relative al contatto D'Angelo Niccolò"));
        EXPECT_FALSE(list.cmdSelect->Enabled());
        EXPECT_EQ(Rows(list), QStringList{QStringLiteral("D'Angelo Niccolò|2024-06-02 00:00:00|di D'Angelo|Una sola volta|")});
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            EXPECT_EQ(ed.cboSocio->Text(), QStringLiteral("D'Angelo Niccolò"));
            EXPECT_EQ(ed.idDelSocio, 2);
            EXPECT_TRUE(ed.cboSocio->Locked());
            ed.cboSocio_KeyUp(platform::vbKeyEnd);
            EXPECT_EQ(ed.idDelSocio, 2);
            ed.txtDataPagamento->setValue(QDate(2024, 2, 29));
            ed.txtCausale->setText(QStringLiteral("bisestile"));
            ed.cmdOK->PerformClick();
        });
        list.cmdAdd->PerformClick();
        EXPECT_EQ(Rows(list).size(), 2);
        EXPECT_EQ(CountCaption(), Caption(1));
        list.cmdPrintGrid->PerformClick();
        EXPECT_TRUE(platform::Script::Of(QStringLiteral("preview")).back().prompt.contains(
            QStringLiteral("Studio - Scadenze relative a D'Angelo Niccolò</p>")));
    });
    EXPECT_EQ(Scalar(QStringLiteral("select anagraficaid from pagamenti where causale = 'bisestile'")), QStringLiteral("2"));
    // The contact mode outlives the list until the main window clears it.
    EXPECT_EQ(gNomeDelContatto, QStringLiteral("D'Angelo Niccolò"));
}

TEST_F(ContactModeTest, AContactWithoutDeadlinesGetsTheEditorAtOnceWithItsContact)
{
    Deadline(1, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'di Rossi'"));
    Start();
    ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
        EXPECT_EQ(ed.cboSocio->Text(), QStringLiteral("Bianchi Anna"));
        EXPECT_EQ(ed.idDelSocio, 3);
        EXPECT_TRUE(ed.cboSocio->Locked());
        ed.cmdCancel->PerformClick();
    });
    OpenForContact(3, QStringLiteral("Bianchi Anna"), [&](frmPagamenti& list) {
        EXPECT_EQ(list.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("0 Records"));
    });
    // From the main window the list shows every deadline again.
    OpenList([&](frmPagamenti& list) {
        EXPECT_EQ(list.Caption(), QStringLiteral("Gestione Scadenze"));
        EXPECT_TRUE(list.cmdSelect->Enabled());
    });
}

TEST_F(DeadlineFilterTest, ANulInACriterionIsDroppedNotAnSqlError)
{
    const QString nul(QChar(u'\0'));
    Start();
    OpenList([&](frmPagamenti& list) {
        Search(list, [&](frmSelectPagamenti& f) {
            f.txtCausale->setText(QStringLiteral("Aff") + nul + QStringLiteral("itto"));
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(Descriptions(list), (QStringList{QStringLiteral("Affitto"), QStringLiteral("Affitto")}));
        Search(list, [&](frmSelectPagamenti& f) {
            f.txtCausale->setText(QStringLiteral("Luce,") + nul + QStringLiteral("Perché l'anticipo"));
            f.cmdOK->PerformClick();
        });
        EXPECT_EQ(Descriptions(list), (QStringList{QStringLiteral("Luce"), QStringLiteral("Perché l'anticipo")}));
    });
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
}
