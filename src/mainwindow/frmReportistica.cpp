#include "mainwindow/frmReportistica.h"
#include "mainwindow/frmMain.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/WindowControls.h"

namespace verbanto {

namespace {
const QString kAmountColumns = QStringLiteral("*Import*");
const QString kHiddenColumns = QStringLiteral("*ID");

ListForm::Setup ReportSetup()
{
    ListForm::Setup s;
    s.caption = QString::fromLatin1(frmMain::Title);
    s.hasAdd = false;
    s.hasDelete = false;
    s.hasSelect = false;
    s.hasExport = true;
    s.addWhenEmpty = false;
    s.amountPattern = kAmountColumns;
    s.totalPrefix = QStringLiteral("Importo complessivo degli importi visualizzati: ");
    s.printTotal = true;
    return s;
}
} // namespace

frmReportistica::frmReportistica() : ListForm(QStringLiteral("frmReportistica"), ReportSetup()) {}

void frmReportistica::OwnLoad()
{
    // The grid opens over the main window, also when the system lived in its icon.
    if (platform::Forms::Exists<frmMain>() && platform::Forms::Instance<frmMain>().Loaded())
        platform::Forms::Instance<frmMain>().Show();
    OsenXPForm1->setCaption(OsenXPForm1->Caption() + QStringLiteral(" - Prossime scadenze"));
}

QString frmReportistica::PrintSubtitle() { return QStringLiteral("Gestione Verbanto - Prossime scadenze"); }

void frmReportistica::FillGrid() { FillGrid(platform::Variant(gSqlEventi)); }

void frmReportistica::FillGrid(const platform::Variant& SqlReport)
{
    query_ = QStringLiteral("SELECT") + SqlReport.Text();
    columnNames_.clear();
    if (lblTotaleImporti)
        lblTotaleImporti->setVisible(false);
    ListForm::FillGrid();
    // The total line only where the rows hold amounts.
    bool amounts = false;
    for (const QString& name : columnNames_)
        amounts = amounts || MatchesPattern(name, kAmountColumns);
    if (lblTotaleImporti)
        lblTotaleImporti->setVisible(amounts && MSFlexGrid1->Rows() > 1);
}

QString frmReportistica::ListQuery() { return query_; }

bool frmReportistica::TrapFillErrors() const { return gTrapErrors; }

// A computed column the database left unnamed is headed by the expression it counts.
QString frmReportistica::countedExpression() const
{
    const qsizetype start = query_.indexOf(QStringLiteral("COUNT("), 0, Qt::CaseInsensitive);
    if (start < 0)
        return QString();
    int depth = 0;
    for (qsizetype i = start + 5; i < query_.size(); ++i) {
        if (query_[i] == u'(')
            ++depth;
        else if (query_[i] == u')' && --depth == 0)
            return query_.mid(start, i - start + 1);
    }
    return QString();
}

QString frmReportistica::HeaderFor(const QString& columnName)
{
    columnNames_.push_back(columnName);
    if (columnName.isEmpty())
        return countedExpression();
    if (MatchesPattern(columnName, QStringLiteral("Expr100*")))
        return QStringLiteral("Count");
    if (MatchesPattern(columnName, QStringLiteral("AssegnoNote*")))
        return QStringLiteral("Note");
    return PutSpacesInLabels(columnName);
}

void frmReportistica::SetColumnWidths()
{
    ListForm::SetColumnWidths();
    // Id columns stay in the grid (and in the CSV) but out of sight.
    for (int c = 0; c < static_cast<int>(columnNames_.size()) && c < MSFlexGrid1->Cols(); ++c)
        if (MatchesPattern(columnNames_[c], kHiddenColumns))
            MSFlexGrid1->setColWidth(c, 0);
}

} // namespace verbanto
