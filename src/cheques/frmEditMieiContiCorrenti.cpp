#include "cheques/frmEditMieiContiCorrenti.h"
#include "cheques/frmMieiContiCorrenti.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

namespace {
struct Design {
    const char* suffix;    // the name after "txt" / "lbl", which is also the column
    const char* caption;
};
constexpr Design kDesign[6] = {{"Descrizione", "Descrizione"}, {"Banca", "Banca"},
                               {"ABI", "ABI"},                 {"CAB", "CAB"},
                               {"NumeroConto", "Numero di Conto Corrente"}, {"Intestatari", "Intestatari"}};
} // namespace

frmEditMieiContiCorrenti::frmEditMieiContiCorrenti() : EditorForm(QStringLiteral("frmEditMieiContiCorrenti")) {}

std::array<frmEditMieiContiCorrenti::Box, 6> frmEditMieiContiCorrenti::boxes() const
{
    return {{{txtDescrizione, "Descrizione"},
             {txtBanca, "Banca"},
             {txtABI, "ABI"},
             {txtCAB, "CAB"},
             {txtNumeroConto, "NumeroConto"},
             {txtIntestatari, "Intestatari"}}};
}

void frmEditMieiContiCorrenti::CreateFormControls()
{
    const QString caption = QStringLiteral("Conto Corrente");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    TextBox** members[6] = {&txtDescrizione, &txtBanca, &txtABI, &txtCAB, &txtNumeroConto, &txtIntestatari};
    layout::Lines lines;
    for (int i = 0; i < 6; ++i) {
        const QString suffix = QLatin1String(kDesign[i].suffix);
        const bool code = i == 2 || i == 3;
        *members[i] = Add<TextBox>(QStringLiteral("txt") + suffix);
        Label* label = Add<Label>(QStringLiteral("lbl") + suffix, QString::fromUtf8(kDesign[i].caption));
        lines.push_back(layout::Labelled(label, {layout::Sized(*members[i], code ? 1500 : 0)}));
    }
    txtABI->setMaxLength(5);
    txtCAB->setMaxLength(5);
    AddCommands(QStringLiteral("Stampa"));
    Arrange(std::move(lines));
}

void frmEditMieiContiCorrenti::LoadForm()
{
    FormProc(*this, "Form_Load", [&] {
        DisattivaTabstop(Controls());
        CenterForm(*this);
        if (gNewRecord)
            return;
        OpenDb();
        gRsOpen(QStringLiteral("SELECT CONTOCORRENTEID, Descrizione, Banca, ABI, CAB, NumeroConto, Intestatari ") +
                QStringLiteral("FROM MieiContiCorrenti WHERE CONTOCORRENTEID = ") +
                SqlNumber(Forms::Instance<frmMieiContiCorrenti>().mCONTOCORRENTEID) + QStringLiteral(" "));
        if (!gRs->EOF_())
            for (const Box& b : boxes())
                b.box->setText((*gRs)[b.column].Value().Text());
        CloseDb();
        ResetRs();
    });
}

std::vector<EditorForm::Check> frmEditMieiContiCorrenti::Checks()
{
    std::vector<Check> checks{{QStringLiteral("Inserire la descrizione del conto corrente"),
                               [this] { return txtDescrizione->Text().trimmed().isEmpty(); }}};
    // Bank and branch codes are five digits each, when given.
    for (const auto& [box, label] : {std::pair{txtABI, "ABI"}, std::pair{txtCAB, "CAB"}}) {
        const QString code = box->Text().trimmed();
        const QString message = code.isEmpty() ? QString() : checkABICAB(code, QString::fromLatin1(label));
        checks.push_back({message, [message] { return !message.isEmpty(); }});
    }
    return checks;
}

QString frmEditMieiContiCorrenti::InsertStatement()
{
    QStringList values;
    for (const Box& b : boxes())
        values << TextValue(b.box->Text());
    values << Timestamp();
    return InsertSql(QStringLiteral("INSERT INTO MieiContiCorrenti (Descrizione, Banca, ABI, CAB, NumeroConto, Intestatari, ") +
                         QStringLiteral("DateTimeCreated) VALUES ("),
                     values);
}

QString frmEditMieiContiCorrenti::UpdateStatement()
{
    std::vector<std::pair<QString, QString>> parts;
    for (const Box& b : boxes())
        parts.emplace_back(QLatin1String(b.column), TextValue(b.box->Text()));
    return UpdateSql(QStringLiteral("MieiContiCorrenti"), parts, QStringLiteral("CONTOCORRENTEID"),
                     Forms::Instance<frmMieiContiCorrenti>().mCONTOCORRENTEID);
}

ListForm* frmEditMieiContiCorrenti::List() { return LoadedInstance<frmMieiContiCorrenti>(); }

} // namespace verbanto
