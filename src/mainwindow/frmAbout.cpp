#include "mainwindow/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "shared/Proc.h"
#include "shared/basGeneral.h"

namespace verbanto {

frmAbout::frmAbout() : Form(QStringLiteral("frmAbout")) { setDesignSize(6300, 3600); }

void frmAbout::CreateControls()
{
    using namespace platform;
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(QStringLiteral("Informazioni su Gestione Verbanto"));
    OsenXPPicture1 = Add<Picture>(QStringLiteral("OsenXPPicture1"));
    OsenXPPicture1->Move(240, 240, 960, 960);
    OsenXPPicture1->setPicture(frmMain::ProgramIcon());
    lblTitle = Add<Label>(QStringLiteral("lblTitle"), QStringLiteral("Gestione Verbanto"));
    lblTitle->Move(1440, 270, 4500, 420);
    QFont big = lblTitle->Font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    lblTitle->setFont(big);
    OsenXPLabel3 = Add<Label>(QStringLiteral("OsenXPLabel3"), QStringLiteral("Versione 1.0"));
    OsenXPLabel3->Move(1440, 780, 4500, 300);
    OsenXPLabel1 = Add<Label>(QStringLiteral("OsenXPLabel1"), QStringLiteral("Sito web:"));
    OsenXPLabel1->Move(240, 1500, 1100, 300);
    txtWebPage = Add<TextBox>(QStringLiteral("txtWebPage"));
    txtWebPage->Move(1440, 1455, 4560, 345);
    txtWebPage->setText(QString::fromLatin1(WebPage));
    txtWebPage->setLocked(true);
    cmdGoToWebPage = Add<Button>(QStringLiteral("cmdGoToWebPage"), QStringLiteral("&Vai al sito web"));
    cmdGoToWebPage->Move(1440, 2400, 2200, 450);
    cmdOk = Add<Button>(QStringLiteral("cmdOk"), QStringLiteral("&Ok"));
    cmdOk->Move(4440, 2400, 1560, 450);
    cmdOk->setDefault(true);
    cmdOk->setCancel(true);

    cmdGoToWebPage->Click = [this] { cmdGoToWebPage_Click(); };
    cmdOk->Click = [this] { cmdOK_Click(); };
}

void frmAbout::Form_Load()
{
    FormProc(*this, "Form_Load", [&] {
        CenterForm(*this);
        DisattivaTabstop(Controls());
        setCaption(QStringLiteral("Informazioni su Gestione Verbanto"));
    });
}

void frmAbout::cmdGoToWebPage_Click()
{
    FormProc(*this, "cmdGoToWebPage_Click", [&] { LaunchBrowser(txtWebPage->Text(), hWnd()); });
}

void frmAbout::cmdOK_Click()
{
    FormProc(*this, "cmdOK_Click", [&] { Unload(); });
}

} // namespace verbanto
