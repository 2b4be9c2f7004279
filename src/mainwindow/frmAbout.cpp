#include "mainwindow/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "platform/FormLayout.h"
#include "shared/basGeneral.h"
#include "shared/TracedProcedure.h"

namespace verbanto {

frmAbout::frmAbout() : Form(QStringLiteral("frmAbout")) {}

void frmAbout::CreateControls()
{
    using namespace platform;
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(QStringLiteral("Informazioni su Gestione Verbanto"));
    OsenXPPicture1 = Add<Picture>(QStringLiteral("OsenXPPicture1"));
    OsenXPPicture1->setPicture(frmMain::ProgramIcon());
    lblTitle = Add<Label>(QStringLiteral("lblTitle"), QStringLiteral("Gestione Verbanto"));
    QFont big = lblTitle->Font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    lblTitle->setFont(big);
    OsenXPLabel3 = Add<Label>(QStringLiteral("OsenXPLabel3"), QStringLiteral("Versione 1.0"));
    OsenXPLabel1 = Add<Label>(QStringLiteral("OsenXPLabel1"), QStringLiteral("Sito web:"));
    txtWebPage = Add<TextBox>(QStringLiteral("txtWebPage"));
    txtWebPage->setText(QString::fromLatin1(WebPage));
    txtWebPage->setLocked(true);
    cmdGoToWebPage = Add<Button>(QStringLiteral("cmdGoToWebPage"), QStringLiteral("&Vai al sito web"));
    cmdOk = Add<Button>(QStringLiteral("cmdOk"), QStringLiteral("&Ok"));
    cmdOk->setDefault(true);
    cmdOk->setCancel(true);

    using namespace layout;
    LayOut(*this, {{Labelled(OsenXPPicture1, {Stacked({lblTitle, OsenXPLabel3})}),
                    Labelled(OsenXPLabel1, {txtWebPage})},
                   {cmdGoToWebPage, cmdOk},
                   4560});

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
