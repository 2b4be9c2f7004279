#pragma once
// The grid's compact cell store: rows of columns of text, kept as UTF-8 in large blocks with one
// small reference per cell, so that a fill of many rows costs one copy of its bytes and little
// memory, and a sort moves references only.
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// The text in UTF-8, made in the buffer (plain ASCII skips the codec); valid while the buffer is.
std::string_view Utf8Into(const QString& text, std::string& buffer);

class CellStore {
public:
    CellStore(int rows, int cols);
    CellStore(const CellStore&) = delete;
    CellStore& operator=(const CellStore&) = delete;

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    // The cell's UTF-8 bytes; valid until the store next changes.
    std::string_view cell(int row, int col) const { return bytes(cells_[index(row, col)]); }
    QString Text(int row, int col) const;
    void setText(int row, int col, const QString& text);

    // Rows are added or cut at the end; columns at the right, each row keeping its texts.
    void setRows(int n);
    void setCols(int n);
    // Appends one row; texts past the last column are dropped, missing ones left empty.
    void AppendRow(const std::vector<QString>& cells);
    // The same from UTF-8 texts (as a database gives them); text that is not valid UTF-8 is kept
    // as a QString would read it.
    void AppendRow(const std::string_view* cells, size_t count);
    void RemoveRow(int row);
    void Clear();                                          // blanks every cell

    // The data rows (1 to Rows - 1) in sorted order, for the sort codes of the grid that compare
    // text: 1/2 generic (numbers as numbers, other text as text), 5/6 text without case,
    // 7/8 text with case; odd ascending, even descending. Rows of equal keys keep their order.
    std::vector<int> TextOrder(int col, int code) const;
    // One number per row from a column (keys[0] unused): text that is no number counts 0.
    std::vector<double> NumberKeys(int col) const;
    // The data rows ordered by one number per row (keys[row]); equal keys keep their order.
    std::vector<int> KeyOrder(const std::vector<double>& keys, bool descending) const;
    // Puts the data rows in the given order (row numbers 1 to Rows - 1); the header row stays.
    void Reorder(const std::vector<int>& order);

private:
    // Where a cell's bytes lie: an offset into the blocks and a length (0: the empty text).
    struct Ref {
        std::uint32_t pos = 0;
        std::uint32_t len = 0;
    };
    // The bytes of every cell, in blocks that never move; a text longer than a block gets
    // consecutive block numbers of its own.
    static constexpr std::uint32_t BlockBits = 16;
    static constexpr std::uint32_t BlockSize = 1u << BlockBits;
    struct Arena {
        std::vector<std::unique_ptr<char[]>> owned;
        std::vector<char*> blocks;        // by block number
        std::uint64_t end = 0;            // next free offset
        Ref put(std::string_view text);
    };

    // The references, in blocks that never move: a long fill neither copies them as it grows
    // nor leaves the copies' pages behind.
    class Refs {
    public:
        Ref& operator[](size_t i) { return blocks_[i >> Bits][i & (Size - 1)]; }
        const Ref& operator[](size_t i) const { return blocks_[i >> Bits][i & (Size - 1)]; }
        size_t size() const { return size_; }
        void resize(size_t n);             // new references are empty
        void erase(size_t first, size_t count);
        void swap(Refs& o) noexcept
        {
            blocks_.swap(o.blocks_);
            std::swap(size_, o.size_);
        }

    private:
        static constexpr size_t Bits = 13;
        static constexpr size_t Size = size_t(1) << Bits;
        std::vector<std::unique_ptr<Ref[]>> blocks_;
        size_t size_ = 0;
    };

    size_t index(int row, int col) const { return static_cast<size_t>(row) * cols_ + col; }
    std::string_view bytes(Ref r) const
    {
        return r.len ? std::string_view(arena_.blocks[r.pos >> BlockBits] + (r.pos & (BlockSize - 1)), r.len)
                     : std::string_view();
    }
    Ref store(std::string_view utf8);      // from outside: checked
    Ref store(const QString& text);
    Ref storeValid(std::string_view utf8); // bytes known to be what a QString gives
    void drop(Ref r) { live_ -= r.len; }
    void dropRange(size_t from, size_t to);
    template <class T> void appendRow(const T* cells, size_t count);   // QString or UTF-8 texts
    void compactIfWasteful();

    int rows_;
    int cols_;
    Refs cells_;
    Arena arena_;
    std::uint64_t live_ = 0;             // bytes that cells still refer to
    std::string scratch_;
};

} // namespace platform
