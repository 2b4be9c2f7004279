// The print preview's rendering: the page as a browser shows it, in Qt's rich-text engine.
#include "harness/TestEnv.h"
#include "platform/WebBrowser.h"

#include <QAbstractTextDocumentLayout>
#include <QRegularExpression>
#include <QTextLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

using namespace platform;

namespace {

const QString Style = "<html><HEAD><STYLE> table {border-collapse:collapse;} th { padding: 3px; font-size: 7pt; } "
                      "td { padding: 3px; font-size: 7pt; } </STYLE></HEAD><body>";
const QString Heading = "<font style=\"font-family: arial ; font-size: 22pt;\">";

// A record card as the editors write it: two heading lines, then a row per control, empty ones
// for the controls that print nothing.
const QString CardPage = Style + Heading + "Verbanto</p>" + Heading + "Scheda del contatto</p><table><tr></tr>"
                         "<tr><th>Cognome</th><td>Rossi</td></tr><tr></tr><tr></tr><tr><th>Nome</th><td>Mario</td></tr>"
                         "<tr></tr><tr><th>Frequenza</th><td></td></tr><tr></tr></table></body></html>";

struct Item {
    QString text;         // a block's text, or "TABLE"
    QRectF rect;
    QTextTable* table = nullptr;
};

// The page's top-level blocks and tables, in order, laid out on a screen 600 pixels wide or,
// given a page, on pages as printing lays them out.
std::vector<Item> TopLevel(QTextDocument& doc, const QSizeF& page = QSizeF())
{
    if (page.isValid())
        LayOutForPage(doc, page);
    else
        doc.setTextWidth(600);
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    std::vector<Item> items;
    for (QTextFrame::iterator it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto* table = qobject_cast<QTextTable*>(it.currentFrame()))
            items.push_back({"TABLE", layout->frameBoundingRect(table), table});
        else if (it.currentBlock().isValid())
            items.push_back({it.currentBlock().text(), layout->blockBoundingRect(it.currentBlock())});
    }
    return items;
}

QString CellText(QTextTable* t, int row, int col)
{
    return t->cellAt(row, col).firstCursorPosition().block().text();
}

// Where a cell's text stands on the page.
QRectF CellRect(QTextTable* t, int row, int col)
{
    return t->document()->documentLayout()->blockBoundingRect(t->cellAt(row, col).firstCursorPosition().block());
}

} // namespace

TEST(PrintRenderTest, TheHtmlKeepsItsTextButEndsStrayParagraphsAndDropsRowsWithoutCells)
{
    EXPECT_EQ(BrowserEquivalentHtml(CardPage),
              Style + Heading + "Verbanto<p></p>" + Heading + "Scheda del contatto<p></p><table>"
                  "<tr><th>Cognome</th><td>Rossi</td></tr><tr><th>Nome</th><td>Mario</td></tr>"
                  "<tr><th>Frequenza</th><td></td></tr></table></body></html>");
    // Paragraphs that are open stay as they are, in any case of letters; rows with blanks only go.
    EXPECT_EQ(BrowserEquivalentHtml("<P class=x>a</P><p>b</p><TR> \n </TR>"), "<P class=x>a</P><p>b</p>");
    // A block element ends the open paragraph, so its end tag then closes none.
    EXPECT_EQ(BrowserEquivalentHtml("<p>a<div>b</div></p>"), "<p>a<div>b</div><p></p>");
    // A cell is a scope of its own: the paragraph open outside the table is not closed inside it.
    EXPECT_EQ(BrowserEquivalentHtml("<p>a<table><tr><td>b</p></td></tr></table></p>"),
              "<p>a<table><tr><td>b<p></p></td></tr></table></p>");
    // Style text, comments and a bare sign are left alone.
    EXPECT_EQ(BrowserEquivalentHtml("<style>p:after{content:\"</p>\"}</style><!-- </p> -->a < b &lt; c"),
              "<style>p:after{content:\"</p>\"}</style><!-- </p> -->a < b &lt; c");
}

TEST(PrintRenderTest, ACardPrintsItsHeadingOnTwoLinesAndOnlyTheRowsWithCells)
{
    const QSizeF a4(794, 1123);
    for (const QSizeF& page : {QSizeF(), a4}) {
        SCOPED_TRACE(page.isValid() ? "page" : "screen");
        auto doc = PrintableDocument(CardPage);
        std::vector<Item> texts;
        Item table;
        for (const Item& i : TopLevel(*doc, page)) {
            if (i.table)
                table = i;
            else if (!i.text.isEmpty())
                texts.push_back(i);
        }
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].text, "Verbanto");
        EXPECT_EQ(texts[1].text, "Scheda del contatto");
        ASSERT_NE(table.table, nullptr);

        // One em of the heading's 22 points between the lines and before the table, as a browser leaves.
        const qreal em = 22.0 * 96 / 72;
        const qreal firstGap = texts[1].rect.top() - texts[0].rect.bottom();
        EXPECT_NEAR(firstGap, em, 2);
        // The cell's text stands below the table's border and the cell's padding.
        const qreal tableGap = CellRect(table.table, 0, 0).top() - texts[1].rect.bottom();
        EXPECT_GE(tableGap, em - 1);
        EXPECT_LE(tableGap, em + 8);

        ASSERT_EQ(table.table->rows(), 3);
        ASSERT_EQ(table.table->columns(), 2);
        EXPECT_EQ(CellText(table.table, 0, 0), "Cognome");
        EXPECT_EQ(CellText(table.table, 1, 1), "Mario");
        EXPECT_EQ(CellText(table.table, 2, 0), "Frequenza");
        EXPECT_EQ(CellText(table.table, 2, 1), "");
        // A card fits its page as it is.
        if (page.isValid()) {
            EXPECT_EQ(doc->pageSize(), a4);
        }
    }
}

TEST(PrintRenderTest, AGridTooWideForThePageShrinksRatherThanBreakWords)
{
    QString row = "<tr>", head = "<tr>";
    for (int c = 0; c < 16; ++c) {
        head += QString("<th>Intestazione%1 Lunga</th>").arg(c);
        row += QString("<td>Valore%1</td>").arg(c);
    }
    const QString page = Style + Heading + "Gestione Verbanto - Contatti</p><table>" + head + "</tr>" + row +
                         "</tr></table></body></html>";
    const QSizeF a4(794, 1123);
    auto doc = PrintableDocument(page);
    LayOutForPage(*doc, a4);
    // A wider page of the same shape, printed smaller.
    EXPECT_GT(doc->pageSize().width(), a4.width());
    EXPECT_NEAR(doc->pageSize().height() / doc->pageSize().width(), a4.height() / a4.width(), 1e-9);
    // Every line of every cell ends between words.
    int lines = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QTextLayout* layout = b.layout();
        for (int i = 0; i < layout->lineCount(); ++i, ++lines) {
            const QTextLine line = layout->lineAt(i);
            const int end = line.textStart() + line.textLength();
            if (end < b.text().size()) {
                EXPECT_TRUE(b.text().at(end - 1).isSpace()) << b.text().toStdString() << " broken at " << end;
            }
        }
    }
    EXPECT_GT(lines, 32);
    // A page that holds the table keeps its size.
    LayOutForPage(*doc, QSizeF(4000, 5000));
    EXPECT_EQ(doc->pageSize(), QSizeF(4000, 5000));
}

TEST(PrintRenderTest, AGridPrintKeepsItsTotalLineUnderTheTable)
{
    const QString page = Style + Heading + "Gestione Verbanto - Assegni emessi</p>" +
                         "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><tr><th>Importo</th></tr>"
                         "<tr><td>1.000,00 €</td></tr></table>Importo complessivo: 1.000,00 €</body></html>";
    auto doc = PrintableDocument(page);
    QStringList order;
    qreal tableBottom = 0, totalTop = 0;
    for (const Item& i : TopLevel(*doc)) {
        if (i.table)
            tableBottom = CellRect(i.table, 1, 0).bottom();
        else if (i.text.startsWith("Importo"))
            totalTop = i.rect.top();
        if (!i.text.isEmpty())
            order << i.text;
    }
    EXPECT_EQ(order, QStringList({"Gestione Verbanto - Assegni emessi", "TABLE", "Importo complessivo: 1.000,00 €"}));
    EXPECT_GE(totalTop, tableBottom);
}

TEST(PrintRenderTest, ThePdfNameIsTheCaptionWhole)
{
    // The name Qt's print dialog proposes for a document (its rule on X11).
    auto proposed = [](const QString& docName) {
        const auto match = QRegularExpression(QStringLiteral(R"((.*)\.\S+)")).match(docName);
        return (match.hasMatch() ? match.captured(1) : docName) + QStringLiteral(".pdf");
    };
    for (const char* caption : {"Anagrafica Contatti", "Gestione Verbanto 1.0", "Gestione Verbanto 1.0 - Prossime scadenze",
                                "Scadenze relative al contatto Rossi S.p.A.", "Fine."}) {
        SCOPED_TRACE(caption);
        EXPECT_EQ(proposed(PrintDocName(caption)), QString::fromUtf8(caption) + ".pdf");
    }
    EXPECT_EQ(PrintDocName("Anagrafica Contatti"), "Anagrafica Contatti");
    EXPECT_EQ(proposed(PrintDocName("Entrate/Uscite")), "Entrate-Uscite.pdf");
}
