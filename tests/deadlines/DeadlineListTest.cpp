// The deadline list driven from the main window: fill, headers, widths, sort, delete, print, resize.
#include "DeadlinesFixture.h"
#include "shared/basGeneralCustom.h"
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QWidget>

using namespace verbanto;
using platform::Script::AnswerMsgBox;

TEST_F(DeadlinesTest, EmptyRegisterOpensTheEditorFirstThenListsTheNewDeadline)
{
    Start();
    ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
        EXPECT_EQ(ed.Caption(), QStringLiteral("Scadenze"));
        EXPECT_EQ(ed.cboSocio->ListIndex(), -1);
        EXPECT_EQ(ed.idDelSocio, -1);
        EXPECT_TRUE(ed.OsenXPOptionButton[0]->Value());
        EXPECT_EQ(ed.txtDataPagamento->Value(), QDate::currentDate());
        EXPECT_EQ(ed.txtDataPagamento->Text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        PickContact(*ed.cboSocio, QStringLiteral("D'Angelo Niccolò"));
        ed.txtDataPagamento->setValue(QDate(2024, 3, 1));
        ed.OsenXPOptionButton[3]->PerformClick();
        ed.txtCausale->setText(QStringLiteral("  L'affitto \"casa\" è dovuto  "));
        ed.txtNote->setText(QStringLiteral("   "));
        ed.cmdOK->PerformClick();
        // The reminders follow before the editor is gone.
        EXPECT_EQ(CountCaption(), Caption(1));
    });
    OpenList([&](frmPagamenti& list) {
        EXPECT_EQ(list.Caption(), QStringLiteral("Gestione Scadenze"));
        EXPECT_EQ(Rows(list), QStringList{QStringLiteral("D'Angelo Niccolò|2024-03-01 00:00:00|L'affitto \"casa\" è dovuto|Ogni mese|")});
        const auto& g = *list.MSFlexGrid1;
        QStringList headers;
        for (int c = 0; c < g.Cols(); ++c)
            headers << g.TextMatrix(0, c);
        EXPECT_EQ(headers.join(u','), QStringLiteral("IDFIELD,Contatto,IDFIELD,Data Scadenza,Descrizione Scadenza,Frequenza,"
                                                     "Note Scadenza,Data Creazione,Data Ultima Modifica"));
        EXPECT_EQ(g.ColWidth(0), 0);
        EXPECT_EQ(g.ColWidth(2), 0);
        // Empty cells: the header alone gives the width.
        EXPECT_EQ(g.ColWidth(6), ListForm::ColumnWidthFor(g.TextWidth(QStringLiteral("Note Scadenza"))));
        EXPECT_GT(g.ColWidth(4), g.ColWidth(1));
        EXPECT_EQ(g.Row(), 0);           // nothing selected after a fill
    });
    EXPECT_EQ(Scalar(QStringLiteral("select anagraficaid || '|' || datapagamento || '|' || importo || '|' || causale from pagamenti")),
              QStringLiteral("2|2024-03-01 00:00:00|3|L'affitto \"casa\" è dovuto"));
    EXPECT_EQ(Count(QStringLiteral("pagamenti"), QStringLiteral("notepagamento is null and DateTimeLastUpdated is null")), 1);
    EXPECT_TRUE(Scalar(QStringLiteral("select DateTimeCreated from pagamenti")).startsWith(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd "))));
}

TEST_F(DeadlinesTest, CancelledFirstEditorLeavesAnEmptyListSaying0Records)
{
    Start();
    ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) { ed.cmdCancel->PerformClick(); });
    OpenList([&](frmPagamenti& list) {
        EXPECT_EQ(list.MSFlexGrid1->Rows(), 1);
        EXPECT_EQ(list.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("0 Records"));
        EXPECT_EQ(list.MSFlexGrid1->ColWidth(0), 1000);
        // Nothing to delete or edit.
        list.cmdDelete->PerformClick();
        list.MSFlexGrid1->UserDoubleClickHeader(0);
    });
    EXPECT_EQ(Count(QStringLiteral("pagamenti")), 0);
}

TEST_F(DeadlinesTest, RecurrenceInWordsUnknownCodesEmptyAndOrphansNotListed)
{
    Deadline(1, QStringLiteral("2024-05-01"), QStringLiteral("5"), QStringLiteral("'lavoro'"));
    Deadline(1, QStringLiteral("2024-05-02"), QStringLiteral("9"), QStringLiteral("'nove'"));
    Deadline(1, QStringLiteral("2024-05-03"), QStringLiteral("Null"), QStringLiteral("'nulla'"));
    Deadline(1, QStringLiteral("2024-05-04"), QStringLiteral("'abc'"), QStringLiteral("'testo'"));
    Deadline(42, QStringLiteral("2024-05-05"), QStringLiteral("0"), QStringLiteral("'orfana'"));
    Start();
    OpenList([&](frmPagamenti& list) {
        QStringList recurrences;
        for (int r = 1; r < list.MSFlexGrid1->Rows(); ++r)
            recurrences << list.MSFlexGrid1->TextMatrix(r, 4) + u'=' + list.MSFlexGrid1->TextMatrix(r, 5);
        EXPECT_EQ(recurrences, (QStringList{QStringLiteral("lavoro=Ogni giorno lavorativo"), QStringLiteral("nove="),
                                            QStringLiteral("nulla="), QStringLiteral("testo=abc")}));
    });
}

TEST_F(DeadlinesTest, HeaderClicksSortByDateOrTextAndTheDirectionSurvivesOnlyTheCloseBox)
{
    Deadline(1, QStringLiteral("2024-03-05"), QStringLiteral("0"), QStringLiteral("'marzo'"));
    Deadline(3, QStringLiteral("2023-12-20"), QStringLiteral("0"), QStringLiteral("'dicembre'"));
    Deadline(2, QStringLiteral("2024-01-05"), QStringLiteral("0"), QStringLiteral("'gennaio'"));
    Start();
    auto column = [](frmPagamenti& list, int c) {
        QStringList out;
        for (int r = 1; r < list.MSFlexGrid1->Rows(); ++r)
            out << list.MSFlexGrid1->TextMatrix(r, c);
        return out.join(u',');
    };
    OpenList([&](frmPagamenti& list) {
        list.MSFlexGrid1->UserClickHeader(3);
        EXPECT_EQ(column(list, 4), QStringLiteral("dicembre,gennaio,marzo"));
        list.MSFlexGrid1->UserClickHeader(3);
        EXPECT_EQ(column(list, 4), QStringLiteral("marzo,gennaio,dicembre"));
        list.MSFlexGrid1->UserClickHeader(1);
        EXPECT_EQ(column(list, 1), QStringLiteral("Bianchi Anna,D'Angelo Niccolò,Rossi Mario"));
        // A click on a data row sorts nothing and selects the whole row.
        list.MSFlexGrid1->UserClickCell(2, 4);
        EXPECT_EQ(column(list, 1), QStringLiteral("Bianchi Anna,D'Angelo Niccolò,Rossi Mario"));
        EXPECT_EQ(list.MSFlexGrid1->Col(), 0);
        EXPECT_EQ(list.MSFlexGrid1->ColSel(), list.MSFlexGrid1->Cols() - 1);
    });   // closed by the close box: the instance keeps its direction
    OpenList([&](frmPagamenti& list) {
        list.MSFlexGrid1->UserClickHeader(1);
        EXPECT_EQ(column(list, 1), QStringLiteral("Rossi Mario,D'Angelo Niccolò,Bianchi Anna"));
        list.MSFlexGrid1->UserClickHeader(1);
        list.cmdClose->PerformClick();
    });
    OpenList([&](frmPagamenti& list) {
        list.MSFlexGrid1->UserClickHeader(1);
        EXPECT_EQ(column(list, 1), QStringLiteral("Bianchi Anna,D'Angelo Niccolò,Rossi Mario"));
        list.cmdClose->PerformClick();
    });
}

TEST_F(DeadlinesTest, DeleteTakesEndorsementsAndDepositsAlongAndRecomputesTheReminders)
{
    const long long gone = Deadline(1, QStringLiteral("2024-02-27"), QStringLiteral("0"), QStringLiteral("'da togliere'"));
    const long long kept = Deadline(2, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'resta'"));
    for (long long id : {gone, kept}) {
        Sql(QStringLiteral("insert into girate (pagamentiid, anagraficaid) values (%1, 1)").arg(id));
        Sql(QStringLiteral("insert into versamenti (pagamentiid, contocorrenteid) values (%1, 1)").arg(id));
    }
    Start();
    EXPECT_EQ(CountCaption(), Caption(1));
    OpenList([&](frmPagamenti& list) {
        // Nothing selected yet: the key does nothing and asks nothing.
        list.MSFlexGrid1->UserPressKey(platform::vbKeyDelete);
        list.MSFlexGrid1->UserClickCell(1, 1);
        AnswerMsgBox(platform::vbNo);
        list.MSFlexGrid1->UserPressKey(platform::vbKeyDelete);
        EXPECT_EQ(Count(QStringLiteral("pagamenti")), 2);
        AnswerMsgBox(platform::vbYes);
        list.cmdDelete->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Sei sicuro di voler eliminare il record?"));
        EXPECT_EQ(Rows(list), QStringList{QStringLiteral("D'Angelo Niccolò|2024-06-01 00:00:00|resta|Una sola volta|")});
        EXPECT_EQ(CountCaption(), Caption(0));
    });
    EXPECT_EQ(Count(QStringLiteral("pagamenti")), 1);
    EXPECT_EQ(Count(QStringLiteral("girate")), 1);
    EXPECT_EQ(Count(QStringLiteral("versamenti")), 1);
    EXPECT_EQ(Count(QStringLiteral("girate"), QStringLiteral("pagamentiid = %1").arg(kept)), 1);
}

TEST_F(DeadlinesTest, DeletingTheOnlyDeadlineLeaves0Records)
{
    Deadline(1, QStringLiteral("2024-02-27"), QStringLiteral("0"), QStringLiteral("'unica'"));
    Start();
    OpenList([&](frmPagamenti& list) {
        list.MSFlexGrid1->UserClickCell(1, 3);
        AnswerMsgBox(platform::vbYes);
        list.cmdDelete->PerformClick();
        EXPECT_EQ(list.MSFlexGrid1->Rows(), 1);
        EXPECT_EQ(list.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("0 Records"));
    });
    EXPECT_EQ(CountCaption(), Caption(0));
}

TEST_F(DeadlinesTest, PrintLeavesOutTheIdsUnderTheHeading)
{
    Deadline(2, QStringLiteral("2024-03-01"), QStringLiteral("4"), QStringLiteral("'<tassa>'"));
    Start();
    Sql(QStringLiteral("update settings set value = 'Studio Bianchi & C.' where mnemocode = 'INTESTAZ'"));
    OpenList([&](frmPagamenti& list) {
        list.cmdPrintGrid->PerformClick();
        const auto previews = platform::Script::Of(QStringLiteral("preview"));
        ASSERT_EQ(previews.size(), 1u);
        const QString page = previews.back().prompt;
        EXPECT_TRUE(page.contains(QStringLiteral("Studio Bianchi & C. - Scadenze</p>")));
        EXPECT_TRUE(page.contains(QStringLiteral("<th>Contatto</th><th>Data Scadenza</th>")));
        EXPECT_TRUE(page.contains(QStringLiteral("<td>&lt;tassa&gt;</td><td>Ogni anno</td>")));
        EXPECT_FALSE(page.contains(QStringLiteral("IDFIELD")));
    });
}

TEST_F(DeadlinesTest, TheWindowKeepsItsMinimumSizeAndTheGridFollowsIt)
{
    Deadline(1, QStringLiteral("2024-03-01"), QStringLiteral("0"), QStringLiteral("'x'"));
    Start();
    OpenList([&](frmPagamenti& list) {
        list.Move(list.Left(), list.Top(), 3000, 2000);
        // Within a pixel: the window is sized in whole pixels.
        EXPECT_GE(list.Width(), ListForm::MinWidth - platform::TwipsPerPixel);
        EXPECT_GE(list.Height(), ListForm::MinHeight - platform::TwipsPerPixel);
        list.Move(list.Left(), list.Top(), 14000, 9000);
        const auto& g = *list.MSFlexGrid1;
        EXPECT_NEAR(g.Width(), list.ScaleWidth() - 2 * g.Left(), 15);
        EXPECT_NEAR(g.Height(), list.ScaleHeight() - 1.5 * g.Top(), 15);
    });
}

TEST_F(DeadlinesTest, ADeleteTheDatabaseRefusesChangesNothingAndIsReportedOnce)
{
    const long long id = Deadline(1, QStringLiteral("2024-02-27"), QStringLiteral("0"), QStringLiteral("'insieme'"));
    Deadline(2, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'altra'"));
    Sql(QStringLiteral("insert into girate (pagamentiid, anagraficaid) values (%1, 1)").arg(id));
    Sql(QStringLiteral("insert into versamenti (pagamentiid, contocorrenteid) values (%1, 1)").arg(id));
    auto rows = [&] {
        return Count(QStringLiteral("pagamenti")) * 100 + Count(QStringLiteral("girate")) * 10 + Count(QStringLiteral("versamenti"));
    };
    Start();
    // The first statement of the delete refused, then the last one.
    for (const char* table : {"girate", "pagamenti"}) {
        SCOPED_TRACE(table);
        Sql(QStringLiteral("create trigger keep before delete on %1 begin select raise(abort, 'bloccato'); end").arg(QLatin1String(table)));
        platform::Script::Clear();
        OpenList([&](frmPagamenti& list) {
            list.MSFlexGrid1->UserClickCell(1, 1);
            AnswerMsgBox(platform::vbYes);
            list.cmdDelete->PerformClick();
            ASSERT_EQ(Messages().size(), 2u);
            EXPECT_EQ(Messages()[1].prompt, QStringLiteral("Error 19 (bloccato) in procedure cmdDelete_Click of Form frmPagamenti"));
            // Nothing was deleted: the list still shows both.
            EXPECT_EQ(Rows(list).size(), 2);
            list.cmdClose->PerformClick();
        });
        EXPECT_EQ(rows(), 211);
        EXPECT_EQ(CountCaption(), Caption(1));
        Sql(QStringLiteral("drop trigger keep"));
    }
}

TEST_F(DeadlinesTest, AnUnwritableLogGivesOneReportForTheWholeList)
{
    for (int i = 1; i <= 20; ++i)
        Deadline(1 + i % 3, QStringLiteral("2024-03-%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("0"), QStringLiteral("'riga'"));
    Start();
    QDir().mkpath(Folder() + QStringLiteral("/brimtel3.log"));
    Sql(QStringLiteral("update settings set value = 'ON' where mnemocode = 'LOGSTATUS'"));
    verbanto::gLogStatus = QStringLiteral("ON");   // as the main window's next activation reads it
    OpenList([&](frmPagamenti& list) {
        EXPECT_EQ(Rows(list).size(), 20);
        list.MSFlexGrid1->UserClickCell(1, 1);
        list.MSFlexGrid1->UserClickHeader(3);
    });
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].prompt.endsWith(QStringLiteral("in procedure addToLog of Modulo basGeneralCustom")));
}

// Deadlines whose date or code can't be read are left out of the count and named once per
// start; the others are counted, and the list and the editor still open them to be mended.
TEST_F(DeadlinesTest, UnreadableDeadlinesAreLeftOutOfTheCountAndNamedOncePerStart)
{
    Deadline(1, QStringLiteral("2024-01-10"), QStringLiteral("1"), QStringLiteral("'ogni giorno'"));
    const long long once = Deadline(3, QStringLiteral("2024-02-27"), QStringLiteral("0"), QStringLiteral("'una volta'"));
    Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values "
                       "(1, '2024-02-30 00:00:00', 1, 'Trenta febbraio'), (3, Null, 2, Null), "
                       "(2, '2024-02-26 00:00:00', 'ogni tanto', 'Codice a parole'), "
                       // A Null code or one outside the rules asks for nothing: not counted, not named.
                       "(1, Null, Null, 'Senza codice'), (1, 'mai', 6, 'Codice sei')"));
    Start();
    EXPECT_EQ(CountCaption(), Caption(32));
    const auto balloons = platform::Script::Of(QStringLiteral("balloon"));
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_TRUE(balloons[0].prompt.contains(QStringLiteral("Hai 32 prossime scadenze")));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt,
              QStringLiteral("Queste scadenze non sono state conteggiate perché la loro data o la loro ricorrenza non è leggibile:\r\n"
                             "\r\n- Trenta febbraio - Rossi Mario\r\n- (senza descrizione) - Bianchi Anna"
                             "\r\n- Codice a parole - D'Angelo Niccolò\r\n\r\nPer correggerle aprire Gestione Scadenze."));
    EXPECT_EQ(Messages()[0].style, platform::vbExclamation);
    EXPECT_EQ(Messages()[0].title, QStringLiteral("Gestione Verbanto"));

    OpenList([&](frmPagamenti& list) {
        ASSERT_EQ(list.MSFlexGrid1->Rows() - 1, 7);
        for (int r = 1; r < list.MSFlexGrid1->Rows(); ++r) {
            const QString description = list.MSFlexGrid1->TextMatrix(r, 4);
            if (description == QLatin1String("Trenta febbraio")) {
                // The editor opens it; cancelled, nothing changes.
                ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
                    EXPECT_EQ(ed.txtCausale->Text(), description);
                    ed.cmdCancel->PerformClick();
                });
                list.MSFlexGrid1->UserDoubleClickCell(r, 4);
            }
        }
        // A save runs the count again: the same count, and the deadlines are not named again.
        for (int r = 1; r < list.MSFlexGrid1->Rows(); ++r)
            if (list.MSFlexGrid1->TextMatrix(r, 4) == QLatin1String("una volta")) {
                ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
                    for (const QChar c : QStringLiteral("pagata in anticipo")) {
                        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                        QCoreApplication::sendEvent(ed.txtNote->Widget(), &key);
                    }
                    ed.cmdOK->PerformClick();
                    EXPECT_FALSE(ed.Loaded());
                });
                list.MSFlexGrid1->UserDoubleClickCell(r, 4);
            }
        EXPECT_EQ(CountCaption(), Caption(32));
    });
    EXPECT_EQ(Scalar(QStringLiteral("select notepagamento from pagamenti where pagamentiid=%1").arg(once)),
              QStringLiteral("pagata in anticipo"));
    EXPECT_EQ(Scalar(QStringLiteral("select datapagamento from pagamenti where causale='Trenta febbraio'")),
              QStringLiteral("2024-02-30 00:00:00"));
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(platform::Script::Of(QStringLiteral("balloon")).size(), 2u);
}
