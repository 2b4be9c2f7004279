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
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

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
void writeGrid(platform::FlexGrid& grid, QFile& out, const QString& fileName)
{
    const platform::CellStore& cells = grid.Cells();
    std::vector<int> cols;
    for (int c = 0; c < cells.Cols(); ++c)
        if (cells.cell(0, c) != "IDFIELD")
            cols.push_back(c);
    constexpr size_t BlockSize = 1 << 16;
    std::vector<char> block(BlockSize);
    size_t used = 0;
    const auto flush = [&] {
        if (used > 0 && out.write(block.data(), static_cast<qint64>(used)) != static_cast<qint64>(used))
            raiseFileError(out, fileName, false);
        used = 0;
    };
    // Room for n more bytes in the block.
    const auto room = [&](size_t n) -> char* {
        if (used + n > block.size()) {
            flush();
            if (n > block.size())
                block.resize(n);
        }
        return block.data() + used;
    };
    for (int r = 0; r < cells.Rows(); ++r) {
        for (size_t i = 0; i < cols.size(); ++i) {
            std::string_view text = cells.cell(r, cols[i]);
            // At most every byte a quote, written twice, the separator, two quotes and the line end.
            char* p = room(2 * text.size() + 5);
            if (i > 0)
                *p++ = ';';
            *p++ = '"';
            for (size_t quote; (quote = text.find('"')) != std::string_view::npos; text.remove_prefix(quote + 1)) {
                std::memcpy(p, text.data(), quote + 1);
                p += quote + 1;
                *p++ = '"';
            }
            if (!text.empty()) {
                std::memcpy(p, text.data(), text.size());
                p += text.size();
            }
            *p++ = '"';
            used = static_cast<size_t>(p - block.data());
        }
        char* p = room(2);
        p[0] = '\r';
        p[1] = '\n';
        used += 2;
    }
    flush();
}

// The grid into an open file, which is closed; a failure on the way is raised.
void writeAndClose(platform::FlexGrid& grid, QFile& f, const QString& fileName)
{
    writeGrid(grid, f, fileName);
    if (!f.flush())
        raiseFileError(f, fileName, false);
    f.close();
    if (f.error() != QFileDevice::NoError)
        raiseFileError(f, fileName, false);
}

// Creates a new file of a name of its own beside the one to be written (as a new file is
// created: the user's umask applies).
void openBeside(QFile& f, const QString& finalName, const QString& fileName)
{
    const QFileInfo fi(finalName);
    for (int attempt = 0;; ++attempt) {
        f.setFileName(fi.absolutePath() + QStringLiteral("/.") + fi.fileName() + QLatin1Char('.') +
                      QString::number(QRandomGenerator::global()->generate(), 36));
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return;
        if (!QFileInfo::exists(f.fileName()) || attempt == 10)
            raiseFileError(f, fileName, true);
    }
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
            writeAndClose(grid, f, fileName);
            return true;
        }
        // The new file takes the old one's place only once it is whole: a failed write
        // leaves the old file as it was and no half-written one. The rename alone gives that;
        // no wait for the disk.
        const QString canonical = target.isSymLink() ? target.canonicalFilePath() : QString();
        const QString finalName = canonical.isEmpty() ? fileName : canonical;   // a link stays a link
        QFile f;
        openBeside(f, finalName, fileName);
        try {
            writeAndClose(grid, f, fileName);
            if (QFileInfo::exists(finalName))
                QFile::setPermissions(f.fileName(), QFile::permissions(finalName));
            if (std::rename(QFile::encodeName(f.fileName()).constData(), QFile::encodeName(finalName).constData()) != 0)
                platform::Err::Raise(errno == EACCES || errno == EPERM ? platform::Err::PermissionDenied
                                                                       : platform::Err::PathFileAccess);
        } catch (...) {
            f.close();
            QFile::remove(f.fileName());
            throw;
        }
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
