#include "platform/SaveFileDialog.h"
#include "platform/Forms.h"
#include "platform/WaitingWindows.h"
#include "platform/ScriptedMode.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStringList>

namespace platform {

namespace {

// Qt's file list writes dates and sizes in the machine's locale; the program is Italian
// whatever that is, so they are written in the program's own.
class ProgramLocaleFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        constexpr int SizeColumn = 1, DateColumn = 3;
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role == Qt::DisplayRole && files && (index.column() == SizeColumn || index.column() == DateColumn)) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == DateColumn)
                return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
            if (!files->isDir(source))
                return QLocale().formattedDataSize(files->size(source));
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

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
    fileName_.clear();
    if (Forms::Ending())
        return fileName_;
    RunDialog(Build(DialogParent(), filter_).release(), [this](QDialog& d) {
        if (d.result() == QDialog::Accepted)
            fileName_ = static_cast<QFileDialog&>(d).selectedFiles().value(0);
    });
    return fileName_;
}

std::unique_ptr<QFileDialog> SaveFileDialog::Build(QWidget* parent, const QString& filter)
{
    // As QFileDialog::getSaveFileName builds it, with the file list of its own.
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("Salva con nome"), QString(), QtFilter(filter));
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setSupportedSchemes({QStringLiteral("file")});
    dialog->setProxyModel(new ProgramLocaleFileList(dialog.get()));
    return dialog;
}

} // namespace platform
