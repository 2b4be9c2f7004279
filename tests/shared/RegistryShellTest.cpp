// Registry values, the autostart entry, the browser and the file copy.
#include "harness/TestEnv.h"
#include "shared/basGeneral.h"
#include "shared/basRegistering.h"
#include <QFile>

using namespace verbanto;
using namespace platform;

class RegistryShellTest : public VerbantoTest {};

static const QString RunKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";

TEST_F(RegistryShellTest, RunValueIsAnAutostartEntry)
{
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, RunKey, "GestioneVerbanto1"), "Not Found");
    WriteRegistry(HKEY_CURRENT_USER, RunKey, "GestioneVerbanto1", REG_SZ, "/opt/Gestione Verbanto/GestioneVerbanto -minimized");
    const QString file = Registry::AutostartFile("GestioneVerbanto1");
    ASSERT_TRUE(QFile::exists(file));
    const QString text = ReadTextFile(file);
    EXPECT_TRUE(text.contains("Exec=\"/opt/Gestione Verbanto/GestioneVerbanto\" -minimized\n")) << text.toStdString();
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, RunKey, "GestioneVerbanto1"), "/opt/Gestione Verbanto/GestioneVerbanto -minimized");
    DeleteValue(HKEY_CURRENT_USER, RunKey, "GestioneVerbanto1");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(DeleteValue(HKEY_CURRENT_USER, RunKey, "GestioneVerbanto1"), "");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryShellTest, OtherKeysKeepTheirValues)
{
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Nessuna", "x"), "Not Found");
    WriteRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Verbanto", "Nome", REG_SZ, "Valore à");
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Verbanto", "Nome"), "Valore à");
    WriteRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Verbanto", "Vuoto", REG_SZ, "");
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Verbanto", "Vuoto"), "");
    DeleteValue(HKEY_CURRENT_USER, "SOFTWARE\\Verbanto", "Nome");
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Verbanto", "Nome"), "Not Found");
}

TEST_F(RegistryShellTest, LaunchBrowserOpensTheAddressAndCleansUp)
{
    LaunchBrowser("", 0);
    EXPECT_TRUE(Script::Of("browser").empty());
    LaunchBrowser("https://example.org/", 0);
    ASSERT_EQ(Script::Of("browser").size(), 1u);
    EXPECT_EQ(Script::Of("browser")[0].prompt, "https://example.org/");
    EXPECT_FALSE(QFile::exists(Folder() + "/test.htm"));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryShellTest, FileCopyNeverOverwritesWhenAsked)
{
    const QString target = Folder() + "/copia.db3";
    EXPECT_TRUE(APIFileCopy(DbFile(), target, true));
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("mine");
    f.close();
    EXPECT_FALSE(APIFileCopy(DbFile(), target, true));
    EXPECT_EQ(ReadTextFile(target), "mine");
    EXPECT_FALSE(APIFileCopy(Folder() + "/none.db3", Folder() + "/x.db3", true));
    // Allowed to overwrite: the copy replaces the old file; a missing source leaves it alone.
    EXPECT_FALSE(APIFileCopy(Folder() + "/none.db3", target, false));
    EXPECT_EQ(ReadTextFile(target), "mine");
    EXPECT_TRUE(APIFileCopy(DbFile(), target, false));
    EXPECT_EQ(QFile(target).size(), QFile(DbFile()).size());
}
