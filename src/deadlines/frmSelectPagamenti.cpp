#include "deadlines/frmSelectPagamenti.h"
#include "deadlines/frmPagamenti.h"
#include "shared/FormKit.h"
#include "shared/basGeneral.h"

namespace verbanto {

using namespace platform;

namespace {
constexpr double kLabelLeft = 240;
constexpr double kFieldLeft = 2600;
constexpr double kFieldWidth = 4700;
constexpr double kRow = 460;
} // namespace

frmSelectPagamenti::frmSelectPagamenti()
    : FilterForm(QStringLiteral("frmSelectPagamenti"),
                 {&gWherePagamenti, &gPagamentiFilterOr, &gPagamentiFilterValues, &gPagamentiFilterSaved})
{
    setDesignSize(7700, 3700);
}

void frmSelectPagamenti::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca Scadenze");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);

    auto label = [&](const char* name, const char* text, double left, double top, double width) {
        Label* l = Add<Label>(QString::fromLatin1(name), QString::fromUtf8(text));
        l->Move(left, top + 40, width, 300);
        return l;
    };
    auto box = [&](const char* name, double left, double top, double width) {
        TextBox* t = Add<TextBox>(QString::fromLatin1(name));
        t->Move(left, top, width, 330);
        return t;
    };
    double top = 200;
    cboSocio = Add<ComboBox>(QStringLiteral("cboSocio"));
    cboSocio->Move(kFieldLeft, top, kFieldWidth, 330);
    lblSocio = label("lblSocio", "Contatto", kLabelLeft, top, kFieldLeft - kLabelLeft);
    top += kRow;
    txtCausale = box("txtCausale", kFieldLeft, top, kFieldWidth);
    lblCausale = label("lblCausale", "Descrizione Scadenza", kLabelLeft, top, kFieldLeft - kLabelLeft);
    top += kRow;
    txtNotePagamento = box("txtNotePagamento", kFieldLeft, top, kFieldWidth);
    lblAssegnoNote = label("lblAssegnoNote", "Note", kLabelLeft, top, kFieldLeft - kLabelLeft);
    top += kRow;
    lblDataAssegno = label("lblDataAssegno", "Data Scadenza", kLabelLeft, top, kFieldLeft - kLabelLeft);
    OsenXPLabel2 = label("OsenXPLabel2", "da", kFieldLeft, top, 300);
    lblDataA = label("lblDataA", "a", kFieldLeft + 2400, top, 300);
    txtDataDa = box("txtDataDa", kFieldLeft + 350, top, 1800);
    txtDataA = box("txtDataA", kFieldLeft + 2750, top, 1800);
    top += kRow + 60;
    AddAndOr(kFieldLeft, top);
    AddCommands(kLabelLeft, top + kRow + 100, false);
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
