#include "contacts/frmEditAnagrafica.h"
#include "contacts/frmAnagrafica.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

namespace {
// Columns the editor has no control for, in the order the statements name them.
constexpr const char* kKeptColumns[4] = {"NumeroTessera", "DataNascita", "DataIscrizione", "DataScadenzaIscrizione"};
} // namespace

frmEditAnagrafica::frmEditAnagrafica() : EditorForm(QStringLiteral("frmEditAnagrafica")) { setTitleButtons(false, false); }

// The card prints the controls in this order: the skin, the fourteen boxes, the labels, the commands.
void frmEditAnagrafica::CreateFormControls()
{
    const QString caption = QStringLiteral("Anagrafica Contatti");
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    setCaption(caption);
    const auto& fields = Fields();
    for (const Field& f : fields)
        AddBox(*this, f, true);
    std::vector<Label*> labels;
    for (const Field& f : fields)
        labels.push_back(AddLabel(*this, f));
    AddCommands(QStringLiteral("S&tampa scheda del contatto"));

    layout::Lines lines;
    for (size_t i = 0; i < fields.size(); ++i) {
        const bool notes = fields[i].box == &ContactBoxes::txtNote;
        lines.push_back(layout::Labelled(labels[i], {layout::Sized(Box(fields[i]), 0, notes ? 945 : 0)}));
    }
    Arrange(std::move(lines));
}

void frmEditAnagrafica::LoadForm()
{
    FormProc(*this, "Form_Load", [&] {
        DisattivaTabstop(Controls());
        CenterForm(*this);
        OpenDb();
        if (gNewRecord)
            return;
        const double id = Forms::Instance<frmAnagrafica>().mANAGRAFICAID;
        gRsOpen(QStringLiteral("SELECT a.ANAGRAFICAID, a.TIPOLOGIAID, a.Nome, a.Cognome, a.Indirizzo, a.CAP, a.Comune, "
                               "a.Provincia, a.TelefonoCasa, a.TelefonoUfficio, a.Fax, a.Cellulare, a.CFIva, "
                               "a.NumeroTessera, a.DataIscrizione, a.DataNascita, a.DataScadenzaIscrizione, a.Email, "
                               "a.SitoWeb, a.NoteAnagrafica, a.DateTimeCreated, a.DateTimeLastUpdated "
                               "FROM Anagrafica a WHERE ANAGRAFICAID = ") +
                SqlNumber(id) + QStringLiteral(" AND ") + QStringLiteral("1=1 "));
        if (!gRs->EOF_()) {
            gRs->MoveFirst();
            for (const Field& f : Fields())
                Box(f)->setText((*gRs)[f.column].Value().Text());
            // The columns without a control are written back as they are, not cleared.
            const Variant type = (*gRs)["TIPOLOGIAID"].Value();
            if (type.IsNumeric())
                idDelTipoAnag = type.CInt();
            for (size_t i = 0; i < kept_.size(); ++i)
                kept_[i] = TextValue((*gRs)[kKeptColumns[i]].Value().Text());
        }
        gRs->Close();
        ResetRs();
    });
}

std::vector<EditorForm::Check> frmEditAnagrafica::Checks()
{
    std::vector<Check> checks;
    checks.push_back({QStringLiteral("Inserire il cognome o la ragione sociale"),
                      [this] { return txtCognome->Text().trimmed().isEmpty(); }});
    // The postal code is looked at only once there is a surname, and only when one is typed.
    const QString cap = txtCAP->Text().trimmed();
    if (!checks.front().fails() && !cap.isEmpty()) {
        const QString m = checkABICAB(cap, QStringLiteral("di avviamento postale"));
        checks.push_back({m, [m] { return !m.isEmpty(); }});
    }
    return checks;
}

std::vector<std::pair<QString, QString>> frmEditAnagrafica::values() const
{
    std::vector<std::pair<QString, QString>> v{{QStringLiteral("TIPOLOGIAID"), SqlNumber(idDelTipoAnag)},
                                               {QStringLiteral("Nome"), TextValue(txtNome->Text())},
                                               {QStringLiteral("Cognome"), TextValue(txtCognome->Text())}};
    for (const Field& f : Fields())
        if (f.box != &ContactBoxes::txtNome && f.box != &ContactBoxes::txtCognome)
            v.emplace_back(QLatin1String(f.column), TextValue(Box(f)->Text()));
    for (size_t i = 0; i < kept_.size(); ++i)
        v.emplace_back(QLatin1String(kKeptColumns[i]), kept_[i]);
    return v;
}

QString frmEditAnagrafica::InsertStatement()
{
    QStringList list;
    for (const auto& [column, value] : values())
        list << value;
    list << Timestamp();
    return InsertSql(QStringLiteral("INSERT INTO Anagrafica (TIPOLOGIAID, Nome, Cognome, Indirizzo, ") +
                         QStringLiteral("CAP, Comune, Provincia, TelefonoCasa, TelefonoUfficio, Fax, Cellulare, ") +
                         QStringLiteral("CFIva, Email, SitoWeb, NoteAnagrafica, numerotessera,datanascita,dataiscrizione,datascadenzaiscrizione,DateTimeCreated) ") +
                         QStringLiteral("VALUES ("),
                     list);
}

QString frmEditAnagrafica::UpdateStatement()
{
    return UpdateSql(QStringLiteral("Anagrafica"), values(), QStringLiteral("ANAGRAFICAID"),
                     Forms::Instance<frmAnagrafica>().mANAGRAFICAID);
}

ListForm* frmEditAnagrafica::List() { return LoadedInstance<frmAnagrafica>(); }

} // namespace verbanto
