// Printing: an HTML page written piece by piece into a window's browser control, then its
// print preview. Grid prints and record cards share the head, the headings and the end.
#include "shared/basPrintPreview.h"
#include "shared/basGeneralCustom.h"
#include "shared/TracedProcedure.h"

namespace verbanto {

using platform::Control;

int gNoPrintColumns[101] = {0, -1};
short gPrtcSize = 7;

namespace {

const char* const Module = "basPrintPreview";

// The heading is written as it stands: callers may pass markup of their own.
QString headingLine(const QString& text)
{
    return QStringLiteral("<font style=\"font-family: arial ; font-size: 22pt;\">") + text + QStringLiteral("</p>");
}

bool excludedColumn(int col)
{
    for (int i = 1;; ++i) {
        if (i > 100)   // a list without its end marker
            platform::Err::Raise(platform::Err::SubscriptOutOfRange);
        if (gNoPrintColumns[i] == -1)
            return false;
        if (gNoPrintColumns[i] == col)
            return true;
    }
}

// The header cells of a value: every control named "lbl" + the value control's name after its
// three-letter kind prefix.
QString labelCells(const platform::Form& form, const Control& value)
{
    const QString labelName = QStringLiteral("lbl") + value.Name.mid(3);
    QString out;
    for (const Control* c : form.Controls())
        if (c->Name == labelName)
            out += QStringLiteral("<th>") + formattaPerStampa(c->Caption()) + QStringLiteral("</th>");
    return out;
}

QString cardCells(const platform::Form& form, const Control& c)
{
    const auto td = [](const QString& v) { return QStringLiteral("<td>") + v + QStringLiteral("</td>"); };
    const platform::CardItem item = c.Card();
    switch (item.kind) {
    case platform::CardItem::Kind::Text: return labelCells(form, c) + td(formattaPerStampa(item.text));
    case platform::CardItem::Kind::ListText: return labelCells(form, c) + td(item.text);   // as the list shows it
    case platform::CardItem::Kind::Check: {
        QString out = QStringLiteral("<th>") + formattaPerStampa(item.text) + QStringLiteral("</th>");
        if (item.state == 0)
            out += td(QStringLiteral("No"));
        else if (item.state == 1 || item.state == 2)
            out += td(QStringLiteral("Sì"));
        return out;
    }
    case platform::CardItem::Kind::None: break;
    }
    return QString();
}

} // namespace

QString formattaPerStampa(const QString& text)
{
    return ModProc(Module, "formattaPerStampa", [&] {
        QString s = text;
        s.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
        s.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
        return s;
    });
}

void initPrintPreview(platform::WebBrowser& web)
{
    ModProc(Module, "initPrintPreview", [&] {
        web.Navigate(QStringLiteral("about:blank"));
        const QString s = QString::number(gPrtcSize);
        web.Document().write(
            QStringLiteral("<html><HEAD><STYLE>    ") + QStringLiteral(" table {border-collapse:collapse;}") +
            QStringLiteral(" th {    margin:5px;    padding: 3px;    border:1px solid #336699; ") +
            QStringLiteral("background-color:#336699;    color:#FFFFFF;   font-family: Arial;  font-size: ") + s +
            QStringLiteral("pt;    font-weight:bold; } ") +
            QStringLiteral(" td {    margin:5px;    padding: 3px;    border:1px solid #336699; ") +
            QStringLiteral("background-color:#FFFFFF;    color:#000000;    font-family: Arial; font-size: ") + s +
            QStringLiteral("pt; }        ") + QStringLiteral(" fontDettaglio { font-size: ") + s +
            QStringLiteral("pt;  font-family: Arial; font-color: black; } ") +
            QStringLiteral("</STYLE></HEAD><body>"));
    });
}

void printWebTitle(platform::WebBrowser& web)
{
    ModProc(Module, "printWebTitle", [&] { web.Document().write(headingLine(getSetting(QStringLiteral("INTESTAZ")))); });
}

void printWebSubtitle(platform::WebBrowser& web, const QString& text)
{
    ModProc(Module, "printWebSubtitle", [&] { web.Document().write(headingLine(text)); });
}

void printWebGrid(platform::FlexGrid& grid, platform::WebBrowser& web)
{
    ModProc(Module, "printWebGrid", [&] {
        platform::HtmlDocument& doc = web.Document();
        doc.write(QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">"));
        // Which columns print is the same for every row.
        std::vector<int> shown;
        for (int c = 0; c < grid.Cols(); ++c)
            if (grid.ColWidth(c) != 0 && !excludedColumn(c))
                shown.push_back(c);
        for (int r = 0; r < grid.Rows(); ++r) {
            doc.write(QStringLiteral("<tr>"));
            const QString open = r == 0 ? QStringLiteral("<th>") : QStringLiteral("<td>");
            const QString close = r == 0 ? QStringLiteral("</th>") : QStringLiteral("</td>");
            for (int c : shown) {
                doc.write(open);
                doc.write(formattaPerStampa(grid.TextMatrix(r, c)));
                doc.write(close);
            }
            doc.write(QStringLiteral("</tr>"));
        }
        doc.write(QStringLiteral("</table>"));
    });
}

void printString(const QString& text, platform::WebBrowser& web)
{
    ModProc(Module, "printString", [&] { web.Document().write(text); });
}

void printThisForm(platform::Form& form, platform::WebBrowser& web)
{
    ModProc(Module, "printThisForm", [&] {
        initPrintPreview(web);
        if (form.Name == QLatin1String("frmEditPagamenti")) {
            printWebTitle(web);
            printWebSubtitle(web, QStringLiteral("Promemoria scadenza"));
        } else if (form.Name == QLatin1String("frmEditAnagrafica")) {
            printWebTitle(web);
            printWebSubtitle(web, QStringLiteral("Scheda del contatto"));
        }
        platform::HtmlDocument& doc = web.Document();
        doc.write(QStringLiteral("<table>"));
        for (const Control* c : form.Controls()) {
            if (!c->Visible())
                continue;
            doc.write(QStringLiteral("<tr>") + cardCells(form, *c) + QStringLiteral("</tr>"));
        }
        if (form.Name == QLatin1String("frmEditPagamenti")) {
            doc.write(QStringLiteral("<tr><th>") + formattaPerStampa(QStringLiteral("Frequenza")) + QStringLiteral("</th>"));
            // No rule chosen still closes the row, with an empty value.
            QString rule;
            for (int i = 0;; ++i) {
                auto* opt = dynamic_cast<platform::OptionButton*>(form.FindControl(QStringLiteral("OsenXPOptionButton"), i));
                if (!opt)
                    break;
                if (opt->Value()) {
                    rule = opt->Caption();
                    break;
                }
            }
            doc.write(QStringLiteral("<td>") + formattaPerStampa(rule) + QStringLiteral("</td></tr>"));
        }
        doc.write(QStringLiteral("</table>"));
        endPrintPreview(web);
        goPrintPreview(web);
    });
}

void endPrintPreview(platform::WebBrowser& web)
{
    ModProc(Module, "endPrintPreview", [&] {
        web.Document().write(QStringLiteral("</body></html>"));
        web.Document().close();
    });
}

void goPrintPreview(platform::WebBrowser& web)
{
    ModProc(Module, "goPrintPreview", [&] { web.ExecWB(7, 0); });
}

} // namespace verbanto
