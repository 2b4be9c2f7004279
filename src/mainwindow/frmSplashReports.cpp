#include "mainwindow/frmSplashReports.h"
#include "mainwindow/frmMain.h"
#include "platform/FormLayout.h"
#include "platform/Italian.h"
#include "platform/MsgBoxDialog.h"
#include "shared/basGeneral.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

std::array<StoredReport, 36> gArrayReport;
int gMaxReport = 16;
int gCurrentReport = -1;

namespace {
const QString kTitle = QStringLiteral("Gestione Verbanto");

constexpr double kButtonWidth = 3600;
constexpr int kPerColumn = 9;

// The query with the markers of a date: the day itself, one month later, one year later.
void PutDate(QString& query, const QString& marker, const QDate& date)
{
    query.replace(QStringLiteral("[") + marker + QStringLiteral("]"), FormattaData(date), Qt::CaseSensitive);
    query.replace(QStringLiteral("[") + marker + QStringLiteral("+1M]"), FormattaData(date.addMonths(1)), Qt::CaseSensitive);
    query.replace(QStringLiteral("[") + marker + QStringLiteral("+1A]"), FormattaData(date.addYears(1)), Qt::CaseSensitive);
}
} // namespace

// ---------------------------------------------------------------------------------------------
// The grid of a chosen report

void StoredReportGrid::FillGrid() { FillGrid(Variant(Query)); }

void StoredReportGrid::OwnLoad()
{
    frmReportistica::OwnLoad();
    OsenXPForm1->setCaption(QString::fromLatin1(frmMain::Title) + QStringLiteral(" - ") + Title);
}

QString StoredReportGrid::PrintSubtitle() { return QStringLiteral("Gestione Verbanto - ") + Title; }

// ---------------------------------------------------------------------------------------------
// The chooser

frmSplashReports::frmSplashReports() : Form(QStringLiteral("frmSplashReports")) {}

void frmSplashReports::CreateControls()
{
    OsenXPForm = Add<SkinForm>(QStringLiteral("OsenXPForm"));
    OsenXPForm->setCaption(QStringLiteral("Scegli Report"));
    setCaption(QStringLiteral("Scegli Report"));
    // Two columns of reports, the exit under the second one.
    std::vector<layout::Lines> columns(2);
    for (int i = 0; i < Buttons; ++i) {
        Button* b = Add<Button>(QStringLiteral("cmdShowReport"), QString(), i);
        b->Click = [this, i] { cmdShowReport_Click(i); };
        cmdShowReport[i] = b;
        columns[i / kPerColumn].push_back(layout::Row({layout::Filled(b, kButtonWidth)}));
    }
    cmdClose = Add<Button>(QStringLiteral("cmdClose"), QStringLiteral("Es&ci"));
    cmdClose->setCancel(true);
    cmdClose->Click = [this] { cmdClose_Click(); };
    columns[1].push_back(layout::Row({layout::Filled(cmdClose, kButtonWidth)}));
    layout::LayOut(*this, {{layout::Columns(std::move(columns))}, {}});
}

void frmSplashReports::PopolaArrayReport()
{
    FormProc(*this, "PopolaArrayReport", [&] {
        for (int i = 0; i <= gMaxReport; ++i)
            gArrayReport[i].sqlreport = Variant(QString());
        OpenDb();
        if (!gRsOpen(QStringLiteral("select * from reportistica order by ordine")))
            return;
        const Recordset& rs = *gRs;
        for (size_t slot = 0; !rs.EOF_(); ++slot, gRs->MoveNext()) {
            if (slot >= gArrayReport.size())
                Err::Raise(Err::SubscriptOutOfRange);   // the first 36 stay loaded
            StoredReport& r = gArrayReport[slot];
            r.sqlreport = rs["sqlreport"].Value();
            r.titolo = rs["titolo"].Value();
            r.numparametri = rs["numparametri"].Value();
            r.tipopar1 = rs["tipopar1"].Value();
            r.tipopar2 = rs["tipopar2"].Value();
            r.promptpar1 = rs["promptpar1"].Value();
            r.promptpar2 = rs["promptpar2"].Value();
        }
    });
}

void frmSplashReports::Form_Load()
{
    FormProc(*this, "Form_Load", [&] {
        CenterForm(*this);
        gMaxReport = 16;
        PopolaArrayReport();
        for (int i = 0; i < Buttons; ++i) {
            const StoredReport& r = gArrayReport[i];
            const bool stored = !r.sqlreport.Text().isEmpty();
            cmdShowReport[i]->setVisible(stored);
            if (stored)
                cmdShowReport[i]->setCaption(r.titolo.Text());
        }
        DisattivaTabstop(Controls());
    });
}

std::optional<QString> frmSplashReports::ask(const QString& prompt)
{
    MsgBoxDialog box;
    const QString answer = box.InputBox(prompt, kTitle);
    if (answer.trimmed().isEmpty())
        return std::nullopt;
    return answer;
}

bool frmSplashReports::askParameter(int which, QString& query)
{
    const StoredReport& r = gArrayReport[gCurrentReport];
    const QString kind = (which == 1 ? r.tipopar1 : r.tipopar2).Text();
    const QString prompt = QStringLiteral("Inserisci ") + (which == 1 ? r.promptpar1 : r.promptpar2).Text();
    const QString marker = QStringLiteral("P") + QString::number(which);
    auto refuse = [](const char* message) {
        MyMsgBox(QString::fromUtf8(message), vbExclamation, kTitle);
        return false;
    };

    if (kind == QLatin1String("DATAMESE")) {
        const auto answer = ask(prompt);
        if (!answer)
            return false;
        const auto first = ParseDate(QStringLiteral("01/") + answer->trimmed());
        if (!first)
            return refuse("Formato del mese non valido");
        PutDate(query, marker, *first);
    } else if (kind == QLatin1String("DATAPRECISA")) {
        const auto answer = ask(prompt);
        if (!answer)
            return false;
        const auto date = ParseDate(answer->trimmed());
        if (!date)
            return refuse(which == 1 ? "Formato data non valida" : "Formato della data non valido");
        PutDate(query, marker, *date);
    } else if (kind == QLatin1String("DUEDATEPRECISE") && which == 1) {
        const auto from = ask(QStringLiteral("Inserisci la data di partenza (GG/MM/AAAA)"));
        if (!from)
            return false;
        const auto start = ParseDate(from->trimmed());
        if (!start)
            return refuse("Formato data non valida");
        const auto to = ask(QStringLiteral("Inserisci la data di arrivo (GG/MM/AAAA)"));
        if (!to)
            return false;
        const auto end = ParseDate(to->trimmed());
        if (!end)
            return refuse("Formato data non valida");
        query.replace(QStringLiteral("[P1]"), FormattaData(*start), Qt::CaseSensitive);
        query.replace(QStringLiteral("[P1ARR]"), FormattaData(*end), Qt::CaseSensitive);
    } else if (kind == QLatin1String("STRINGA")) {
        const auto answer = ask(prompt);
        if (!answer)
            return false;
        query.replace(QStringLiteral("[") + marker + QStringLiteral("]"), SqlEscape(*answer), Qt::CaseSensitive);
    } else if (kind == QLatin1String("NUMERICO")) {
        const auto answer = ask(prompt);
        if (!answer)
            return false;
        const auto number = ParseNumber(answer->trimmed());
        if (!number)
            return refuse("Formato numerico non valido");
        // Written as SQL reads a number, whichever decimal separator the user typed.
        query.replace(QStringLiteral("[") + marker + QStringLiteral("]"), SqlNumber(*number), Qt::CaseSensitive);
    }
    // Any other kind asks nothing and leaves its markers.
    return true;
}

void frmSplashReports::cmdShowReport_Click(int Index)
{
    FormProc(*this, "cmdShowReport_Click", [&] {
        gCurrentReport = Index;
        StoredReport& report = gArrayReport[Index];
        const int parameters = report.numparametri.CInt();
        // The answers go into a copy: a refused one leaves the stored text with all its markers.
        QString query = report.sqlreport.Text();
        if (parameters > 0 && !askParameter(1, query))
            return;
        if (parameters > 1 && !askParameter(2, query))
            return;
        report.sqlreport = Variant(query);

        auto& grid = Forms::Instance<StoredReportGrid>();
        grid.Query = TextAfterSelect(query);
        grid.Title = report.titolo.Text();
        grid.Show(vbModal);
        PopolaArrayReport();
    });
}

void frmSplashReports::cmdClose_Click()
{
    FormProc(*this, "cmdClose_Click", [&] { UnloadAndRelease(*this); });
}

QString frmSplashReports::TextAfterSelect(const QString& storedQuery)
{
    const QString trimmed = storedQuery.trimmed();
    const QString select = QStringLiteral("select");
    if (trimmed.startsWith(select, Qt::CaseInsensitive) && (trimmed.size() == select.size() || trimmed[select.size()].isSpace()))
        return trimmed.mid(select.size());
    return QStringLiteral(" ") + trimmed;
}

} // namespace verbanto
