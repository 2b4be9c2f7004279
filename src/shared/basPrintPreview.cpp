// Printing: an HTML page written piece by piece into a window's browser control, then its
// print preview. Grid prints and record cards share the head, the headings and the end.
#include "shared/basPrintPreview.h"
#include "shared/Proc.h"
#include "shared/basGeneralCustom.h"

namespace verbanto {

using platform::Control;
using platform::ControlKind;

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

QString captionOf(const Control& c)
{
    switch (c.Kind) {
    case ControlKind::Label: return static_cast<const platform::Label&>(c).Caption();
    case ControlKind::Button: return static_cast<const platform::Button&>(c).Caption();
    case ControlKind::CheckBox: return static_cast<const platform::CheckBox&>(c).Caption();
    case ControlKind::OptionButton: return static_cast<const platform::OptionButton&>(c).Caption();
    case ControlKind::Frame: return static_cast<const platform::Frame&>(c).Caption();
    default: platform::Err::Raise(438, QStringLiteral("Object doesn't support this property or method"));
    }
}

bool isShown(const Control& c)
{
    if (c.Kind == ControlKind::MenuItem)
        return static_cast<const platform::MenuItem&>(c).Visible();
    return c.Visible();
}

// The header cells of a value: every control named "lbl" + the value control's name after its
// three-letter kind prefix.
QString labelCells(const platform::Form& form, const Control& value)
{
    const QString labelName = QStringLiteral("lbl") + value.Name.mid(3);
    QString out;
    for (const Control* c : form.Controls())
        if (c->Name == labelName)
            out += QStringLiteral("<th>") + formattaPerStampa(captionOf(*c)) + QStringLiteral("</th>");
    return out;
}

QString cardCells(const platform::Form& form, const Control& c)
{
    const auto td = [](const QString& v) { return QStringLiteral("<td>") + v + QStringLiteral("</td>"); };
    switch (c.Kind) {
    case ControlKind::TextBox:
        return labelCells(form, c) + td(formattaPerStampa(static_cast<const platform::TextBox&>(c).Text()));
    case ControlKind::DatePicker:
        return labelCells(form, c) + td(formattaPerStampa(static_cast<const platform::DatePicker&>(c).Text()));
    case ControlKind::ComboBox:
        return labelCells(form, c) + td(static_cast<const platform::ComboBox&>(c).Text());   // as the list shows it
    case ControlKind::CheckBox: {
        const auto& chk = static_cast<const platform::CheckBox&>(c);
        QString out = QStringLiteral("<th>") + formattaPerStampa(chk.Caption()) + QStringLiteral("</th>");
        const int v = chk.Value();
        if (v == 0)
            out += td(QStringLiteral("No"));
        else if (v == 1 || v == 2)
            out += td(QStringLiteral("Sì"));
        return out;
    }
    default:
        return QString();
    }
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
            if (!isShown(*c))
                continue;
            doc.write(QStringLiteral("<tr>") + cardCells(form, *c) + QStringLiteral("</tr>"));
        }
        if (form.Name == QLatin1String("frmEditPagamenti")) {
            doc.write(QStringLiteral("<tr><th>") + formattaPerStampa(QStringLiteral("Frequenza")) + QStringLiteral("</th>"));
            for (int i = 0;; ++i) {
                auto* opt = dynamic_cast<platform::OptionButton*>(form.FindControl(QStringLiteral("OsenXPOptionButton"), i));
                if (!opt)
                    break;
                if (opt->Value()) {
                    doc.write(QStringLiteral("<td>") + formattaPerStampa(opt->Caption()) + QStringLiteral("</td></tr>"));
                    break;
                }
            }
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
