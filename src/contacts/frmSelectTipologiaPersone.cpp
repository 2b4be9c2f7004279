#include "contacts/frmSelectTipologiaPersone.h"
#include "contacts/ContactFields.h"
#include "contacts/frmTipologiaPersone.h"
#include "shared/basGeneral.h"
#include "shared/ModalWindows.h"
#include "shared/TracedProcedure.h"

namespace verbanto {

using namespace platform;

frmSelectTipologiaPersone::frmSelectTipologiaPersone()
    : FilterForm(QStringLiteral("frmSelectTipologiaPersone"),
                 {&gWhereTipologiaPersone, nullptr, &gTipologiaPersoneFilterValues, &gTipologiaPersoneFilterSaved})
{
}

void frmSelectTipologiaPersone::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca Tipologie Soci");
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    setCaption(caption);
    AddTypeNameBox(*this, txtTipologia, lblTipologia);
    AddCommands(true);
    Arrange({layout::Labelled(lblTipologia, {txtTipologia})}, 3900);
}

// The caret stands after the remembered text.
void frmSelectTipologiaPersone::Form_Activate()
{
    FormProc(*this, "Form_Activate", [&] { CaretAtEnd(*txtTipologia); });
}

std::vector<FilterForm::Criterion> frmSelectTipologiaPersone::Criteria()
{
    return {{Kind::Text, txtTipologia, QStringLiteral("a.Tipologia")}};
}

ListForm* frmSelectTipologiaPersone::List() { return LoadedInstance<frmTipologiaPersone>(); }

} // namespace verbanto
