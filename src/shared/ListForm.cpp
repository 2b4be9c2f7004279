#include "shared/ListForm.h"
#include "mainwindow/frmMain.h"
#include "platform/Italian.h"
#include "platform/MsgBoxDialog.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCsv.h"
#include "shared/basGeneralCustom.h"
#include "shared/basGeneralCustomSort.h"
#include "shared/basPrintPreview.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"
#include <algorithm>
#include <cmath>

namespace verbanto {

using namespace platform;

namespace {
const QString kTitle = QStringLiteral("Gestione Verbanto");
const QString kIdHeader = QStringLiteral("IDFIELD");

// Layout of a list window, in twips: rows of commands above the grid.
constexpr double kMargin = 120;
constexpr double kButtonWidth = 1500;
constexpr double kButtonHeight = 420;
constexpr double kDesignWidth = 12000;
constexpr double kDesignHeight = 7800;

double RoundEven(double v) { return std::nearbyint(v); }   // the default rounding: halves to even
} // namespace

ListForm::ListForm(const QString& name, Setup setup) : Form(name), setup_(std::move(setup))
{
    setDesignSize(kDesignWidth, kDesignHeight);
    setMinimumSize(MinWidth, MinHeight);
    setTitleButtons(true, true);   // a list window can be minimised, maximised and resized
}

// ---------------------------------------------------------------------------------------------
// Design

Button* ListForm::AddCommand(const QString& name, const QString& caption, std::function<void()> handler)
{
    Button* b = Add<Button>(name, caption);
    // A caption never gets cut: the button grows to hold it.
    QString shown = caption;
    shown.remove(QLatin1Char('&'));
    b->Move(kMargin, kMargin, std::max(kButtonWidth, TextWidth(shown) + 450), kButtonHeight);
    b->Click = std::move(handler);
    commands_.push_back(b);
    return b;
}

double ListForm::ArrangeCommands(double width)
{
    double left = kMargin, top = kMargin;
    for (Button* b : commands_) {
        // A command that would pass the right edge starts a new row.
        if (left > kMargin && left + b->Width() > width - kMargin) {
            left = kMargin;
            top += kButtonHeight + kMargin;
        }
        b->Move(left, top);
        left += b->Width() + kMargin;
    }
    return top + kButtonHeight + kMargin;
}

void ListForm::CreateControls()
{
    commands_.clear();
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(setup_.caption);
    setCaption(setup_.caption);

    MSFlexGrid1 = Add<FlexGrid>(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setRows(1);   // nothing shown before the first fill, not an empty row
    MSFlexGrid1->DblClick = [this] { MSFlexGrid1_DblClick(); };
    MSFlexGrid1->KeyDown = [this](int& key, int shift) { MSFlexGrid1_KeyDown(key, shift); };
    MSFlexGrid1->MouseDown = [this](int b, int s, double x, double y) { MSFlexGrid1_MouseDown(b, s, x, y); };
    MSFlexGrid1->MouseUp = [this](int b, int s, double x, double y) { MSFlexGrid1_MouseUp(b, s, x, y); };
    MSFlexGrid1->SelChange = [this] { MSFlexGrid1_SelChange(); };

    cmdAdd = setup_.hasAdd ? AddCommand(QStringLiteral("cmdAdd"), QStringLiteral("Aggiungi"), [this] { cmdAdd_Click(); }) : nullptr;
    cmdDelete = setup_.hasDelete ? AddCommand(QStringLiteral("cmdDelete"), QStringLiteral("Elimina"), [this] { cmdDelete_Click(); }) : nullptr;
    cmdSelect = setup_.hasSelect ? AddCommand(QStringLiteral("cmdSelect"), setup_.selectCaption, [this] { cmdSelect_Click(); }) : nullptr;
    cmdPrintGrid = AddCommand(QStringLiteral("cmdPrintGrid"), QStringLiteral("Stampa"), [this] { cmdPrintGrid_Click(); });
    cmdEsportaDati = setup_.hasExport ? AddCommand(QStringLiteral("cmdEsportaDati"), QStringLiteral("Esporta CSV"), [this] { cmdEsportaDati_Click(); }) : nullptr;
    CreateOwnControls();
    cmdClose = AddCommand(QStringLiteral("cmdClose"), QStringLiteral("Esci"), [this] { cmdClose_Click(); });
    const double gridTop = ArrangeCommands(kDesignWidth);
    MSFlexGrid1->Move(kMargin, gridTop, kDesignWidth - 2 * kMargin, kDesignHeight - 1.5 * gridTop);

    lblTotaleImporti = nullptr;
    if (!setup_.totalPrefix.isEmpty()) {
        lblTotaleImporti = Add<Label>(QStringLiteral("lblTotaleImporti"), QStringLiteral("Importo Totale"));
        QFont bold = lblTotaleImporti->Font();
        bold.setBold(true);
        lblTotaleImporti->setFont(bold);
        lblTotaleImporti->Move(kMargin, kDesignHeight - 500, kDesignWidth - 2 * kMargin, 300);
    }
    web = Add<WebBrowser>(QStringLiteral("web"));
}

// ---------------------------------------------------------------------------------------------
// Load, resize, unload

void ListForm::Form_Load()
{
    FormProc(*this, "Form_Load", [&] {
        OwnLoad();
        DisattivaTabstop(Controls());
        WheelHook(*this);
        CenterForm(*this);
        FillGrid();
        // An empty register opens its editor before the list is first seen.
        if (setup_.addWhenEmpty && cmdAdd && !fillFailed_ && MSFlexGrid1->Rows() == 1)
            cmdAdd_Click();
    });
}

void ListForm::Form_Resize()
{
    FormProc(*this, "Form_Resize", [&] {
        if (WindowState() == vbMinimized)
            return;
        if (Width() < MinWidth)
            setWidth(MinWidth);
        if (Height() < MinHeight)
            setHeight(MinHeight);
        FlexGrid& g = *MSFlexGrid1;
        // The commands take as many rows as the width needs; the grid starts under them.
        g.setTop(ArrangeCommands(ScaleWidth()));
        g.Move(g.Left(), g.Top(), ScaleWidth() - 2 * g.Left(), ScaleHeight() - 1.5 * g.Top());
        if (lblTotaleImporti)
            lblTotaleImporti->setTop(Height() - 500);
    });
}

void ListForm::Form_Unload(int& /*cancel*/) { WheelUnhook(*this); }

void ListForm::MouseWheel(long mouseKeys, long rotation, long xpos, long ypos)
{
    for (Control* c : Controls())
        if (auto* grid = dynamic_cast<FlexGrid*>(c); grid && IsOver(c->hWnd(), xpos, ypos))
            FlexGridScroll(*grid, mouseKeys, rotation, xpos, ypos);
}

// ---------------------------------------------------------------------------------------------
// Fill

QString ListForm::ListQuery()
{
    QString sql = setup_.selectText;
    const QString where = setup_.where ? *setup_.where : QString();
    if (!where.isEmpty()) {
        if (sql.contains(QStringLiteral(" WHERE "), Qt::CaseInsensitive))
            sql += QStringLiteral(" AND (") + where + QStringLiteral(")");
        else
            sql += QStringLiteral(" WHERE ") + where;
    }
    return sql + setup_.orderBy;
}

QString ListForm::RowQuery(double id)
{
    const bool hasWhere = setup_.selectText.contains(QStringLiteral(" WHERE "), Qt::CaseInsensitive);
    return setup_.selectText + (hasWhere ? QStringLiteral("AND ") : QStringLiteral("WHERE ")) + setup_.rowKey +
           QStringLiteral(" = ") + SqlNumber(id) + QStringLiteral(" ");
}

QString ListForm::HeaderFor(const QString& columnName)
{
    for (const auto& [pattern, header] : setup_.renames)
        if (MatchesPattern(columnName, pattern))
            return header;
    if (columnName.endsWith(QStringLiteral("ID")))
        return kIdHeader;
    return PutSpacesInLabels(columnName);
}

ListForm::CellRule ListForm::CellRuleFor(const Field& column)
{
    if (!setup_.amountPattern.isEmpty() && MatchesPattern(column.Name(), setup_.amountPattern))
        return [this](const Variant& v) {
            const double amount = v.CDbl();
            total_ += amount;
            return FormatNumber(amount, 2) + QStringLiteral(" €");
        };
    if (isBooleanField(column))
        return [](const Variant& v) { return BooleanToString(v); };
    return {};
}

double ListForm::ColumnWidthFor(double widestText)
{
    double w = RoundEven(widestText);
    if (w > 8000)
        w = 8000;
    else if (w < 6000)
        w = RoundEven(w + (1 - w / 6000) * 500);
    if (w < 600)
        w = 600;
    return w;
}

void ListForm::SetColumnWidths()
{
    FlexGrid& g = *MSFlexGrid1;
    const int lastRow = std::min(g.Rows() - 1, 60);
    for (int c = 0; c < g.Cols(); ++c) {
        ResumeNext([&] {
            if (g.TextMatrix(0, c) == kIdHeader) {
                g.setColWidth(c, 0);
                return;
            }
            double widest = 0;
            for (int r = 0; r <= lastRow; ++r)
                widest = std::max(widest, RoundEven(g.TextWidth(g.TextMatrix(r, c))));
            g.setColWidth(c, ColumnWidthFor(widest));
        });
    }
}

void ListForm::FillGrid()
{
    traceProcedure(Name, QStringLiteral("FillGrid"));
    FlexGrid& g = *MSFlexGrid1;
    try {
        Screen::setMousePointer(11);
        fillFailed_ = true;
        OpenDb();
        // A query that can't run leaves the grid as it was, and is reported once, here.
        gRsRead(ListQuery());
        total_ = 0;
        g.setRows(1);
        fillFailed_ = false;
        if (gRs->EOF_()) {
            g.setColWidth(0, 1000);
            g.setTextMatrix(0, 0, QStringLiteral("0 Records"));
        } else {
            const int columns = gRs->FieldCount();
            g.setCols(columns);
            amountColumns_.assign(static_cast<size_t>(columns), false);
            for (int i = 0; i < columns; ++i) {
                const QString name = gRs->Fields(i).Name();
                g.setTextMatrix(0, i, HeaderFor(name));
                amountColumns_[static_cast<size_t>(i)] =
                    !setup_.amountPattern.isEmpty() && MatchesPattern(name, setup_.amountPattern);
            }
            fillRows(columns);
        }
    } catch (...) {
        // A query that could not run leaves the grid as it was; a fill cut short is closed.
        if (fillFailed_) {
            ResumeNext([] { ResetRs(); });
            Screen::setMousePointer(0);
        } else {
            closeFill();
        }
        if (!TrapFillErrors())
            throw;
        long number;
        QString description;
        CurrentError(&number, &description);
        ShowStandardError(number, description, QStringLiteral("FillGrid"), Name, true);
        return;
    }
    closeFill();
}

// From the first cell on, a failing step is passed over and the fill goes on.
void ListForm::fillRows(int columns)
{
    FlexGrid& g = *MSFlexGrid1;
    std::vector<CellRule> rules(columns);
    for (int i = 0; i < columns; ++i)
        rules[i] = CellRuleFor(gRs->Fields(i));
    // A cell without a rule goes from the database to the grid as UTF-8, with no value made;
    // the text a rule makes is held here until its row is in.
    std::vector<std::string_view> cells(columns);
    std::vector<std::string> ruled(columns);
    const Recordset& rs = *gRs;
    for (;;) {
        bool more = false;
        ResumeNext([&] { more = !rs.EOF_(); });
        if (!more)
            break;
        for (int i = 0; i < columns; ++i) {
            cells[i] = {};
            if (!rules[i]) {
                ResumeNext([&] { cells[i] = rs.fieldUtf8(i); });
                continue;
            }
            Variant value;
            ResumeNext([&] { value = rs.fieldValue(i); });
            QString text;
            bool done = false;
            ResumeNext([&] {
                text = rules[i](value);
                done = true;
            });
            if (!done)   // a rule that fails leaves the field's text
                text = value.Text();
            cells[i] = Utf8Into(text, ruled[i]);
        }
        ResumeNext([&] { g.AppendRow(cells.data(), cells.size()); });
        bool moved = false;
        ResumeNext([&] {
            gRs->MoveNext();
            moved = true;
        });
        if (!moved)
            break;
    }
    // The main window measures cell texts in the grid's font.
    ResumeNext([&] {
        if (frmMain* main = LoadedInstance<frmMain>())
            main->setFont(g.Font());
    });
    ResumeNext([&] { SetColumnWidths(); });
}

void ListForm::closeFill()
{
    ResumeNext([] { gRs->Close(); });
    ResumeNext([] { ResetRs(); });
    ResumeNext([] { CloseDb(); });
    ResumeNext([&] {
        if (lblTotaleImporti)
            lblTotaleImporti->setCaption(TotalText());
    });
    Screen::setMousePointer(0);
    ResumeNext([&] { MSFlexGrid1->setRow(0); });
}

QString ListForm::TotalText() const
{
    return setup_.totalPrefix + FormatNumber(total_, 2) + QStringLiteral(" €");
}

void ListForm::ClearGrid()
{
    FormProc(*this, "ClearGrid", [&] { MSFlexGrid1->Clear(); });
}

// ---------------------------------------------------------------------------------------------
// Row refresh (the editors call these; the connection is open already)

void ListForm::UpdateGridRow()
{
    FormProc(*this, "UpdateGridRow", [&] {
        FlexGrid& g = *MSFlexGrid1;
        ResetRs();
        gRsOpen(RowQuery(RecordId()));
        if (!gRs->EOF_()) {
            const int row = g.Row();
            const int last = std::min(gRs->FieldCount(), g.Cols());
            for (int i = 1; i < last; ++i)
                g.setTextMatrix(row, i, gRs->fieldValue(i).Text());
        }
        gRs->Close();
        ResetRs();
    });
}

void ListForm::AddGridRow()
{
    FormProc(*this, "AddGridRow", [&] { AppendNewestRow(); });
}

void ListForm::AppendNewestRow()
{
    FlexGrid& g = *MSFlexGrid1;
    ResetRs();
    gRsOpen(QStringLiteral("SELECT MAX(") + setup_.idColumn + QStringLiteral(") FROM ") + setup_.table + QStringLiteral(" "));
    if (!gRs->EOF_())
        RecordId() = gRs->Fields(0).Value().CDbl();
    gRs->Close();
    ResetRs();
    gRsOpen(RowQuery(RecordId()));
    if (!gRs->EOF_()) {
        const int columns = gRs->FieldCount();
        std::vector<QString> cells(columns);
        for (int i = 0; i < columns; ++i)
            cells[i] = gRs->fieldValue(i).Text();
        g.setCols(columns);
        g.AppendRow(cells);
    }
    gRs->Close();
    ResetRs();
    // Bring the new last row into view.
    const double v = g.Rows() - g.Height() / g.RowHeight(0) + 3;
    if (v > 0)
        g.setTopRow(std::min(static_cast<int>(RoundEven(v)), g.Rows() - 1));
    else if (g.Rows() >= 2)
        g.setTopRow(1);
}

// ---------------------------------------------------------------------------------------------
// Grid mouse and keys

double ListForm::CurrentRowId() const
{
    return Val(MSFlexGrid1->TextMatrix(MSFlexGrid1->Row(), 0));
}

void ListForm::SelectCurrentRow()
{
    FlexGrid& g = *MSFlexGrid1;
    g.setRowSel(g.Row());
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
}

void ListForm::MSFlexGrid1_MouseDown(int /*button*/, int /*shift*/, double /*x*/, double y)
{
    FormProc(*this, "MSFlexGrid1_MouseDown", [&] {
        FlexGrid& g = *MSFlexGrid1;
        if (g.Rows() < 2)
            return;
        if (g.Row() <= 1 && y < g.RowHeight(1)) {
            // A press on the header row sorts by that column: ascending, then descending.
            // Dates sort by date and amounts by value; the rest by the grid's own generic sort.
            const int col = g.Col();
            const bool byDate = MatchesPattern(g.TextMatrix(0, col), QStringLiteral("Data*"));
            const bool byAmount = col < static_cast<int>(amountColumns_.size()) && amountColumns_[static_cast<size_t>(col)];
            const int order = sortFlag_ ? 4 : 3;
            if (byDate)
                sortGridByDate(g, col, order);
            else if (byAmount)
                sortGridByAmount(g, col, order);
            else
                g.Sort(sortFlag_ ? flexSortGenericDescending : flexSortGenericAscending);
            sortFlag_ = !sortFlag_;
        }
        gGridLeftCol = g.LeftCol();
        gLastMouseDownY = y;
    });
}

void ListForm::MSFlexGrid1_MouseUp(int /*button*/, int /*shift*/, double /*x*/, double /*y*/)
{
    FormProc(*this, "MSFlexGrid1_MouseUp", [&] {
        if (MSFlexGrid1->Rows() < 2)
            return;
        SelectCurrentRow();
        MSFlexGrid1->setLeftCol(static_cast<int>(RoundEven(gGridLeftCol)));
    });
}

void ListForm::MSFlexGrid1_SelChange()
{
    FormProc(*this, "MSFlexGrid1_SelChange", [&] {
        if (MSFlexGrid1->Rows() >= 2)
            SelectCurrentRow();
    });
}

void ListForm::MSFlexGrid1_DblClick()
{
    FormProc(*this, "MSFlexGrid1_DblClick", [&] {
        FlexGrid& g = *MSFlexGrid1;
        if (g.Rows() < 2)
            return;
        if (g.Row() <= 1 && gLastMouseDownY < g.RowHeight(1))
            return;   // a double click on the header row
        gNewRecord = false;
        RecordId() = CurrentRowId();
        ShowEditor();
    });
}

void ListForm::MSFlexGrid1_KeyDown(int& keyCode, int /*shift*/)
{
    FormProc(*this, "MSFlexGrid1_KeyDown", [&] {
        if (keyCode == vbKeyDelete)
            cmdDelete_Click();
    });
}

// ---------------------------------------------------------------------------------------------
// Commands

void ListForm::cmdAdd_Click()
{
    FormProc(*this, "cmdAdd_Click", [&] {
        gNewRecord = true;
        ShowEditor();
    });
}

void ListForm::cmdSelect_Click()
{
    FormProc(*this, "cmdSelect_Click", [&] {
        gNewRecord = true;
        ShowFilter();
    });
}

void ListForm::RemoveCurrentRow()
{
    FlexGrid& g = *MSFlexGrid1;
    if (g.Rows() == 2) {
        g.setRows(1);
        return;
    }
    g.RemoveItem(g.Row());
    g.SetFocus();
    if (g.Row() <= g.Rows() - 1)
        SelectCurrentRow();
}

void ListForm::cmdDelete_Click()
{
    FormProc(*this, "cmdDelete_Click", [&] {
        FlexGrid& g = *MSFlexGrid1;
        if (g.Row() == 0 || g.Rows() == 1)
            return;
        RecordId() = CurrentRowId();
        const QString id = SqlNumber(RecordId());
        OpenDb();
        // A check that cannot run stops the delete too: reported once, nothing asked or deleted.
        for (const auto& refusal : setup_.refusals)
            if (RecordExists(refusal.table, refusal.column, id, QStringLiteral("N"))) {
                MyMsgBox(refusal.message, vbExclamation, kTitle);
                return;
            }
        if (MyMsgBox(QStringLiteral("Sei sicuro di voler eliminare il record?"), vbYesNo, kTitle) != vbYes)
            return;
        OpenDb();
        QStringList statements;
        for (const QString& statement : setup_.deleteStatements)
            statements << statement + id;
        // The record and the rows that belong to it go together, or nothing goes. A refusal
        // ends the handler here, reported once: nothing was deleted, and the grid still shows it.
        gDbWrite(statements);
        RemoveCurrentRow();
        if (setup_.refillAfterDelete) {
            ClearGrid();
            FillGrid();
        }
        AfterDelete();
    });
}

void ListForm::cmdPrintGrid_Click()
{
    FormProc(*this, "cmdPrintGrid_Click", [&] {
        int i = 1;
        for (int column : setup_.noPrintColumns)
            gNoPrintColumns[i++] = column;
        gNoPrintColumns[i] = -1;
        initPrintPreview(*web);
        printWebSubtitle(*web, PrintSubtitle());
        printWebGrid(*MSFlexGrid1, *web);
        if (setup_.printTotal && lblTotaleImporti && lblTotaleImporti->Visible())
            printString(lblTotaleImporti->Caption(), *web);
        endPrintPreview(*web);
        goPrintPreview(*web);
    });
}

void ListForm::cmdEsportaDati_Click() { esportaCSV(*MSFlexGrid1); }

void ListForm::cmdClose_Click()
{
    FormProc(*this, "cmdClose_Click", [&] { UnloadAndRelease(*this); });
}

} // namespace verbanto
