#pragma once
// The stored-report chooser: one button per report stored as SQL in table reportistica. A button
// asks the report's parameters by their kind, puts them into the query in place of its markers
// ("[P1]", "[P1+1M]", "[P1+1A]", "[P1ARR]", "[P2]", ...) and shows the rows in the result grid.
#include "mainwindow/frmReportistica.h"
#include "platform/Forms.h"
#include "platform/Variant.h"
#include <QString>
#include <array>
#include <optional>

namespace verbanto {

// One row of reportistica, as read (a Null value stays Null).
struct StoredReport {
    platform::Variant sqlreport, titolo, numparametri, tipopar1, tipopar2, promptpar1, promptpar2;
};
extern std::array<StoredReport, 36> gArrayReport;   // the reports in ordine order
extern int gMaxReport;                               // the highest slot with a button
extern int gCurrentReport;                           // the slot of the report being run, -1 none

// The result grid showing a chosen report instead of the upcoming deadlines.
class StoredReportGrid : public frmReportistica {
public:
    QString Query;     // the report's text after "SELECT"
    QString Title;     // shown after the program's name in the caption and on the printout

    using frmReportistica::FillGrid;
    void FillGrid() override;

protected:
    void OwnLoad() override;
    QString PrintSubtitle() override;
};

class frmSplashReports : public platform::Form {
public:
    frmSplashReports();
    void CreateControls() override;

    static constexpr int Buttons = 17;

    platform::SkinForm* OsenXPForm = nullptr;
    platform::Button* cmdShowReport[Buttons] = {};
    platform::Button* cmdClose = nullptr;

    // Reloads gArrayReport from the table.
    void PopolaArrayReport();

    void Form_Load() override;
    void cmdShowReport_Click(int Index);
    void cmdClose_Click();

    // The query text after "SELECT" of a stored report text (which may begin with SELECT itself).
    static QString TextAfterSelect(const QString& storedQuery);

private:
    // One parameter asked by its kind and put into the query; false when the user gave nothing
    // usable (an empty answer ends silently, a refused one after its message).
    bool askParameter(int which, QString& query);
    std::optional<QString> ask(const QString& prompt);
};

} // namespace verbanto
