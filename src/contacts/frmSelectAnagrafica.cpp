#include "contacts/frmSelectAnagrafica.h"
#include "contacts/frmAnagrafica.h"
#include "shared/FormKit.h"
#include "shared/basGeneral.h"

namespace verbanto {

using namespace platform;

namespace {
// Layout, in twips: two columns of label and box.
constexpr double kLeft = 240;
constexpr double kTop = 240;
constexpr double kRow = 390;
constexpr double kLabelWidth = 3000;
constexpr double kBoxWidth = 2600;
constexpr double kColumnWidth = kLabelWidth + kBoxWidth + 360;
constexpr double kBoxHeight = 315;
} // namespace

frmSelectAnagrafica::frmSelectAnagrafica()
    : FilterForm(QStringLiteral("frmSelectAnagrafica"),
                 {&gWhereAnagrafica, &gAnagraficaFilterOr, &gAnagraficaFilterValues, &gAnagraficaFilterSaved})
{
    setDesignSize(2 * kColumnWidth + 2 * kLeft, kTop + 7 * kRow + 1400);
}

void frmSelectAnagrafica::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca in Anagrafica");
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    setCaption(caption);
    const auto& fields = Fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const double left = kLeft + (i / 7) * kColumnWidth;
        const double top = kTop + (i % 7) * kRow;
        AddLabel(*this, fields[i])->Move(left, top + 30, kLabelWidth, kBoxHeight);
        AddBox(*this, fields[i], false);
        Box(fields[i])->Move(left + kLabelWidth, top, kBoxWidth, kBoxHeight);
    }
    const double bottom = kTop + 7 * kRow + 200;
    AddAndOr(kLeft, bottom);
    AddCommands(kLeft, bottom + 500, false);
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
