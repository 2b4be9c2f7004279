#pragma once
// The result grid: the rows of any query, most often the upcoming deadlines ("SELECT" +
// gSqlEventi). Read-only: print, CSV export and close; amount columns are summed on a total line.
#include "platform/Variant.h"
#include "shared/ListForm.h"
#include <QString>
#include <vector>

namespace verbanto {

class frmReportistica : public ListForm {
public:
    frmReportistica();

    // The query text that follows "SELECT".
    void FillGrid(const platform::Variant& SqlReport);
    void FillGrid() override;                 // with gSqlEventi, as the load does

    // Nothing happens on a double click or a key.
    void MSFlexGrid1_DblClick() override {}
    void MSFlexGrid1_KeyDown(int& /*keyCode*/, int /*shift*/) override {}

    double& RecordId() override { return noRecord_; }   // the grid names no record

protected:
    void OwnLoad() override;
    QString PrintSubtitle() override;
    QString ListQuery() override;
    QString HeaderFor(const QString& columnName) override;
    void SetColumnWidths() override;
    bool TrapFillErrors() const override;

private:
    QString countedExpression() const;
    QString query_;
    std::vector<QString> columnNames_;
    double noRecord_ = 0;
};

} // namespace verbanto
