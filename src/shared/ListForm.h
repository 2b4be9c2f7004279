#pragma once
// The grid list windows: what every list does (load, fill, column widths, header sort, row
// refresh, resize, commands, close) lives here once; each list gives only its own values
// (query, renames, cell rules, refusal checks, delete statements, print columns, subtitle)
// and the windows it opens.
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/SqlLite.h"
#include "platform/WebBrowser.h"
#include "shared/basMouseWheeleHooker.h"
#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace verbanto {

class ListForm : public platform::Form, public WheelReceiver {
public:
    // A list's own values.
    struct Setup {
        QString caption;                    // window and skin caption
        QString selectText;                 // the list query without where-clause and ordering
        QString orderBy;                    // appended after the where-clause
        QString* where = nullptr;           // the list's where-clause string (gWhere...)
        QString idColumn;                   // "PagamentiID": the id of the row refreshers
        QString table;                      // "Pagamenti": where the newest id is looked for
        QString rowKey;                     // "a.PagamentiID": the restriction of the row refreshers
        // Header renames by pattern, tried in order before the shared rule ("Cognome*" -> ...).
        std::vector<std::pair<QString, QString>> renames;
        // Delete: refusals tested in order before the question (table, column, message),
        // then the statements, each followed by the id.
        struct Refusal {
            QString table, column, message;
        };
        std::vector<Refusal> refusals;
        QStringList deleteStatements;
        bool refillAfterDelete = false;     // clear and refill after a delete
        std::vector<int> noPrintColumns;    // columns left out of the printout
        // Commands the window has ("Cerca" is captioned selectCaption).
        bool hasAdd = true, hasDelete = true, hasSelect = true, hasExport = false;
        QString selectCaption = QStringLiteral("Cerca");
        bool addWhenEmpty = true;           // an empty list opens its editor at once
        // Amounts: cells of columns matching amountPattern are summed and shown as
        // "1.234,50 €"; the total line reads totalPrefix + total + " €".
        QString amountPattern;
        QString totalPrefix;
        bool printTotal = false;
    };

    // Controls every list may have (those it lacks stay null).
    platform::SkinForm* OsenXPForm1 = nullptr;
    platform::FlexGrid* MSFlexGrid1 = nullptr;
    platform::Button* cmdAdd = nullptr;
    platform::Button* cmdDelete = nullptr;
    platform::Button* cmdSelect = nullptr;
    platform::Button* cmdPrintGrid = nullptr;
    platform::Button* cmdEsportaDati = nullptr;
    platform::Button* cmdClose = nullptr;
    platform::Label* lblTotaleImporti = nullptr;
    platform::WebBrowser* web = nullptr;

    // Public members of every list, in this order: the id variable (the form's own member,
    // reached here through RecordId), ClearGrid, FillGrid, UpdateGridRow, AddGridRow, MouseWheel.
    virtual double& RecordId() = 0;
    virtual void ClearGrid();
    virtual void FillGrid();
    virtual void UpdateGridRow();
    virtual void AddGridRow();
    void MouseWheel(long mouseKeys, long rotation, long xpos, long ypos) override;

    // Event handlers.
    void CreateControls() final;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    virtual void cmdAdd_Click();
    virtual void cmdDelete_Click();
    virtual void cmdSelect_Click();
    virtual void cmdPrintGrid_Click();
    virtual void cmdEsportaDati_Click();
    virtual void cmdClose_Click();
    virtual void MSFlexGrid1_DblClick();
    virtual void MSFlexGrid1_KeyDown(int& keyCode, int shift);
    virtual void MSFlexGrid1_MouseDown(int button, int shift, double x, double y);
    virtual void MSFlexGrid1_MouseUp(int button, int shift, double x, double y);
    virtual void MSFlexGrid1_SelChange();

    const Setup& Values() const { return setup_; }
    bool SortAscendingNext() const { return !sortFlag_; }

    // The width rule of a column from the widest text of its first rows (twips).
    static double ColumnWidthFor(double widestText);
    static constexpr double MinWidth = 6500;
    static constexpr double MinHeight = 4000;

protected:
    ListForm(const QString& name, Setup setup);

    // What a list adds to the shared behaviour; the defaults do the shared thing.
    virtual void CreateOwnControls() {}                  // buttons of its own, after the shared ones
    virtual void OwnLoad() {}                            // before the shared load steps
    virtual void ShowEditor() {}                         // its editor, modally
    virtual void ShowFilter() {}                         // its filter, modally
    virtual QString PrintSubtitle() { return QString(); }
    virtual QString ListQuery();                         // select + where-clause rule + ordering
    virtual QString RowQuery(double id);                 // the list query restricted to one record
    virtual QString HeaderFor(const QString& columnName);
    // A cell rule for a result column (null = the field's text as it is). A rule that fails
    // leaves the field's text.
    using CellRule = std::function<QString(const platform::Variant&)>;
    virtual CellRule CellRuleFor(const platform::Field& column);
    virtual void SetColumnWidths();
    virtual void AfterDelete() {}                        // after the grid lost the deleted row
    virtual bool TrapFillErrors() const { return true; } // report errors of the fill itself

    // Building blocks.
    // Adds a command button after the others (for a list's own buttons).
    platform::Button* AddCommand(const QString& name, const QString& caption, std::function<void()> handler);
    // Places the commands in rows within the width; gives the bottom of the last row (twips).
    double ArrangeCommands(double width);
    // Column 0 of the current row as a number.
    double CurrentRowId() const;
    // Appends the newest record as a last row and scrolls to it (AddGridRow without its trace).
    void AppendNewestRow();
    // After a delete: cuts the grid back to its header row, or removes the current row and
    // selects the whole row now in its place.
    void RemoveCurrentRow();
    // Whole-row selection of the current row.
    void SelectCurrentRow();
    // The total of the amount columns summed by the last fill.
    double Total() const { return total_; }
    QString TotalText() const;

    Setup setup_;

private:
    void fillRows(int columns);
    void closeFill();
    bool fillFailed_ = false;       // the last fill's query could not run: the grid is not the register
    bool sortFlag_ = false;         // True once a header click sorted ascending: the next sorts descending
    double total_ = 0;
    std::vector<platform::Button*> commands_;   // in their order along the rows
    std::vector<bool> amountColumns_;           // by grid column, as the last fill found them: sorted by value
};

} // namespace verbanto
