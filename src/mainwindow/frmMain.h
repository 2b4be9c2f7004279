#pragma once
// The main window: loading it starts the system, unloading it (after the question) ends it.
// It holds the notification-area icon; the icon's popup menu lives on the hidden contact-type list.
#include "platform/Forms.h"
#include "platform/SysTrayIcon.h"
#include <QString>
#include <memory>

namespace verbanto {

class frmMain : public platform::Form {
public:
    frmMain();
    ~frmMain() override;
    void CreateControls() override;

    // The program's icon, shared by the window, the icon of the notification area and every skin form.
    static QString ProgramIcon();
    static constexpr const char* Title = "Gestione Verbanto 1.0";

    // Start-up: load, then show the window unless the command line asks for the icon only.
    void Start();
    bool StartedMinimized() const { return startMinimized_; }

    // Controls
    platform::Button* cmdVisualizaScadenze = nullptr;
    platform::Label* OsenXPLabel1 = nullptr;
    platform::Button* cmdAnagrafica = nullptr;
    platform::Button* cmdEsci = nullptr;
    platform::Button* cmdContiCorrenti = nullptr;
    platform::Button* cmdInfo = nullptr;
    platform::Button* cmdBackup = nullptr;
    platform::Button* cmdCambiaIntestazione = nullptr;
    platform::SkinForm* OsenXPForm1 = nullptr;

    std::unique_ptr<platform::SysTrayIcon> SysTray;

    // Public procedures
    void cmdEsci_Click();
    void cmdVisualizaScadenze_Click();
    void annullaWhere();
    void SysTray_RightButtonClick();
    void ShowSysTrayBaloon(const QString& cosa, const QString& titolo);
    void SysTray_LeftButtonDblClick();
    void SysTray_BalloonClick();
    // Brings the window back from the icon: normal state, shown modelessly, with the modal
    // window open over it in front.
    void RestoreWindow();

    // Rebuilds the upcoming deadlines and shows their count on the loaded main window: in the
    // caption of cmdVisualizaScadenze, and in the balloon when there is any.
    static void RefreshUpcomingCount();

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;

private:
    void cmdAnagrafica_Click();
    void cmdContiCorrenti_Click();
    void cmdCambiaIntestazione_Click();
    void cmdBackup_Click();
    void cmdInfo_Click();
    void hideBalloon();
    void SysTray_AreaGone();

    bool startMinimized_ = false;
    bool askingExit_ = false;
};

} // namespace verbanto
