// The cheque windows' dates, typed at the keyboard: what is no date is refused with the window's
// messages and nothing written; stored dates come back as they were stored.
#include "ChequeFixture.h"
#include "cheques/frmEditAssegniEmessi.h"
#include "cheques/frmEditGirate.h"
#include "cheques/frmEditVersamenti.h"
#include "deadlines/frmPagamenti.h"
#include <QDateTime>
#include <QWidget>

using namespace verbanto;

namespace {
const QString kEmpty = QStringLiteral("Inserire la data dell'assegno");
const QString kWrong = QStringLiteral("Formato della data dell'assegno non valido");
} // namespace

class ChequeDateTest : public ChequeTest {
protected:
    // A new cheque, everything but the date filled in, the editor active and the focus in the
    // date field, reached by Tab from the number as a user reaches it.
    void AddWith(std::function<void(frmEditAssegniEmessi&)> driver)
    {
        OpenCheques([&](frmAssegniEmessi& list) {
            ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
                Activate(e);
                e.cboDescrizione->setListIndex(0);
                e.cboDescrizione_Change();
                e.cboNome->setListIndex(1);
                e.cboNome_Change();
                e.txtImporto->setText(QStringLiteral("10"));
                e.txtNumero->SetFocus();
                Keys(QStringLiteral("77"));
                Key(Qt::Key_Tab);
                ASSERT_EQ(Focused(), e.txtDataAssegno->Widget());
                driver(e);
            });
            list.cmdAdd->PerformClick();
        });
    }
    void EditNumber(const QString& number, std::function<void(frmEditAssegniEmessi&)> driver)
    {
        OpenCheques([&](frmAssegniEmessi& list) {
            ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
                Activate(e);
                driver(e);
            });
            const auto& g = *list.MSFlexGrid1;
            for (int r = 1; r < g.Rows(); ++r)
                if (g.TextMatrix(r, 5) == number) {
                    list.MSFlexGrid1->UserDoubleClickCell(r, 5);
                    return;
                }
            ADD_FAILURE() << "no cheque " << number.toStdString();
        });
    }
    QString StoredDate(const QString& number)
    {
        return Scalar(QStringLiteral("select ifnull(typeof(DataAssegno) || ':' || hex(DataAssegno), 'NULL') from AssegniEmessi "
                                     "where Numero = '") + number + QStringLiteral("'"));
    }
};

TEST_F(ChequeDateTest, NoDateIsRefusedByEnterTabAndOkAndNothingIsWritten)
{
    Cheque(4, 2, QStringLiteral("1"), QStringLiteral("20"));
    AddWith([&](frmEditAssegniEmessi& e) {
        QWidget* field = e.txtDataAssegno->Widget();
        const struct {
            const char* typed;
            QString onEnter;
        } cases[] = {{"31/11/2026", kWrong}, {"31/02/2027", kWrong}, {"32/01/2026", kWrong}, {"", kEmpty}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            const QString typed = QString::fromLatin1(c.typed);
            Retype(typed);
            Key(Qt::Key_Return);
            EXPECT_EQ(LastMessage(), c.onEnter);
            ASSERT_TRUE(e.Loaded());
            EXPECT_EQ(e.txtDataAssegno->Text(), typed);
            const auto shown = Messages().size();
            Key(Qt::Key_Tab);
            EXPECT_EQ(Messages().size(), shown + 1);
            EXPECT_EQ(LastMessage(), kWrong);
            EXPECT_EQ(Focused(), field);
            ClickOn(*e.cmdOK);
            EXPECT_EQ(Messages().size(), shown + 2);
            EXPECT_EQ(Focused(), field);
            EXPECT_EQ(e.txtDataAssegno->Text(), typed);
        }
        EXPECT_EQ(Count(QStringLiteral("AssegniEmessi")), 1);
        // A day and month: that day of this year.
        Retype(QStringLiteral("11/12"));
        Key(Qt::Key_Return);
        EXPECT_FALSE(e.Loaded()) << LastMessage().toStdString();
    });
    EXPECT_EQ(StoredDate(QStringLiteral("77")), TypeAndHex(QString::number(QDate::currentDate().year()) + QStringLiteral("-12-11 00:00:00")));
}

TEST_F(ChequeDateTest, StoredDatesComeBackAsTheyWereAndNullAsksForADate)
{
    Cheque(3, 1, QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("0, 1, 0"), QStringLiteral("2024-02-30 00:00:00"));
    Cheque(3, 1, QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("0, 1, 0"), QStringLiteral("1700-05-01 00:00:00"));
    Cheque(3, 1, QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("0, 1, 0"), QStringLiteral("domani"));
    Cheque(3, 1, QStringLiteral("4"), QStringLiteral("5"));
    Sql(QStringLiteral("update AssegniEmessi set DataAssegno = null where Numero = '4'"));
    const struct {
        const char* number;
        const char* shown;
        const char* stored;
    } kept[] = {{"1", "2024-02-30 00:00:00", "2024-02-30 00:00:00"}, {"2", "01/05/1700", "1700-05-01 00:00:00"}, {"3", "domani", "domani"}};
    for (const auto& k : kept) {
        SCOPED_TRACE(k.number);
        EditNumber(QString::fromLatin1(k.number), [&](frmEditAssegniEmessi& e) {
            EXPECT_EQ(e.txtDataAssegno->Text(), QString::fromLatin1(k.shown));
            e.txtDataAssegno->SetFocus();
            Key(Qt::Key_Tab);   // through the field: nothing to say of a date left alone
            e.txtAssegnoNote->SetFocus();
            Keys(QStringLiteral("visto"));
            ClickOn(*e.cmdOK);
            EXPECT_FALSE(e.Loaded()) << LastMessage().toStdString();
        });
        EXPECT_EQ(StoredDate(QString::fromLatin1(k.number)), TypeAndHex(QString::fromLatin1(k.stored)));
    }
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
    EXPECT_EQ(Count(QStringLiteral("AssegniEmessi"), QStringLiteral("AssegnoNote = 'visto'")), 3);

    EditNumber(QStringLiteral("4"), [&](frmEditAssegniEmessi& e) {
        EXPECT_EQ(e.txtDataAssegno->Text(), QString());
        ClickOn(*e.cmdOK);
        EXPECT_EQ(LastMessage(), kEmpty);
        ASSERT_TRUE(e.Loaded());
        e.txtDataAssegno->SetFocus();
        Keys(QStringLiteral("02/05/1700"));
        Key(Qt::Key_Return);
        EXPECT_FALSE(e.Loaded()) << LastMessage().toStdString();
    });
    EXPECT_EQ(StoredDate(QStringLiteral("4")), TypeAndHex(QStringLiteral("1700-05-02 00:00:00")));
}

TEST_F(ChequeDateTest, ADayWithoutALocalMidnightIsStoredAsThatDay)
{
    // Chile moved its clocks from 00:00 to 01:00 on 8 September 2024.
    UseTimeZone("America/Santiago");
    ASSERT_FALSE(QDateTime(QDate(2024, 9, 8), QTime(0, 0)).isValid()) << "the time zone has no gap here";
    Cheque(4, 2, QStringLiteral("1"), QStringLiteral("20"));
    AddWith([&](frmEditAssegniEmessi& e) {
        Retype(QStringLiteral("08/09/2024"));
        Key(Qt::Key_Return);
        EXPECT_FALSE(e.Loaded()) << LastMessage().toStdString();
    });
    EXPECT_EQ(StoredDate(QStringLiteral("77")), TypeAndHex(QStringLiteral("2024-09-08 00:00:00")));
}

TEST_F(ChequeDateTest, EndorsementAndDepositRefuseATypedNoDateAndWriteAnEmptyOneAsNull)
{
    Sql(QStringLiteral("insert into pagamenti (pagamentiid, anagraficaid, datapagamento, importo, causale) "
                       "values (7, 2, '2024-03-01 00:00:00', 0, 'Assegno di Bianchi')"));
    platform::Forms::Instance<frmPagamenti>().mPagamentiID = 7;
    ExpectModal<frmEditGirate>([&](frmEditGirate& d) {
        Activate(d);
        d.cboNome->setListIndex(1);
        d.txtDataGirata->SetFocus();
        Retype(QStringLiteral("31/02/2024"));
        Key(Qt::Key_Return);
        EXPECT_EQ(LastMessage(), QStringLiteral("Formato della data di girata non valido"));
        EXPECT_EQ(d.txtDataGirata->Text(), QStringLiteral("31/02/2024"));
        EXPECT_EQ(Count(QStringLiteral("Girate")), 0);
        Retype(QString());
        Key(Qt::Key_Return);
        EXPECT_FALSE(d.Loaded());
    });
    platform::Forms::Instance<frmEditGirate>().Show(platform::vbModal);
    ExpectModal<frmEditVersamenti>([&](frmEditVersamenti& d) {
        Activate(d);
        d.cboDescrizione->setListIndex(0);
        d.txtDataVersamento->SetFocus();
        Retype(QStringLiteral("32/01/2024"));
        Key(Qt::Key_Return);
        EXPECT_EQ(LastMessage(), QStringLiteral("Formato della data di versamento non valido"));
        EXPECT_EQ(Count(QStringLiteral("Versamenti")), 0);
        Retype(QStringLiteral("1.3.24"));
        Key(Qt::Key_Return);
        EXPECT_FALSE(d.Loaded());
    });
    platform::Forms::Instance<frmEditVersamenti>().Show(platform::vbModal);
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Scalar(QStringLiteral("select ifnull(DataGirata, 'NULL') from Girate")), QStringLiteral("NULL"));
    EXPECT_EQ(Scalar(QStringLiteral("select DataVersamento from Versamenti")), QStringLiteral("2024-03-01 00:00:00"));
}
