#include "shared/EditorForm.h"
#include "platform/MsgBoxDialog.h"
#include "shared/basGeneral.h"
#include "shared/basPrintPreview.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"
#include <QDateTime>

namespace verbanto {

using namespace platform;

EditorForm::EditorForm(const QString& name) : Form(name) {}

void EditorForm::CreateControls()
{
    CreateFormControls();
    OnClick(cmdOK, [this] { cmdOK_Click(); });
    OnClick(cmdCancel, [this] { cmdCancel_Click(); });
    OnClick(cmdPrint, [this] { cmdPrint_Click(); });
}

void EditorForm::Form_Load() { LoadOrClose(*this, [this] { LoadForm(); }); }

void EditorForm::AddCommands(const QString& printCaption)
{
    cmdOK = Add<Button>(QStringLiteral("cmdOK"), QStringLiteral("Ok"));
    cmdOK->setDefault(true);
    cmdCancel = Add<Button>(QStringLiteral("cmdCancel"), QStringLiteral("Annulla"));
    cmdCancel->setCancel(true);
    // Leaving is always possible, whatever a field holds.
    cmdCancel->setCausesValidation(false);
    cmdPrint = Add<Button>(QStringLiteral("cmdPrint"), printCaption);
    web = Add<WebBrowser>(QStringLiteral("web"));
}

void EditorForm::Arrange(layout::Lines lines, double fieldWidth)
{
    layout::LayOut(*this, {std::move(lines), {cmdOK, cmdCancel, cmdPrint}, fieldWidth});
}

// ---------------------------------------------------------------------------------------------
// SQL text

QString EditorForm::TextValue(const QString& text) { return SqlTextOrNull(WithoutNul(text).trimmed()); }

QString EditorForm::DateValue(const QDate& date) { return SqlDate(date); }

QString EditorForm::DateValue(const DatePicker& picker, const QString& column)
{
    return picker.KeptStoredText() ? column : SqlDate(picker.Value());
}

QString EditorForm::Timestamp() { return SqlDateTime(QDateTime::currentDateTime()); }

QString EditorForm::InsertSql(const QString& head, const QStringList& values)
{
    return head + values.join(QStringLiteral(",  ")) + QStringLiteral(") ");
}

QString EditorForm::UpdateSql(const QString& table, const std::vector<std::pair<QString, QString>>& parts,
                              const QString& idColumn, double id)
{
    QString sql = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ");
    for (const auto& [column, value] : parts)
        sql += column + QStringLiteral(" = ") + value + QStringLiteral(",  ");
    return sql + QStringLiteral("DateTimeLastUpdated = ") + Timestamp() + QStringLiteral(" WHERE ") + idColumn +
           QStringLiteral(" = ") + SqlNumber(id) + QStringLiteral(" ");
}

bool EditorForm::IsDate(const DatePicker& picker) { return picker.HoldsDate(); }

// ---------------------------------------------------------------------------------------------
// Combos

void EditorForm::ComboChange(const ComboBox& combo, long& chosenId)
{
    if (combo.ListIndex() != -1)
        chosenId = combo.ItemData(combo.ListIndex());
}

void EditorForm::ComboKeyUp(ComboBox& combo, int keyCode)
{
    if (!combo.Enabled() || combo.Locked())
        return;
    if (keyCode == vbKeyEnd && combo.ListCount() > 0)
        combo.setListIndex(combo.ListCount() - 1);
    else if (keyCode == vbKeyHome && combo.ListCount() > 0)
        combo.setListIndex(0);
}

// ---------------------------------------------------------------------------------------------
// Commands

void EditorForm::cmdOK_Click()
{
    FormProc(*this, "cmdOK_Click", [&] {
        for (const Check& check : Checks())
            if (check.fails()) {
                MyMsgBox(check.message, vbExclamation, QStringLiteral("Gestione Verbanto"));
                return;
            }
        OpenDb();
        const bool adding = gNewRecord;
        // A refused statement ends the handler here, reported once: the dialog stays open with
        // the input as typed and the list as it was.
        gDbWrite(QStringList{adding ? InsertStatement() : UpdateStatement()});
        if (ListForm* list = List()) {
            if (!adding)
                list->UpdateGridRow();
            else if (list->MSFlexGrid1->Rows() == 1)
                list->FillGrid();
            else
                list->AddGridRow();
            if (refillListAfterSave_) {
                list->ClearGrid();
                list->FillGrid();
            }
        }
        // The record is saved: whatever fails now is reported, and the dialog still closes,
        // so that a second Ok cannot write it twice.
        try {
            AfterSave();
        } catch (...) {
            long number;
            QString description;
            CurrentError(&number, &description);
            ShowStandardError(number, description, QStringLiteral("cmdOK_Click"), Name, true);
        }
        UnloadAndRelease(*this);
    });
}

void EditorForm::cmdCancel_Click()
{
    FormProc(*this, "cmdCancel_Click", [&] { UnloadAndRelease(*this); });
}

void EditorForm::cmdPrint_Click()
{
    FormProc(*this, "cmdPrint_Click", [&] { printThisForm(*this, *web); });
}

} // namespace verbanto
