// Printing through the browser control: the exact page text of grid prints and record cards,
// and the preview it ends in.
#include "harness/TestEnv.h"
#include "platform/FlexGrid.h"
#include "platform/WebBrowser.h"
#include "shared/basPrintPreview.h"

using namespace platform;
using namespace verbanto;

namespace {

const QString Head7 =
    "<html><HEAD><STYLE>     table {border-collapse:collapse;} th {    margin:5px;    padding: 3px;    border:1px solid "
    "#336699; background-color:#336699;    color:#FFFFFF;   font-family: Arial;  font-size: 7pt;    font-weight:bold; }  "
    "td {    margin:5px;    padding: 3px;    border:1px solid #336699; background-color:#FFFFFF;    color:#000000;    "
    "font-family: Arial; font-size: 7pt; }         fontDettaglio { font-size: 7pt;  font-family: Arial; font-color: "
    "black; } </STYLE></HEAD><body>";
const QString Heading = "<font style=\"font-family: arial ; font-size: 22pt;\">";

// A window with a grid and a browser control, as the list windows have them.
class ListLike : public Form {
public:
    ListLike() : Form("frmListLike") {}
    FlexGrid* grid = nullptr;
    WebBrowser* web = nullptr;
    void CreateControls() override
    {
        grid = Add<FlexGrid>("MSFlexGrid1");
        web = Add<WebBrowser>("web");
    }
};

// An editor: values with their labels, check boxes, a hidden box, other controls.
class Card : public Form {
public:
    explicit Card(const QString& name) : Form(name) {}
    void CreateControls() override
    {
        Add<Label>("lblCognome", "Cognome <ragione sociale>");
        Add<TextBox>("txtCognome")->setText("Rossi & Figli <srl>");
        Add<Label>("lblData", "Data");
        Add<DatePicker>("dtpData")->setValue(QDate(2024, 3, 9));
        Add<Label>("lblTipo", "Tipo");
        auto* cbo = Add<ComboBox>("cboTipo");
        cbo->AddItem("Cliente <A>");
        cbo->setListIndex(0);
        Add<CheckBox>("chkAttivo", "Attivo")->setValue(2);
        Add<CheckBox>("chkPrivato", "Privato")->setValue(0);
        Add<TextBox>("txtNascosto")->setVisible(false);
        Add<TextBox>("txtSenzaEtichetta")->setText("x");
        Add<Button>("cmdOK", "OK");
        for (int i = 0; i < 3; ++i)
            Add<OptionButton>("OsenXPOptionButton", QString("Regola %1").arg(i), i);
        web = Add<WebBrowser>("web");
    }
    WebBrowser* web = nullptr;
};

} // namespace

class PrintPreviewTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        list.Load();
        FlexGrid& g = *list.grid;
        g.setRows(1);
        g.setCols(4);
        const QStringList head{"IDFIELD", "Nome", "Note", "Nascosta"};
        for (int c = 0; c < 4; ++c)
            g.setTextMatrix(0, c, head[c]);
        g.AddItem("1\tRossi\ta < b & c > d\tzz");
        g.setColWidth(3, 0);
    }
    void TearDown() override
    {
        list.Unload();
        VerbantoTest::TearDown();
    }
    QString gridTable()
    {
        initPrintPreview(*list.web);
        const int head = list.web->Html().size();
        printWebGrid(*list.grid, *list.web);
        return list.web->Html().mid(head);
    }
    ListLike list;
};

TEST_F(PrintPreviewTest, TheHeadCarriesThePrintSize)
{
    EXPECT_EQ(gPrtcSize, 7);
    initPrintPreview(*list.web);
    EXPECT_EQ(list.web->Html(), Head7);
    gPrtcSize = 12;
    initPrintPreview(*list.web);   // a new page each time
    QString twelve = Head7;
    EXPECT_EQ(list.web->Html(), twelve.replace("7pt", "12pt"));
    EXPECT_EQ(list.web->Html().count("12pt"), 3);
}

TEST_F(PrintPreviewTest, GridTableLeavesOutExcludedAndHiddenColumnsAndEscapesOnlyTheSigns)
{
    gNoPrintColumns[0] = 1;   // never read
    gNoPrintColumns[1] = 0;
    gNoPrintColumns[2] = 2;
    gNoPrintColumns[3] = -1;
    EXPECT_EQ(gridTable(), "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">"
                           "<tr><th>Nome</th></tr><tr><td>Rossi</td></tr></table>");
    gNoPrintColumns[1] = -1;
    EXPECT_EQ(gridTable(), "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">"
                           "<tr><th>IDFIELD</th><th>Nome</th><th>Note</th></tr>"
                           "<tr><td>1</td><td>Rossi</td><td>a &lt; b & c &gt; d</td></tr></table>");
    // Only the header row: one row of header cells.
    list.grid->setRows(1);
    EXPECT_EQ(gridTable(), "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">"
                           "<tr><th>IDFIELD</th><th>Nome</th><th>Note</th></tr></table>");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PrintPreviewTest, AGridPrintEndsInThePreviewOfTheWholePage)
{
    gNoPrintColumns[1] = 0;
    gNoPrintColumns[2] = -1;
    initPrintPreview(*list.web);
    printWebSubtitle(*list.web, "Verbanto - Contatti");
    printWebGrid(*list.grid, *list.web);
    printString("<p>Totale 3 &euro;</p>", *list.web);
    endPrintPreview(*list.web);
    goPrintPreview(*list.web);
    const auto shown = Script::Of("preview");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "frmListLike");
    EXPECT_EQ(shown[0].prompt, Head7 + Heading + "Verbanto - Contatti</p>" +
                                   "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">"
                                   "<tr><th>Nome</th><th>Note</th></tr><tr><td>Rossi</td><td>a &lt; b & c &gt; d</td></tr>"
                                   "</table><p>Totale 3 &euro;</p></body></html>");
    EXPECT_TRUE(list.web->Document().IsClosed());
}

TEST_F(PrintPreviewTest, AnExclusionListWithoutItsEndIsReportedAndLeavesTheTableUnfinished)
{
    for (int i = 1; i <= 100; ++i)
        gNoPrintColumns[i] = 50;
    initPrintPreview(*list.web);
    printWebGrid(*list.grid, *list.web);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "Error 9 (Subscript out of range) in procedure printWebGrid of Modulo basPrintPreview");
    EXPECT_EQ(Messages()[0].style, 48);
    EXPECT_FALSE(list.web->Html().endsWith("</table>"));
}

TEST_F(PrintPreviewTest, TheContactCardHasItsHeadingAndOneRowPerVisibleControl)
{
    OpenProgramDb();
    Sql("update settings set value='Studio <b>Bianchi</b>' where mnemocode='INTESTAZ'");
    Card card("frmEditAnagrafica");
    card.Load();
    printThisForm(card, *card.web);
    const auto shown = Script::Of("preview");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].prompt,
              Head7 + Heading + "Studio <b>Bianchi</b></p>" + Heading + "Scheda del contatto</p>" + "<table>" +
                  "<tr></tr>"                                                                          // lblCognome
                  "<tr><th>Cognome &lt;ragione sociale&gt;</th><td>Rossi & Figli &lt;srl&gt;</td></tr>"  // txtCognome
                  "<tr></tr><tr><th>Data</th><td>09/03/2024</td></tr>"
                  "<tr></tr><tr><th>Tipo</th><td>Cliente <A></td></tr>"
                  "<tr><th>Attivo</th><td>Sì</td></tr>"
                  "<tr><th>Privato</th><td>No</td></tr>"
                  "<tr><td>x</td></tr>"   // a text box without its label
                  "<tr></tr>"             // the button
                  "<tr></tr><tr></tr><tr></tr>"   // the option buttons
                  "</table></body></html>");
    EXPECT_TRUE(Messages().empty());
    // The preview names the page after the window's caption.
    EXPECT_EQ(shown[0].title, "frmEditAnagrafica");
    card.setCaption("Anagrafica Contatti");
    printThisForm(card, *card.web);
    EXPECT_EQ(Script::Of("preview").at(1).title, "Anagrafica Contatti");
    card.Unload();
}

TEST_F(PrintPreviewTest, TheDeadlineCardEndsWithItsRecurrence)
{
    OpenProgramDb();
    Card card("frmEditPagamenti");
    card.Load();
    static_cast<OptionButton*>(card.FindControl("OsenXPOptionButton", 1))->setValue(true);
    printThisForm(card, *card.web);
    QString page = Script::Of("preview").at(0).prompt;
    EXPECT_TRUE(page.startsWith(Head7 + Heading + "Verbanto</p>" + Heading + "Promemoria scadenza</p><table>"));
    EXPECT_TRUE(page.endsWith("<tr></tr><tr><th>Frequenza</th><td>Regola 1</td></tr></table></body></html>")) << page.toStdString();

    // No rule chosen: the row is still whole, with an empty value cell.
    for (int i = 0; i < 3; ++i)
        static_cast<OptionButton*>(card.FindControl("OsenXPOptionButton", i))->setValue(false);
    printThisForm(card, *card.web);
    page = Script::Of("preview").at(1).prompt;
    EXPECT_TRUE(page.endsWith("<tr></tr><tr><th>Frequenza</th><td></td></tr></table></body></html>")) << page.toStdString();

    // Any other editor has neither heading nor recurrence.
    Card other("frmEditTipologiaPersone");
    other.Load();
    printThisForm(other, *other.web);
    page = Script::Of("preview").at(2).prompt;
    EXPECT_TRUE(page.startsWith(Head7 + "<table><tr></tr>"));
    EXPECT_FALSE(page.contains("Frequenza"));
    other.Unload();
    card.Unload();
}

TEST_F(PrintPreviewTest, FormattaPerStampaEscapesTheSignsOnly)
{
    EXPECT_EQ(formattaPerStampa("<b>&amp;</b>"), "&lt;b&gt;&amp;&lt;/b&gt;");
    EXPECT_EQ(formattaPerStampa(""), "");
}
