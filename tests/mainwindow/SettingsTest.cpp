// The settings dialog, opened from the main window as the user opens it.
#include "MainWindowFixture.h"
#include "mainwindow/frmEditSettings.h"
#include "platform/System.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include <QFile>

using namespace verbanto;

namespace {

class SettingsTest : public MainWindowTest {
protected:
    QString RunValue()
    {
        return ReadRegistry(platform::HKEY_CURRENT_USER, QString::fromLatin1(frmEditSettings::RunKey),
                            QString::fromLatin1(frmEditSettings::RunValueName));
    }
    void OpenSettings(std::function<void(frmEditSettings&)> driver)
    {
        ExpectModal<frmEditSettings>(std::move(driver));
        Main().cmdCambiaIntestazione->PerformClick();
    }
    // Presses OK and gives the message it showed.
    QString PressOk(frmEditSettings& f)
    {
        const size_t before = Messages().size();
        f.cmdOK->PerformClick();
        return Messages().size() > before ? LastMessage() : QString();
    }
};

TEST_F(SettingsTest, ValidationKeepsTheDialogOpenThenOkSavesAndRecounts)
{
    Deadline(Today().addDays(-5), 1);
    Start();
    ASSERT_EQ(CountCaption(), QStringLiteral("Visualizza Prossime Scadenze (31)"));
    OpenSettings([&](frmEditSettings& f) {
        EXPECT_EQ(f.Caption(), QStringLiteral("Modifica impostazioni"));
        EXPECT_EQ(f.txtIntestazione->Text(), QStringLiteral("Verbanto"));
        EXPECT_EQ(f.txtOrizzonteTemporale->Text(), QStringLiteral("30"));
        EXPECT_EQ(f.chkAvvioAutomatico->Value(), 0);
        // The caret stands after the heading.
        EXPECT_TRUE(f.txtIntestazione->HasFocus());
        EXPECT_EQ(f.txtIntestazione->SelStart(), 8);

        f.txtIntestazione->setText(QStringLiteral("   "));
        EXPECT_EQ(PressOk(f), QStringLiteral("Inserire l'intestazione"));
        f.txtIntestazione->setText(QStringLiteral("L'ufficio"));
        f.txtOrizzonteTemporale->setText(QStringLiteral("  "));
        EXPECT_EQ(PressOk(f), QStringLiteral("Inserire l'orizzonte temporale"));
        f.txtOrizzonteTemporale->setText(QStringLiteral("abc"));
        EXPECT_EQ(PressOk(f), QStringLiteral("L'orizzonte temporale deve essere un numero"));
        EXPECT_EQ(Messages().back().style, platform::vbExclamation);
        // A horizon the reminders can't hold is not saved.
        f.txtOrizzonteTemporale->setText(QStringLiteral("40000"));
        EXPECT_EQ(PressOk(f), QStringLiteral("L'orizzonte temporale deve essere un numero"));
        f.txtOrizzonteTemporale->setText(QStringLiteral("-32769"));
        EXPECT_EQ(PressOk(f), QStringLiteral("L'orizzonte temporale deve essere un numero"));
        EXPECT_TRUE(f.Loaded());
        EXPECT_EQ(getSetting(QStringLiteral("ORIZTEMP")), QStringLiteral("30"));

        f.txtOrizzonteTemporale->setText(QStringLiteral(" 10 "));
        f.chkAvvioAutomatico->PerformClick();
        EXPECT_EQ(PressOk(f), QStringLiteral("Impostazioni aggiornate con successo"));
        EXPECT_EQ(Messages().back().style, platform::vbInformation);
        EXPECT_FALSE(f.Loaded());
    });
    EXPECT_FALSE(platform::Forms::Exists<frmEditSettings>());
    EXPECT_EQ(getSetting(QStringLiteral("INTESTAZ")), QStringLiteral("L'ufficio"));
    EXPECT_EQ(getSetting(QStringLiteral("ORIZTEMP")), QStringLiteral(" 10 "));
    // The count follows the new horizon at once, with its balloon.
    EXPECT_EQ(CountCaption(), QStringLiteral("Visualizza Prossime Scadenze (11)"));
    EXPECT_EQ(platform::Script::Of(QStringLiteral("balloon")).back().prompt, BalloonText(11));
    // The start with the session: an autostart entry that starts the program minimised.
    EXPECT_EQ(RunValue(), frmEditSettings::RunCommand());
    EXPECT_TRUE(RunValue().endsWith(QStringLiteral(" -minimized")));
    EXPECT_TRUE(QFile::exists(platform::Registry::AutostartFile(QString::fromLatin1(frmEditSettings::RunValueName))));
}

TEST_F(SettingsTest, ANegativeHorizonIsSavedAndGivesNoReminders)
{
    Deadline(Today().addDays(-5), 1);
    Start();
    const size_t balloons = platform::Script::Of(QStringLiteral("balloon")).size();
    OpenSettings([&](frmEditSettings& f) {
        f.txtOrizzonteTemporale->setText(QStringLiteral("-32768"));
        EXPECT_EQ(PressOk(f), QStringLiteral("Impostazioni aggiornate con successo"));
        EXPECT_FALSE(f.Loaded());
    });
    EXPECT_EQ(getSetting(QStringLiteral("ORIZTEMP")), QStringLiteral("-32768"));
    EXPECT_EQ(CountCaption(), QStringLiteral("Visualizza Prossime Scadenze (0)"));
    EXPECT_EQ(platform::Script::Of(QStringLiteral("balloon")).size(), balloons);
    for (const auto& m : Messages())
        EXPECT_FALSE(m.prompt.startsWith(QStringLiteral("Error"))) << m.prompt.toStdString();
}

TEST_F(SettingsTest, AnOldRunValueShowsTickedAndUntickingRemovesIt)
{
    WriteRegistry(platform::HKEY_CURRENT_USER, QString::fromLatin1(frmEditSettings::RunKey),
                  QString::fromLatin1(frmEditSettings::RunValueName), platform::REG_SZ, QStringLiteral("/opt/vecchia/GestioneVerbanto -minimized"));
    Start();
    OpenSettings([&](frmEditSettings& f) {
        EXPECT_EQ(f.chkAvvioAutomatico->Value(), 1);
        EXPECT_EQ(PressOk(f), QStringLiteral("Impostazioni aggiornate con successo"));
    });
    // OK rewrites it with this program.
    EXPECT_EQ(RunValue(), frmEditSettings::RunCommand());
    OpenSettings([&](frmEditSettings& f) {
        EXPECT_EQ(f.chkAvvioAutomatico->Value(), 1);
        f.chkAvvioAutomatico->PerformClick();
        EXPECT_EQ(PressOk(f), QStringLiteral("Impostazioni aggiornate con successo"));
    });
    EXPECT_EQ(RunValue(), QStringLiteral("Not Found"));
}

TEST_F(SettingsTest, ARefusedUpdateIsNotReportedAsSaved)
{
    Deadline(Today(), 1);
    Start();
    const size_t balloons = platform::Script::Of(QStringLiteral("balloon")).size();
    Sql(QStringLiteral("create trigger nohorizon before update on settings when new.mnemocode='ORIZTEMP' "
                       "begin select raise(abort, 'bloccato'); end"));
    OpenSettings([&](frmEditSettings& f) {
        f.txtIntestazione->setText(QStringLiteral("Studio"));
        f.txtOrizzonteTemporale->setText(QStringLiteral("5"));
        const QString shown = PressOk(f);
        EXPECT_EQ(shown, QStringLiteral("Error 19 (bloccato) in procedure cmdOK_Click of Form frmEditSettings"));
        EXPECT_TRUE(f.Loaded());
        f.cmdCancel->PerformClick();
    });
    for (const auto& m : Messages())
        EXPECT_NE(m.prompt, QStringLiteral("Impostazioni aggiornate con successo"));
    // What went through before the refusal stays; the count is not redone.
    EXPECT_EQ(getSetting(QStringLiteral("INTESTAZ")), QStringLiteral("Studio"));
    EXPECT_EQ(getSetting(QStringLiteral("ORIZTEMP")), QStringLiteral("30"));
    EXPECT_EQ(platform::Script::Of(QStringLiteral("balloon")).size(), balloons);
}

TEST_F(SettingsTest, CancelSavesNothing)
{
    Start();
    OpenSettings([&](frmEditSettings& f) {
        f.txtIntestazione->setText(QStringLiteral("Altro"));
        f.txtOrizzonteTemporale->setText(QStringLiteral("90"));
        f.chkAvvioAutomatico->PerformClick();
        f.cmdCancel->PerformClick();
        EXPECT_FALSE(f.Loaded());
    });
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(getSetting(QStringLiteral("INTESTAZ")), QStringLiteral("Verbanto"));
    EXPECT_EQ(getSetting(QStringLiteral("ORIZTEMP")), QStringLiteral("30"));
    EXPECT_EQ(RunValue(), QStringLiteral("Not Found"));
    // The next opening reads the stored values again.
    OpenSettings([&](frmEditSettings& f) { EXPECT_EQ(f.txtIntestazione->Text(), QStringLiteral("Verbanto")); });
}

} // namespace
