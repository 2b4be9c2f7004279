#pragma once
// The settings dialog: print heading, horizon of the reminders, start with the desktop session.
#include "platform/Forms.h"

namespace verbanto {

class frmEditSettings : public platform::Form {
public:
    frmEditSettings();
    void CreateControls() override;

    // The start with the session: a Run value of the current user (an autostart entry here).
    static constexpr const char* RunKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";
    static constexpr const char* RunValueName = "GestioneVerbanto1";
    static QString RunCommand();   // the program with "-minimized"

    platform::SkinForm* OsenXPForm1 = nullptr;
    platform::Label* lblDescrizione = nullptr;
    platform::TextBox* txtIntestazione = nullptr;
    platform::Label* lblBanca = nullptr;
    platform::TextBox* txtOrizzonteTemporale = nullptr;
    platform::CheckBox* chkAvvioAutomatico = nullptr;
    platform::Button* cmdOK = nullptr;
    platform::Button* cmdCancel = nullptr;

    void Form_Load() override;
    void Form_Activate() override;

private:
    void cmdOK_Click();
    void cmdCancel_Click();
};

} // namespace verbanto
