// The deadline editor: checks, the stored values, edit mode, the combo keys, a failed save,
// the reminder card, and the count on the main window after every save.
#include "DeadlinesFixture.h"

using namespace verbanto;

namespace {
const QString kLocked = QStringLiteral("select raise(abort, 'database or disk is full')");
}

TEST_F(DeadlinesTest, EditLoadsTheStoredValuesAndStoresTheChanges)
{
    Deadline(1, QStringLiteral("2024-02-26"), QStringLiteral("5"), QStringLiteral("'Bolletta luce'"), QStringLiteral("'nota'"));
    Start();
    ExpectModal<frmPagamenti>([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            EXPECT_EQ(ed.cboSocio->Text(), QStringLiteral("Rossi Mario"));
            EXPECT_EQ(ed.idDelSocio, 1);
            EXPECT_TRUE(ed.cboSocio->Enabled());
            EXPECT_EQ(ed.txtDataPagamento->Value(), QDate(2024, 2, 26));   // not moved to today in edit mode
            EXPECT_TRUE(ed.OsenXPOptionButton[5]->Value());
            EXPECT_EQ(ed.Recurrence(), 5);
            EXPECT_EQ(ed.txtCausale->Text(), QStringLiteral("Bolletta luce"));
            EXPECT_EQ(ed.txtNote->Text(), QStringLiteral("nota"));
            PickContact(*ed.cboSocio, QStringLiteral("Bianchi Anna"));
            EXPECT_EQ(ed.idDelSocio, 3);
            ed.OsenXPOptionButton[0]->PerformClick();
            ed.txtCausale->setText(QStringLiteral("Sì, l'altra"));
            ed.txtNote->setText(QString());
            ed.cmdOK->PerformClick();
            EXPECT_FALSE(ed.Loaded());
        });
        list.MSFlexGrid1->UserDoubleClickCell(1, 4);
        EXPECT_EQ(Rows(list), QStringList{QStringLiteral("Bianchi Anna|2024-02-26 00:00:00|Sì, l'altra|Una sola volta|")});
        EXPECT_EQ(CountCaption(), Caption(1));
    });
    Main().cmdContiCorrenti->PerformClick();
    EXPECT_EQ(Scalar(QStringLiteral("select anagraficaid || '|' || importo || '|' || causale || '|' || DateTimeCreated from pagamenti")),
              QStringLiteral("3|0|Sì, l'altra|2024-01-01 10:00:00"));
    EXPECT_EQ(Count(QStringLiteral("pagamenti"), QStringLiteral("notepagamento is null and DateTimeLastUpdated is not null")), 1);
}

TEST_F(DeadlinesTest, OkShowsOnlyTheFirstFailingCheckAndEndHomePickContacts)
{
    Deadline(1, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'x'"));
    Start();
    OpenList([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            ed.cmdOK->PerformClick();
            ASSERT_EQ(Messages().size(), 1u);
            EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Selezionare il contatto"));
            EXPECT_EQ(Messages()[0].style, platform::vbExclamation);
            EXPECT_EQ(Messages()[0].title, QStringLiteral("Gestione Verbanto"));
            EXPECT_TRUE(ed.Loaded());
            // Contacts come by type, then surname and name.
            ed.cboSocio_KeyUp(platform::vbKeyEnd);
            EXPECT_EQ(ed.cboSocio->Text(), QStringLiteral("Rossi Mario"));
            EXPECT_EQ(ed.idDelSocio, 1);
            ed.cboSocio_KeyUp(platform::vbKeyHome);
            EXPECT_EQ(ed.cboSocio->Text(), QStringLiteral("Bianchi Anna"));
            EXPECT_EQ(ed.idDelSocio, 3);
            // "Oggi" puts today back into the picker.
            ed.txtDataPagamento->setValue(QDate(2020, 1, 1));
            ed.cmdOggi->PerformClick();
            EXPECT_EQ(ed.txtDataPagamento->Value(), QDate::currentDate());
            // Leaving the picker with a date is fine.
            bool cancel = false;
            ed.txtDataPagamento_Validate(cancel);
            EXPECT_FALSE(cancel);
            ed.cmdCancel->PerformClick();
        });
        list.cmdAdd->PerformClick();
    });
    EXPECT_EQ(Count(QStringLiteral("pagamenti")), 1);
}

TEST_F(DeadlinesTest, AFailedInsertKeepsTheEditorOpenWithEverythingTyped)
{
    Deadline(1, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'prima'"));
    Sql(QStringLiteral("create trigger nosave before insert on pagamenti begin ") + kLocked + QStringLiteral("; end"));
    Start();
    OpenList([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            PickContact(*ed.cboSocio, QStringLiteral("D'Angelo Niccolò"));
            ed.txtDataPagamento->setValue(QDate(2024, 2, 28));
            ed.OsenXPOptionButton[2]->PerformClick();
            ed.txtCausale->setText(QStringLiteral("Non perdermi, perché è importante"));
            ed.cmdOK->PerformClick();
            EXPECT_TRUE(LastMessage().startsWith(QStringLiteral("Error ")));
            EXPECT_TRUE(LastMessage().contains(QStringLiteral("database or disk is full")));
            EXPECT_TRUE(LastMessage().endsWith(QStringLiteral("in procedure cmdOK_Click of Form frmEditPagamenti")));
            ASSERT_TRUE(ed.Loaded());
            EXPECT_EQ(ed.cboSocio->Text(), QStringLiteral("D'Angelo Niccolò"));
            EXPECT_EQ(ed.txtDataPagamento->Value(), QDate(2024, 2, 28));
            EXPECT_EQ(ed.Recurrence(), 2);
            EXPECT_EQ(ed.txtCausale->Text(), QStringLiteral("Non perdermi, perché è importante"));
            EXPECT_EQ(Rows(list).size(), 1);
            EXPECT_EQ(CountCaption(), Caption(0));
            // Once the database takes it again, the same Ok saves it once and closes.
            Sql(QStringLiteral("drop trigger nosave"));
            ed.cmdOK->PerformClick();
            EXPECT_FALSE(ed.Loaded());
        });
        list.cmdAdd->PerformClick();
        EXPECT_EQ(Rows(list).size(), 2);
        EXPECT_EQ(CountCaption(), Caption(4));   // weekly from 28 February
    });
    EXPECT_EQ(Count(QStringLiteral("pagamenti"), QStringLiteral("causale = 'Non perdermi, perché è importante' and importo = 2")), 1);
}

TEST_F(DeadlinesTest, AFailedUpdateKeepsTheEditorOpenAndTheDeadlineAsItWas)
{
    Deadline(1, QStringLiteral("2024-02-27"), QStringLiteral("0"), QStringLiteral("'com''era'"));
    Sql(QStringLiteral("create trigger nosave before update on pagamenti begin ") + kLocked + QStringLiteral("; end"));
    Start();
    OpenList([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            ed.txtCausale->setText(QStringLiteral("nuova"));
            ed.cmdOK->PerformClick();
            EXPECT_TRUE(ed.Loaded());
            EXPECT_EQ(ed.txtCausale->Text(), QStringLiteral("nuova"));
            ed.cmdCancel->PerformClick();
        });
        list.MSFlexGrid1->UserDoubleClickCell(1, 1);
        EXPECT_EQ(list.MSFlexGrid1->TextMatrix(1, 4), QStringLiteral("com'era"));
    });
    EXPECT_EQ(Scalar(QStringLiteral("select causale from pagamenti")), QStringLiteral("com'era"));
    EXPECT_EQ(Count(QStringLiteral("pagamenti"), QStringLiteral("DateTimeLastUpdated is null")), 1);
}

TEST_F(DeadlinesTest, TheReminderCardPrintsTheFieldsAndTheRecurrence)
{
    Deadline(2, QStringLiteral("2024-03-01"), QStringLiteral("4"), QStringLiteral("'Bollo <auto>'"));
    Start();
    Sql(QStringLiteral("update settings set value = 'Studio Rossi' where mnemocode = 'INTESTAZ'"));
    OpenList([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            ed.txtNote->setText(QStringLiteral("non ancora salvata"));
            ed.cmdPrint->PerformClick();
            EXPECT_TRUE(ed.Loaded());
            ed.cmdCancel->PerformClick();
        });
        list.MSFlexGrid1->UserDoubleClickCell(1, 1);
    });
    const auto previews = platform::Script::Of(QStringLiteral("preview"));
    ASSERT_EQ(previews.size(), 1u);
    const QString page = previews.back().prompt;
    EXPECT_TRUE(page.contains(QStringLiteral("Studio Rossi</p>")));
    EXPECT_TRUE(page.contains(QStringLiteral("Promemoria scadenza</p>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<th>Contatto</th><td>D'Angelo Niccolò</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<th>Data Scadenza</th><td>01/03/2024</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<th>Descrizione Scadenza</th><td>Bollo &lt;auto&gt;</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<th>Note</th><td>non ancora salvata</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<tr><th>Frequenza</th><td>Ogni anno</td></tr>")));
    EXPECT_EQ(Count(QStringLiteral("pagamenti"), QStringLiteral("notepagamento is null")), 1);
}

TEST_F(DeadlinesTest, AStoredCodeOutsideTheRulesSelectsNoOptionButLoadsTheRest)
{
    Deadline(2, QStringLiteral("2024-03-01"), QStringLiteral("9"), QStringLiteral("'strana'"));
    Start();
    OpenList([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            EXPECT_EQ(ed.Recurrence(), -1);
            EXPECT_EQ(ed.cboSocio->Text(), QStringLiteral("D'Angelo Niccolò"));
            EXPECT_TRUE(Messages().empty());
            ed.cmdCancel->PerformClick();
        });
        list.MSFlexGrid1->UserDoubleClickCell(1, 1);
    });
}

TEST_F(DeadlinesTest, ALongDescriptionSurvivesAnEditOfAnotherField)
{
    QString description;
    while (description.size() < 40000)
        description += QStringLiteral("Rata %1 del mutuo, ").arg(description.size());
    description.truncate(40000);
    Deadline(1, QStringLiteral("2024-02-26"), QStringLiteral("0"), QStringLiteral("'") + description + QStringLiteral("'"));
    Start();
    OpenList([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            EXPECT_EQ(ed.txtCausale->Text(), description);
            ed.txtNote->setText(QStringLiteral("pagata in banca"));
            ed.cmdOK->PerformClick();
            EXPECT_FALSE(ed.Loaded());
        });
        list.MSFlexGrid1->UserDoubleClickCell(1, 4);
    });
    EXPECT_EQ(Scalar(QStringLiteral("select causale from pagamenti")), description);
    EXPECT_EQ(Scalar(QStringLiteral("select notepagamento from pagamenti")), QStringLiteral("pagata in banca"));
}

TEST_F(DeadlinesTest, ANulTypedOrPastedIntoTheEditorIsDroppedNotAnSqlError)
{
    const QString nul(QChar(u'\0'));
    Start();
    ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
        PickContact(*ed.cboSocio, QStringLiteral("Rossi Mario"));
        ed.txtCausale->setText(QStringLiteral("Rata") + nul + QStringLiteral(" d'aprile") + nul);
        ed.txtNote->setText(nul);
        ed.cmdOK->PerformClick();
        EXPECT_FALSE(ed.Loaded());
    });
    // The empty register opens its editor first.
    OpenList([&](frmPagamenti& list) { EXPECT_EQ(Rows(list).size(), 1); });
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
    EXPECT_EQ(Count(QStringLiteral("pagamenti"), QStringLiteral("causale = 'Rata d''aprile' and notepagamento is null")), 1);
}

TEST_F(DeadlinesTest, KeyboardEnterIsOkButANewLineInTheNotesAndATypedDateIsSaved)
{
    Deadline(1, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'prima'"));
    Start();
    OpenList([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            // Tab goes down the window as it reads: the date and its button before the recurrence.
            const auto* o = ed.OsenXPOptionButton;
            const std::vector<platform::Control*> expected{ed.cboSocio, ed.txtDataPagamento, ed.cmdOggi, o[0], o[1], o[2], o[3], o[4], o[5],
                                                           ed.txtCausale, ed.txtNote, ed.cmdOK, ed.cmdCancel, ed.cmdPrint};
            EXPECT_EQ(platform::layout::TabOrder(ed), expected);

            // Enter in the description is Ok, whose first check speaks.
            ed.txtCausale->Type(QStringLiteral("Rata"));
            ed.txtCausale->SendKey(platform::vbKeyReturn);
            ASSERT_EQ(Messages().size(), 1u);
            EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Selezionare il contatto"));
            // In the notes Enter starts a new line.
            ed.txtNote->Type(QStringLiteral("uno"));
            ed.txtNote->SendKey(platform::vbKeyReturn);
            ed.txtNote->Type(QStringLiteral("due"));
            EXPECT_EQ(ed.txtNote->Text(), QStringLiteral("uno\ndue"));
            EXPECT_EQ(Messages().size(), 1u);

            PickContact(*ed.cboSocio, QStringLiteral("Rossi Mario"));
            ed.txtDataPagamento->Type(QStringLiteral("11/12/2026"));
            ed.txtDataPagamento->SendKey(platform::vbKeyReturn);   // read, then Ok
            EXPECT_EQ(Messages().size(), 1u);
            EXPECT_FALSE(ed.Loaded());
        });
        list.cmdAdd->PerformClick();
    });
    EXPECT_EQ(Scalar(QStringLiteral("select datapagamento || '|' || causale || '|' || notepagamento from pagamenti where causale = 'Rata'")),
              QStringLiteral("2026-12-11 00:00:00|Rata|uno\ndue"));
}
