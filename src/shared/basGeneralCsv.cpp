// CSV export of a list grid: the dialogue with the user and the file itself.
#include "shared/basGeneralCsv.h"
#include "platform/SaveFileDialog.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include "shared/TracedProcedure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <string>

namespace verbanto {

namespace {

const QString Title = QStringLiteral("Gestione Verbanto");

// The error a failed open or write stands for.
[[noreturn]] void raiseFileError(const QFileDevice& f, const QString& fileName, bool opening)
{
    if (f.error() == QFileDevice::ResourceError)
        platform::Err::Raise(platform::Err::DiskFull);
    if (opening) {
        const QFileInfo fi(fileName);
        if (!fi.absoluteDir().exists())
            platform::Err::Raise(platform::Err::PathNotFound);
        if (f.error() == QFileDevice::PermissionsError)
            platform::Err::Raise(platform::Err::PermissionDenied);
    }
    platform::Err::Raise(platform::Err::PathFileAccess);
}

// One line per grid row: every field quoted with inner quotes doubled, ";" between, CRLF after;
// "IDFIELD" columns left out. Written in blocks, straight from the cell store.
template <class Device> void writeGrid(platform::FlexGrid& grid, Device& out, const QString& fileName)
{
    std::vector<int> cols;
    for (int c = 0; c < grid.Cols(); ++c)
        if (grid.Cells().cell(0, c) != "IDFIELD")
            cols.push_back(c);
    std::string block;
    block.reserve(1 << 16);
    const auto flush = [&] {
        if (!block.empty() && out.write(block.data(), static_cast<qint64>(block.size())) != static_cast<qint64>(block.size()))
            raiseFileError(out, fileName, false);
        block.clear();
    };
    for (int r = 0; r < grid.Rows(); ++r) {
        for (size_t i = 0; i < cols.size(); ++i) {
            if (i > 0)
                block += ';';
            block += '"';
            for (char ch : grid.Cells().cell(r, cols[i])) {
                if (ch == '"')
                    block += '"';
                block += ch;
            }
            block += '"';
        }
        block += "\r\n";
        if (block.size() >= (1 << 16) - 4096)
            flush();
    }
    flush();
}

// The export proper; false when it failed (the failure has been reported).
bool saveGrid(platform::FlexGrid& grid, const QString& fileName)
{
    return ModProc("basGeneral", "xMSFlexGrid_Save", [&] {
        const QFileInfo target(fileName);
        if (target.exists() && !target.isFile()) {
            // A device or pipe is written into, never replaced.
            QFile f(fileName);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                raiseFileError(f, fileName, true);
            writeGrid(grid, f, fileName);
            if (!f.flush())
                raiseFileError(f, fileName, false);
            f.close();
            if (f.error() != QFileDevice::NoError)
                raiseFileError(f, fileName, false);
            return true;
        }
        // The new file takes the old one's place only once it is whole: a failed write
        // leaves the old file as it was and no half-written one.
        QSaveFile f(fileName);
        if (!f.open(QIODevice::WriteOnly))
            raiseFileError(f, fileName, true);
        writeGrid(grid, f, fileName);
        if (!f.commit())
            raiseFileError(f, fileName, false);
        return true;
    });
}

} // namespace

void esportaCSV(platform::FlexGrid& grid)
{
    ModProc("basGeneral", "esportaCSV", [&] {
        platform::SaveFileDialog dialog;
        dialog.setFilter(QStringLiteral("File CSV|*.csv"));
        dialog.ShowSave();
        QString path = dialog.FileName();
        if (path.isEmpty())
            return;
        path = path.trimmed();
        if (path.right(4).toUpper() != QLatin1String(".CSV"))
            path += QStringLiteral(".csv");
        if (FileExists(path)) {
            const int answer = MyMsgBox(QStringLiteral("Il file ") + path +
                                            QStringLiteral(" già esiste. Sei sicuro di volerlo sovrascrivere?"),
                                        platform::vbYesNo, Title);
            if (answer == platform::vbNo)
                return;
        }
        if (!saveGrid(grid, path))
            return;   // the failure has been reported; nothing was exported
        MyMsgBox(QStringLiteral("I dati sono stati esportati con successo sul file ") + path, platform::vbExclamation, Title);
    });
}

void xMSFlexGrid_Save(platform::FlexGrid& grid, const QString& fileName) { saveGrid(grid, fileName); }

} // namespace verbanto
