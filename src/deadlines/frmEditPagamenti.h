#pragma once
// The deadline editor: contact, date, recurrence, description and notes of one deadline.
// Add mode when gNewRecord is set, else it edits frmPagamenti.mPagamentiID; in contact mode the
// contact is the one of the list and cannot be changed.
#include "shared/EditorForm.h"

namespace verbanto {

class frmEditPagamenti : public EditorForm {
public:
    frmEditPagamenti();

    platform::ComboBox* cboSocio = nullptr;
    platform::Frame* Frequenza = nullptr;
    platform::OptionButton* OsenXPOptionButton[6] = {};   // the recurrence codes 0 to 5
    platform::Label* lblSocio = nullptr;
    platform::DatePicker* txtDataPagamento = nullptr;
    platform::Button* cmdOggi = nullptr;
    platform::Label* lblDataPagamento = nullptr;
    platform::TextBox* txtCausale = nullptr;
    platform::Label* lblCausale = nullptr;
    platform::TextBox* txtNote = nullptr;
    platform::Label* lblNote = nullptr;

    long idDelSocio = -1;        // the contact chosen in cboSocio, -1 when none

    void LoadForm() override;
    void Form_Activate() override;
    void cboSocio_Change();
    void cboSocio_KeyUp(int keyCode);
    void txtDataPagamento_Validate(bool& cancel);
    void cmdOggi_Click();

    // The recurrence chosen: the index of the first selected option, -1 when none.
    int Recurrence() const;

protected:
    void CreateFormControls() override;
    std::vector<Check> Checks() override;
    QString InsertStatement() override;
    QString UpdateStatement() override;
    ListForm* List() override;
    void AfterSave() override;

private:
    QString contactValue() const;
    QString dateValue() const;
    QString recurrenceValue() const;
};

} // namespace verbanto
