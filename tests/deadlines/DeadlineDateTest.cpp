// The deadline editor's date, typed at the keyboard: what is no date is refused by Enter, Tab and
// Ok with the window's messages and nothing written; stored dates come back as they were stored.
#include "DeadlinesFixture.h"
#include <QDateTime>
#include <QWidget>

using namespace verbanto;

namespace {
const QString kEmpty = QStringLiteral("Inserire la data della scadenza");
const QString kWrongOnOk = QStringLiteral("Formato della data della scadenza non valido");
const QString kWrongOnLeaving = QStringLiteral("Formato della data del pagamento non valido");
} // namespace

class DeadlineDateTest : public DeadlinesTest {
protected:
    // The editor of a new deadline, opened from the list, active, with Rossi Mario chosen and
    // the focus in the date field, reached by Tab from the contact as a user reaches it.
    void AddWith(std::function<void(frmEditPagamenti&)> driver)
    {
        OpenList([&](frmPagamenti& list) {
            ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
                Activate(ed);
                PickContact(*ed.cboSocio, QStringLiteral("Rossi Mario"));
                ed.cboSocio->SetFocus();
                Key(Qt::Key_Tab);
                ASSERT_EQ(Focused(), ed.txtDataPagamento->Widget());
                driver(ed);
            });
            list.cmdAdd->PerformClick();
        });
    }
    // The editor of the first deadline of the list, active.
    void EditFirst(std::function<void(frmEditPagamenti&)> driver)
    {
        OpenList([&](frmPagamenti& list) {
            ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
                Activate(ed);
                driver(ed);
            });
            list.MSFlexGrid1->UserDoubleClickCell(1, 1);
        });
    }
    void StoredDeadline(const QString& dateLiteral, const QString& description)
    {
        Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (1, ") + dateLiteral +
            QStringLiteral(", 0, '") + description + QStringLiteral("')"));
    }
    QString StoredDate(const QString& description)
    {
        return Scalar(QStringLiteral("select ifnull(typeof(datapagamento) || ':' || hex(datapagamento), 'NULL') from pagamenti "
                                     "where causale = '") + description + QStringLiteral("'"));
    }
    // A double click on the deadline with this description.
    static void OpenRow(frmPagamenti& list, const QString& description)
    {
        auto& g = *list.MSFlexGrid1;
        for (int r = 1; r < g.Rows(); ++r)
            if (g.TextMatrix(r, 4) == description) {
                g.UserDoubleClickCell(r, 4);
                return;
            }
        ADD_FAILURE() << "no deadline " << description.toStdString();
    }
    // The messages shown about the date (the reminders may speak of a date they cannot read).
    QStringList DateMessages() const
    {
        QStringList out;
        for (const auto& m : Messages())
            if (m.prompt == kEmpty || m.prompt == kWrongOnOk || m.prompt == kWrongOnLeaving)
                out << m.prompt;
        return out;
    }
};

TEST_F(DeadlineDateTest, NoDateIsRefusedByEnterTabAndOkAndNothingIsWrittenADayAndMonthIsOfThisYear)
{
    Deadline(1, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'prima'"));
    Start();
    AddWith([&](frmEditPagamenti& ed) {
        QWidget* field = ed.txtDataPagamento->Widget();
        const struct {
            const char* typed;
            QString onEnter;
        } cases[] = {{"31/11/2026", kWrongOnOk}, {"31/02/2027", kWrongOnOk}, {"32/01/2026", kWrongOnOk},
                     {"1l/12/2026", kWrongOnOk}, {"", kEmpty},         {"   ", kEmpty}};
        for (const auto& c : cases) {
            const QString typed = QString::fromLatin1(c.typed);
            SCOPED_TRACE(c.typed);
            Retype(typed);
            // Enter is Ok, whose checks speak.
            Key(Qt::Key_Return);
            EXPECT_EQ(LastMessage(), c.onEnter);
            ASSERT_TRUE(ed.Loaded());
            EXPECT_EQ(ed.txtDataPagamento->Text(), typed);
            // Tab: the field's own check, and the focus stays.
            Key(Qt::Key_Tab);
            EXPECT_EQ(LastMessage(), kWrongOnLeaving);
            EXPECT_EQ(Focused(), field);
            // A click on Ok leaves the field too: its check speaks and Ok does nothing.
            const auto shown = Messages().size();
            ClickOn(*ed.cmdOK);
            EXPECT_EQ(Messages().size(), shown + 1);
            EXPECT_EQ(LastMessage(), kWrongOnLeaving);
            EXPECT_EQ(Focused(), field);
            ASSERT_TRUE(ed.Loaded());
            EXPECT_EQ(ed.txtDataPagamento->Text(), typed);
        }
        EXPECT_EQ(Count(QStringLiteral("pagamenti")), 1);
        // Annulla is never held back by the date.
        const auto shown = Messages().size();
        ClickOn(*ed.cmdCancel);
        EXPECT_EQ(Messages().size(), shown);
        EXPECT_FALSE(ed.Loaded());
    });
    EXPECT_EQ(Count(QStringLiteral("pagamenti")), 1);

    // A day and month alone: that day of this year, shown whole once the field is left.
    AddWith([&](frmEditPagamenti& ed) {
        Retype(QStringLiteral("11/12"));
        Key(Qt::Key_Tab);
        EXPECT_EQ(Focused(), ed.cmdOggi->Widget());
        const QDate day(QDate::currentDate().year(), 12, 11);
        EXPECT_EQ(ed.txtDataPagamento->Text(), day.toString(QStringLiteral("dd/MM/yyyy")));
        ClickOn(*ed.cmdOK);
        EXPECT_FALSE(ed.Loaded()) << LastMessage().toStdString();
    });
    EXPECT_EQ(Scalar(QStringLiteral("select datapagamento from pagamenti where causale is null")),
              QString::number(QDate::currentDate().year()) + QStringLiteral("-12-11 00:00:00"));
}

TEST_F(DeadlineDateTest, ARefusedOkKeepsWhatWasTypedAndOggiMendsAWrongDate)
{
    Deadline(1, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'prima'"));
    Start();
    AddWith([&](frmEditPagamenti& ed) {
        ed.cboSocio->setListIndex(-1);
        ed.idDelSocio = -1;
        Retype(QStringLiteral("31/04/2026"));
        Key(Qt::Key_Return);
        EXPECT_EQ(LastMessage(), QStringLiteral("Selezionare il contatto"));
        EXPECT_EQ(ed.txtDataPagamento->Text(), QStringLiteral("31/04/2026"));
        // "Oggi" replaces the wrong date without a word about it.
        ClickOn(*ed.cmdOggi);
        EXPECT_EQ(Messages().size(), 1u);
        EXPECT_EQ(ed.txtDataPagamento->Value(), QDate::currentDate());
        PickContact(*ed.cboSocio, QStringLiteral("Bianchi Anna"));
        ed.txtDataPagamento->SetFocus();
        Retype(QStringLiteral("05/03/2026"));
        Key(Qt::Key_Return);
        EXPECT_FALSE(ed.Loaded());
    });
    EXPECT_EQ(Scalar(QStringLiteral("select datapagamento from pagamenti where anagraficaid = 3")), QStringLiteral("2026-03-05 00:00:00"));
}

TEST_F(DeadlineDateTest, AStoredNullDateOpensEmptyAndOkAsksForADate)
{
    StoredDeadline(QStringLiteral("null"), QStringLiteral("senza data"));
    Start();
    EditFirst([&](frmEditPagamenti& ed) {
        EXPECT_EQ(ed.txtDataPagamento->Text(), QString());
        ClickOn(*ed.cmdOK);
        EXPECT_EQ(LastMessage(), kEmpty);
        ASSERT_TRUE(ed.Loaded());
        ed.txtDataPagamento->SetFocus();
        Keys(QStringLiteral("01/07/2026"));
        Key(Qt::Key_Return);
        EXPECT_FALSE(ed.Loaded());
    });
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(StoredDate(QStringLiteral("senza data")), TypeAndHex(QStringLiteral("2026-07-01 00:00:00")));
}

TEST_F(DeadlineDateTest, AStoredDateTheUserLeavesAloneIsWrittenBackAsItWas)
{
    const QStringList stored{QStringLiteral("2024-02-30 00:00:00"), QStringLiteral("entro fine mese"),
                             QStringLiteral("2024-03-01 14:30:00"), QStringLiteral("1700-05-01 00:00:00")};
    for (int i = 0; i < stored.size(); ++i)
        StoredDeadline(QStringLiteral("'") + stored[i] + QStringLiteral("'"), QStringLiteral("d%1").arg(i));
    Start();
    OpenList([&](frmPagamenti& list) {
        const QStringList shown{QStringLiteral("2024-02-30 00:00:00"), QStringLiteral("entro fine mese"), QStringLiteral("01/03/2024"),
                                QStringLiteral("01/05/1700")};
        for (int i = 0; i < stored.size(); ++i) {
            SCOPED_TRACE(stored[i].toStdString());
            ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
                Activate(ed);
                EXPECT_EQ(ed.txtDataPagamento->Text(), shown[i]);
                // Through the date field to the notes, as a user goes: nothing is said of the date.
                ed.txtDataPagamento->SetFocus();
                Key(Qt::Key_Tab);
                EXPECT_EQ(Focused(), ed.cmdOggi->Widget());
                ed.txtNote->SetFocus();
                Keys(QStringLiteral("visto"));
                ClickOn(*ed.cmdOK);
                EXPECT_FALSE(ed.Loaded());
            });
            OpenRow(list, QStringLiteral("d%1").arg(i));
        }
    });
    EXPECT_EQ(DateMessages(), QStringList());
    for (int i = 0; i < stored.size(); ++i)
        EXPECT_EQ(StoredDate(QStringLiteral("d%1").arg(i)), TypeAndHex(stored[i])) << i;
    EXPECT_EQ(Count(QStringLiteral("pagamenti"), QStringLiteral("notepagamento = 'visto'")), stored.size());

    // Changed, the old date is replaced by the new one; a year before 1753 is a date like any other.
    OpenList([&](frmPagamenti& list) {
        ExpectModal<frmEditPagamenti>([&](frmEditPagamenti& ed) {
            Activate(ed);
            ed.txtDataPagamento->SetFocus();
            Key(Qt::Key_Home);
            Key(Qt::Key_Up);   // the day under the caret
            EXPECT_EQ(ed.txtDataPagamento->Text(), QStringLiteral("02/05/1700"));
            Key(Qt::Key_Return);
            EXPECT_FALSE(ed.Loaded());
        });
        OpenRow(list, QStringLiteral("d3"));
    });
    EXPECT_EQ(StoredDate(QStringLiteral("d3")), TypeAndHex(QStringLiteral("1700-05-02 00:00:00")));
}

TEST_F(DeadlineDateTest, ADayWithoutALocalMidnightIsStoredAsThatDay)
{
    // Chile moved its clocks from 00:00 to 01:00 on 8 September 2024.
    UseTimeZone("America/Santiago");
    ASSERT_FALSE(QDateTime(QDate(2024, 9, 8), QTime(0, 0)).isValid()) << "the time zone has no gap here";
    Deadline(1, QStringLiteral("2024-06-01"), QStringLiteral("0"), QStringLiteral("'prima'"));
    Start();
    AddWith([&](frmEditPagamenti& ed) {
        Retype(QStringLiteral("08/09/2024"));
        Key(Qt::Key_Return);
        EXPECT_FALSE(ed.Loaded());
    });
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
    EXPECT_EQ(Scalar(QStringLiteral("select datapagamento from pagamenti where causale is null")), QStringLiteral("2024-09-08 00:00:00"));
}
