#include "contacts/frmSelectAnagrafica.h"
#include "contacts/frmAnagrafica.h"
#include "shared/basGeneral.h"
#include "shared/ModalWindows.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

frmSelectAnagrafica::frmSelectAnagrafica()
    : FilterForm(QStringLiteral("frmSelectAnagrafica"),
                 {&gWhereAnagrafica, &gAnagraficaFilterOr, &gAnagraficaFilterValues, &gAnagraficaFilterSaved})
{
}

void frmSelectAnagrafica::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca in Anagrafica");
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    setCaption(caption);
    // Two columns of seven fields: the first seven on the left.
    const auto& fields = Fields();
    std::vector<layout::Lines> columns(2);
    for (size_t i = 0; i < fields.size(); ++i) {
        Label* label = AddLabel(*this, fields[i]);
        AddBox(*this, fields[i], false);
        columns[i / 7].push_back(layout::Labelled(label, {Box(fields[i])}));
    }
    AddAndOr();
    AddCommands(false);
    Arrange({layout::Columns(std::move(columns))}, 2600);
}

// The condition names the name first, then the surname, then the others in the form's order.
std::vector<FilterForm::Criterion> frmSelectAnagrafica::Criteria()
{
    std::vector<Criterion> criteria{{Kind::Text, txtNome, QStringLiteral("a.Nome")},
                                    {Kind::Text, txtCognome, QStringLiteral("a.Cognome")}};
    for (const Field& f : Fields())
        if (f.box != &ContactBoxes::txtNome && f.box != &ContactBoxes::txtCognome)
            criteria.push_back({Kind::Text, Box(f), QStringLiteral("a.") + QLatin1String(f.column)});
    return criteria;
}

ListForm* frmSelectAnagrafica::List() { return LoadedInstance<frmAnagrafica>(); }

} // namespace verbanto
