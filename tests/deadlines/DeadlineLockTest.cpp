// Another program holds the database locked for longer than the program waits: a delete or a
// save the database refuses is reported once, by the procedure the user started, and the
// window keeps showing what it showed.
#include "DeadlinesFixture.h"
#include "harness/DatabaseFaults.h"

using namespace verbanto;
using platform::Script::AnswerMsgBox;

TEST_F(DeadlinesTest, ADeleteRefusedByALongLockIsOneReportAndTheListStaysAsItWas)
{
    Deadline(1, QStringLiteral("2024-02-27"), QStringLiteral("0"), QStringLiteral("'prima'"));
    Deadline(2, QStringLiteral("2024-02-28"), QStringLiteral("0"), QStringLiteral("'seconda'"));
    OtherProgram other(DbFile());
    Start();
    EXPECT_EQ(CountCaption(), Caption(2));
    OpenList([&](frmPagamenti& list) {
        const QStringList before = Rows(list);
        list.MSFlexGrid1->UserClickCell(1, 1);
        platform::Script::Clear();
        other.Lock();
        AnswerMsgBox(platform::vbYes);
        list.MSFlexGrid1->UserPressKey(platform::vbKeyDelete);
        other.Release();
        ASSERT_EQ(Messages().size(), 2u) << LastMessage().toStdString();
        EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Sei sicuro di voler eliminare il record?"));
        EXPECT_EQ(Messages()[1].prompt, QStringLiteral("Error 5 (database is locked) in procedure cmdDelete_Click of Form frmPagamenti"));
        EXPECT_EQ(Messages()[1].style, platform::vbExclamation);
        EXPECT_EQ(Rows(list), before);
        EXPECT_EQ(CountCaption(), Caption(2));

        // Once the other program lets go, the same delete goes through.
        AnswerMsgBox(platform::vbYes);
        list.MSFlexGrid1->UserPressKey(platform::vbKeyDelete);
        EXPECT_EQ(Messages().size(), 3u);
        EXPECT_EQ(Rows(list), before.mid(1));
        EXPECT_EQ(CountCaption(), Caption(1));
    });
    EXPECT_EQ(Count(QStringLiteral("pagamenti")), 1);
}

TEST_F(DeadlinesTest, ASaveRefusedByALongLockIsOneReportAndTheEditorKeepsWhatWasTyped)
{
    Deadline(1, QStringLiteral("2024-02-27"), QStringLiteral("0"), QStringLiteral("'prima'"));
    OtherProgram other(DbFile());
    Start();
    OpenList([&](frmPagamenti& list) {
        const QStringList before = Rows(list);
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            ed.txtCausale->SetFocus();
            ed.txtCausale->SendKey(platform::vbKeyEnd);
            ed.txtCausale->Type(QStringLiteral(" rata"));
            platform::Script::Clear();
            other.Lock();
            ed.cmdOK->PerformClick();
            other.Release();
            ASSERT_EQ(Messages().size(), 1u);
            EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Error 5 (database is locked) in procedure cmdOK_Click of Form frmEditPagamenti"));
            EXPECT_TRUE(ed.Loaded());
            EXPECT_EQ(ed.txtCausale->Text(), QStringLiteral("prima rata"));
            EXPECT_EQ(Rows(list), before);

            // Ok again, the file free: saved.
            ed.cmdOK->PerformClick();
            EXPECT_FALSE(ed.Loaded());
        });
        list.MSFlexGrid1->UserDoubleClickCell(1, 1);
        EXPECT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Rows(list), QStringList{QStringLiteral("Rossi Mario|2024-02-27 00:00:00|prima rata|Una sola volta|")});
    });
    EXPECT_EQ(Count(QStringLiteral("pagamenti"), QStringLiteral("causale = 'prima rata'")), 1);
}

// Opening a list waits for the lock once and says so once; an empty grid there is no empty
// register, so no editor opens as for a first record. Once the file is free the list fills.
TEST_F(DeadlinesTest, AListOpenedUnderALongLockIsOneReportAndNoEditor)
{
    Deadline(1, QStringLiteral("2024-02-27"), QStringLiteral("0"), QStringLiteral("'prima'"));
    OtherProgram other(DbFile());
    Start();
    platform::Script::Clear();
    other.Lock();
    OpenList([&](frmPagamenti& list) {
        other.Release();
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Error 5 (database is locked) in procedure FillGrid of Form frmTipologiaPersone"));
        EXPECT_LE(list.MSFlexGrid1->Rows(), 1);
    });
    EXPECT_EQ(platform::Script::Of(QStringLiteral("modal")).size(), 1u);
    OpenList([&](frmPagamenti& list) {
        EXPECT_EQ(Rows(list), QStringList{QStringLiteral("Rossi Mario|2024-02-27 00:00:00|prima|Una sola volta|")});
    });
    EXPECT_EQ(Messages().size(), 1u) << LastMessage().toStdString();
}

// A start while another program holds the file: one message that says so, and no start.
TEST_F(DeadlinesTest, AStartUnderALongLockSaysSoOnce)
{
    Deadline(1, QStringLiteral("2024-02-27"), QStringLiteral("1"), QStringLiteral("'prima'"));
    OtherProgram other(DbFile());
    other.Lock();
    Start();
    other.Release();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Impossibile connettersi al database\r\n\r\nIl file orvendale.db3 è in uso da un "
                                                   "altro programma. Chiudere l'altro programma e riavviare Gestione Verbanto."));
    EXPECT_EQ(Messages()[0].style, platform::vbCritical);
    EXPECT_FALSE(Main().Loaded());
}
