#include "deadlines/frmSelectPagamenti.h"
#include "deadlines/frmPagamenti.h"
#include "shared/basGeneral.h"
#include "shared/ModalWindows.h"
#include "shared/WindowControls.h"

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

    cboSocio = Add<ComboBox>(QStringLiteral("cboSocio"));
    lblSocio = AddLabel(*this, "lblSocio", "Contatto");
    txtCausale = AddTextBox(*this, "txtCausale");
    lblCausale = AddLabel(*this, "lblCausale", "Descrizione Scadenza");
    txtNotePagamento = AddTextBox(*this, "txtNotePagamento");
    lblAssegnoNote = AddLabel(*this, "lblAssegnoNote", "Note");
    lblDataAssegno = AddLabel(*this, "lblDataAssegno", "Data Scadenza");
    OsenXPLabel2 = AddLabel(*this, "OsenXPLabel2", "da");
    lblDataA = AddLabel(*this, "lblDataA", "a");
    txtDataDa = AddTextBox(*this, "txtDataDa");
    txtDataA = AddTextBox(*this, "txtDataA");
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
