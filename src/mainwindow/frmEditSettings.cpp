#include "mainwindow/frmEditSettings.h"
#include "mainwindow/frmMain.h"
#include "platform/App.h"
#include "platform/FormLayout.h"
#include "platform/MsgBoxDialog.h"
#include "platform/System.h"
#include "platform/Variant.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/TracedProcedure.h"
#include <limits>

namespace verbanto {

namespace {
const QString kAppTitle = QStringLiteral("Gestione Verbanto");
const QString kNotFound = QStringLiteral("Not Found");

// Whether the occurrence engine can hold the horizon (a 16-bit whole number); a negative one
// is valid and gives an empty window.
bool horizonFits(const QString& text)
{
    try {
        platform::Variant(text).CInt();
        return true;
    } catch (const platform::VbError&) {
        return false;
    }
}
} // namespace

frmEditSettings::frmEditSettings() : Form(QStringLiteral("frmEditSettings")) {}

QString frmEditSettings::RunCommand() { return platform::App::ExePath() + QStringLiteral(" -minimized"); }

void frmEditSettings::CreateControls()
{
    using namespace platform;
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(QStringLiteral("Modifica impostazioni"));
    lblDescrizione = Add<Label>(QStringLiteral("lblDescrizione"), QStringLiteral("Intestazione"));
    txtIntestazione = Add<TextBox>(QStringLiteral("txtIntestazione"));
    lblBanca = Add<Label>(QStringLiteral("lblBanca"), QStringLiteral("Orizzonte temporale"));
    txtOrizzonteTemporale = Add<TextBox>(QStringLiteral("txtOrizzonteTemporale"));
    chkAvvioAutomatico = Add<CheckBox>(QStringLiteral("chkAvvioAutomatico"),
                                       QStringLiteral("Apri Gestione Verbanto 1.0 all'avvio del sistema"));
    cmdOK = Add<Button>(QStringLiteral("cmdOK"), QStringLiteral("Ok"));
    cmdOK->setDefault(true);
    cmdCancel = Add<Button>(QStringLiteral("cmdCancel"), QStringLiteral("Annulla"));
    cmdCancel->setCancel(true);

    using namespace layout;
    LayOut(*this, {{Labelled(lblDescrizione, {txtIntestazione}),
                    Labelled(lblBanca, {Sized(txtOrizzonteTemporale, 1200)}),
                    Wide({chkAvvioAutomatico})},
                   {cmdOK, cmdCancel},
                   4400});

    cmdOK->Click = [this] { cmdOK_Click(); };
    cmdCancel->Click = [this] { cmdCancel_Click(); };
}

void frmEditSettings::Form_Load()
{
    // A setting it could not read would show empty and be saved so: the dialog closes instead.
    LoadOrClose(*this, [this] {
        FormProc(*this, "Form_Load", [&] {
            CenterForm(*this);
            OpenDb();
            DisattivaTabstop(Controls());
            setCaption(QStringLiteral("Modifica impostazioni"));
            txtIntestazione->setText(getSetting(QStringLiteral("INTESTAZ")));
            txtOrizzonteTemporale->setText(getSetting(QStringLiteral("ORIZTEMP")));
            const QString run = ReadRegistry(platform::HKEY_CURRENT_USER, QString::fromLatin1(RunKey), QString::fromLatin1(RunValueName));
            chkAvvioAutomatico->setValue(run != kNotFound ? 1 : 0);
        });
    });
}

void frmEditSettings::Form_Activate()
{
    FormProc(*this, "Form_Activate", [&] {
        txtIntestazione->SetFocus();
        txtIntestazione->SendKey(platform::vbKeyEnd);
    });
}

void frmEditSettings::cmdOK_Click()
{
    FormProc(*this, "cmdOK_Click", [&] {
        const QString heading = txtIntestazione->Text();
        const QString horizon = txtOrizzonteTemporale->Text();
        if (heading.trimmed().isEmpty()) {
            MyMsgBox(QStringLiteral("Inserire l'intestazione"), platform::vbExclamation, kAppTitle);
            return;
        }
        if (horizon.trimmed().isEmpty()) {
            MyMsgBox(QStringLiteral("Inserire l'orizzonte temporale"), platform::vbExclamation, kAppTitle);
            return;
        }
        // A number the reminders can't hold is refused too: saved, every later count would fail.
        if (!platform::Variant(horizon).IsNumeric() || !horizonFits(horizon)) {
            MyMsgBox(QStringLiteral("L'orizzonte temporale deve essere un numero"), platform::vbExclamation, kAppTitle);
            return;
        }
        // A refused update ends the handler here, reported once: no success message, the dialog
        // stays open. What was saved before it stays saved; a second Ok completes the rest.
        gDbWrite({QStringLiteral("update settings set value='") + Pad(heading) + QStringLiteral("' where mnemocode='INTESTAZ'")});
        gDbWrite({QStringLiteral("update settings set value='") + Pad(horizon) + QStringLiteral("' where mnemocode='ORIZTEMP'")});
        const QString runKey = QString::fromLatin1(RunKey);
        const QString runName = QString::fromLatin1(RunValueName);
        if (chkAvvioAutomatico->Value() == 1)
            WriteRegistry(platform::HKEY_CURRENT_USER, runKey, runName, platform::REG_SZ, RunCommand());
        else
            DeleteValue(platform::HKEY_CURRENT_USER, runKey, runName);
        MyMsgBox(QStringLiteral("Impostazioni aggiornate con successo"), platform::vbInformation, kAppTitle);
        frmMain::RefreshUpcomingCount();
        UnloadAndRelease(*this);
    });
}

void frmEditSettings::cmdCancel_Click()
{
    FormProc(*this, "cmdCancel_Click", [&] {
        UnloadAndRelease(*this);
    });
}

} // namespace verbanto
