#pragma once
// The About box: name, version and the maker's web page.
#include "platform/Forms.h"

namespace verbanto {

class frmAbout : public platform::Form {
public:
    frmAbout();
    void CreateControls() override;

    static constexpr const char* WebPage = "https://www.verbanto.it";

    platform::SkinForm* OsenXPForm1 = nullptr;
    platform::Picture* OsenXPPicture1 = nullptr;
    platform::Label* lblTitle = nullptr;
    platform::Label* OsenXPLabel3 = nullptr;
    platform::Label* OsenXPLabel1 = nullptr;
    platform::TextBox* txtWebPage = nullptr;
    platform::Button* cmdGoToWebPage = nullptr;
    platform::Button* cmdOk = nullptr;

    void Form_Load() override;

private:
    void cmdGoToWebPage_Click();
    void cmdOK_Click();
};

} // namespace verbanto
