#include "platform/SaveFileDialog.h"
#include "platform/Forms.h"
#include "platform/ScriptedMode.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace platform {

QString SaveFileDialog::QtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i].trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    if (parts.size() % 2 == 1 && !parts.last().trimmed().isEmpty())   // a bare pattern
        out << parts.last().trimmed();
    return out.join(QStringLiteral(";;"));
}

QString SaveFileDialog::ShowSave()
{
    if (Script::Active()) {
        fileName_ = Script::NextSaveDialogAnswer(filter_);
        return fileName_;
    }
    fileName_ = QFileDialog::getSaveFileName(DialogParent(), QStringLiteral("Salva con nome"), QString(), QtFilter(filter_),
                                             nullptr, QFileDialog::DontConfirmOverwrite);
    return fileName_;
}

} // namespace platform
