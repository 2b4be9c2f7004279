#include "deadlines/frmSelectPagamenti.h"
#include "deadlines/frmPagamenti.h"
#include "shared/FormKit.h"
#include "shared/basGeneral.h"

namespace verbanto {

using namespace platform;

frmSelectPagamenti::frmSelectPagamenti()
    : FilterForm(QStringLiteral("frmSelectPagamenti"),
                 {&gWherePagamenti, &gPagamentiFilterOr, &gPagamentiFilterValues, &gPagamentiFilterSaved})
{
}

void frmSelectPagamenti::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca Scadenze");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);

    auto label = [&](const char* name, const char* text) { return Add<Label>(QString::fromLatin1(name), QString::fromUtf8(text)); };
    auto box = [&](const char* name) { return Add<TextBox>(QString::fromLatin1(name)); };
    cboSocio = Add<ComboBox>(QStringLiteral("cboSocio"));
    lblSocio = label("lblSocio", "Contatto");
    txtCausale = box("txtCausale");
    lblCausale = label("lblCausale", "Descrizione Scadenza");
    txtNotePagamento = box("txtNotePagamento");
    lblAssegnoNote = label("lblAssegnoNote", "Note");
    lblDataAssegno = label("lblDataAssegno", "Data Scadenza");
    OsenXPLabel2 = label("OsenXPLabel2", "da");
    lblDataA = label("lblDataA", "a");
    txtDataDa = box("txtDataDa");
    txtDataA = box("txtDataA");
    AddAndOr();
    AddCommands(false);

    using namespace layout;
    Arrange({Labelled(lblSocio, {cboSocio}),
             Labelled(lblCausale, {txtCausale}),
             Labelled(lblAssegnoNote, {txtNotePagamento}),
             Labelled(lblDataAssegno, {OsenXPLabel2, txtDataDa, lblDataA, txtDataA})});
}

void frmSelectPagamenti::FillCombos()
{
    FillCombo(*cboSocio, QStringLiteral("SELECT ANAGRAFICAID, cognome,Nome FROM Anagrafica order by tipologiaid desc, cognome, nome "),
              QStringLiteral("ANAGRAFICAID"),
              [](const Recordset& rs) { return NameOf(rs, QStringLiteral("cognome"), QStringLiteral("Nome")); });
}

std::vector<FilterForm::Check> frmSelectPagamenti::Checks()
{
    return {{txtDataDa, false, QStringLiteral("Formato della data di partenza non valido")},
            {txtDataA, false, QStringLiteral("Formato della data di arrivo non valido")}};
}

std::vector<FilterForm::Criterion> frmSelectPagamenti::Criteria()
{
    return {{Kind::Combo, cboSocio, QStringLiteral("a.ANAGRAFICAID = ")},
            {Kind::DateFrom, txtDataDa, QStringLiteral("a.Datapagamento")},
            {Kind::DateTo, txtDataA, QStringLiteral("a.Datapagamento")},
            {Kind::Text, txtCausale, QStringLiteral("a.Causale")},
            {Kind::Text, txtNotePagamento, QStringLiteral("a.notepagamento")}};
}

ListForm* frmSelectPagamenti::List() { return LoadedInstance<frmPagamenti>(); }

} // namespace verbanto
