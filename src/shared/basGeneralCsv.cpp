// CSV export of a list grid: the dialogue with the user and the CSV text of the grid.
#include "shared/basGeneralCsv.h"
#include "platform/SaveFileDialog.h"
#include "platform/WholeFile.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include "shared/TracedProcedure.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace verbanto {

namespace {

const QString Title = QStringLiteral("Gestione Verbanto");

// One line per grid row: every field quoted with inner quotes doubled, ";" between, CRLF after;
// "IDFIELD" columns left out. Written in blocks, straight from the cell store.
void writeGrid(platform::FlexGrid& grid, platform::WholeFile& out)
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
        out.Write(block.data(), used);
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

// The export proper; false when it failed (the failure has been reported). A failed write
// leaves the old file as it was and no half-written one.
bool saveGrid(platform::FlexGrid& grid, const QString& fileName)
{
    return ModProc("basGeneral", "xMSFlexGrid_Save", [&] {
        platform::WholeFile out(fileName);
        writeGrid(grid, out);
        out.Commit();
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
