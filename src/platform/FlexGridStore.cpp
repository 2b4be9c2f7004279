#include "platform/FlexGridStore.h"
#include "platform/VbError.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numeric>
#include <string>

namespace platform {

namespace {

// Whether bytes read as a QString and written back as UTF-8 come back unchanged: well-formed
// UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF) that does not begin with a
// byte-order mark, which the reading drops.
bool readsBackUnchanged(std::string_view s)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const size_t n = s.size();
    size_t i = 0;
    // Plain ASCII, eight bytes at a time.
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ull)
            break;
    }
    if (i == 0 && n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return false;
    const auto follows = [&](size_t k) { return k < n && (p[k] & 0xC0) == 0x80; };
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
        } else if (c < 0xC2) {
            return false;
        } else if (c < 0xE0) {
            if (!follows(i + 1))
                return false;
            i += 2;
        } else if (c < 0xF0) {
            if (!follows(i + 1) || !follows(i + 2) || (c == 0xE0 && p[i + 1] < 0xA0) || (c == 0xED && p[i + 1] >= 0xA0))
                return false;
            i += 3;
        } else if (c < 0xF5) {
            if (!follows(i + 1) || !follows(i + 2) || !follows(i + 3) || (c == 0xF0 && p[i + 1] < 0x90) ||
                (c == 0xF4 && p[i + 1] >= 0x90))
                return false;
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

QString fromStore(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A number as the grid reads cell text: optional sign, digits, one decimal mark; with both "."
// and "," present the dots group thousands (Italian "1.234,50").
bool readNumber(std::string_view s, double* value)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    if (b == e)
        return false;
    const bool hasComma = s.find(',', b) < e;   // npos when there is none
    std::string t;
    t.reserve(e - b);
    bool digits = false, mark = false;
    for (size_t i = b; i < e; ++i) {
        const char ch = s[i];
        if (ch >= '0' && ch <= '9') {
            t += ch;
            digits = true;
        } else if ((ch == '+' || ch == '-') && i == b) {
            t += ch;
        } else if (ch == ',' || (ch == '.' && !hasComma)) {
            if (mark)
                return false;
            mark = true;
            t += '.';
        } else if (ch == '.' && hasComma && !mark && digits) {
            // thousands mark
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    *value = std::strtod(t.c_str(), nullptr);
    return true;
}
} // namespace

std::string_view Utf8Into(const QString& text, std::string& buffer)
{
    const qsizetype n = text.size();
    const QChar* p = text.constData();
    buffer.resize(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i].unicode();
        if (u >= 0x80) {
            buffer = text.toStdString();
            break;
        }
        buffer[static_cast<size_t>(i)] = static_cast<char>(u);
    }
    return buffer;
}

// --- the blocks of bytes ------------------------------------------------------------------------

CellStore::Ref CellStore::Arena::put(std::string_view text)
{
    if (text.empty())
        return {};
    const std::uint64_t n = text.size();
    const std::uint64_t limit = static_cast<std::uint64_t>(blocks.size()) << BlockBits;
    if (end + n > limit) {
        // A fresh allocation: one block, or as many consecutive block numbers as a long text needs.
        // The rest of the last one stays unused.
        const std::uint64_t count = std::max<std::uint64_t>(1, (n + BlockSize - 1) >> BlockBits);
        end = limit;
        if (((static_cast<std::uint64_t>(blocks.size()) + count) << BlockBits) > std::numeric_limits<std::uint32_t>::max())
            Err::Raise(7, QStringLiteral("Out of memory"));
        owned.emplace_back(new char[count << BlockBits]);
        for (std::uint64_t k = 0; k < count; ++k)
            blocks.push_back(owned.back().get() + (k << BlockBits));
    }
    const Ref r{static_cast<std::uint32_t>(end), static_cast<std::uint32_t>(n)};
    std::memcpy(blocks[r.pos >> BlockBits] + (r.pos & (BlockSize - 1)), text.data(), n);
    end += n;
    return r;
}

CellStore::Ref CellStore::store(std::string_view utf8)
{
    if (!readsBackUnchanged(utf8)) {
        // As a QString reads it: what is not valid UTF-8 becomes the replacement character.
        const QByteArray read = fromStore(utf8).toUtf8();
        return storeValid(std::string_view(read.constData(), static_cast<size_t>(read.size())));
    }
    return storeValid(utf8);
}

CellStore::Ref CellStore::storeValid(std::string_view utf8)
{
    const Ref r = arena_.put(utf8);
    live_ += r.len;
    return r;
}

CellStore::Ref CellStore::store(const QString& text) { return storeValid(Utf8Into(text, scratch_)); }

void CellStore::dropRange(size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        live_ -= cells_[i].len;
}

// Texts that no cell refers to any more (rewritten cells, cut rows) are let go once they
// outweigh the live ones.
void CellStore::compactIfWasteful()
{
    const std::uint64_t held = static_cast<std::uint64_t>(arena_.blocks.size()) << BlockBits;
    if (held <= 16 * BlockSize || held - live_ <= live_)
        return;
    Arena fresh;
    for (size_t i = 0; i < cells_.size(); ++i)
        cells_[i] = fresh.put(bytes(cells_[i]));
    arena_ = std::move(fresh);
}

// --- the references ---------------------------------------------------------------------------

void CellStore::Refs::resize(size_t n)
{
    const size_t blocks = (n + Size - 1) >> Bits;
    // Grown: what comes after the old end is empty, also in a block kept from a shrink.
    for (size_t i = size_; i < n && i < (blocks_.size() << Bits); ++i)
        (*this)[i] = Ref{};
    while (blocks_.size() > blocks)
        blocks_.pop_back();
    while (blocks_.size() < blocks)
        blocks_.emplace_back(new Ref[Size]);   // empty references
    size_ = n;
}

void CellStore::Refs::erase(size_t first, size_t count)
{
    for (size_t i = first; i + count < size_; ++i)
        (*this)[i] = (*this)[i + count];
    resize(size_ - count);
}

// --- the cells ---------------------------------------------------------------------------------

CellStore::CellStore(int rows, int cols) : rows_(rows), cols_(cols)
{
    cells_.resize(static_cast<size_t>(rows_) * cols_);
}

QString CellStore::Text(int row, int col) const { return fromStore(cell(row, col)); }

void CellStore::setText(int row, int col, const QString& text)
{
    const Ref fresh = store(text);
    Ref& r = cells_[index(row, col)];
    drop(r);
    r = fresh;
    compactIfWasteful();
}

void CellStore::setRows(int n)
{
    const size_t size = static_cast<size_t>(n) * cols_;
    if (size < cells_.size())
        dropRange(size, cells_.size());
    cells_.resize(size);
    rows_ = n;
    compactIfWasteful();
}

void CellStore::setCols(int n)
{
    Refs next;
    next.resize(static_cast<size_t>(rows_) * n);
    const int keep = std::min(n, cols_);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) {
            const Ref ref = cells_[index(r, c)];
            if (c < keep)
                next[static_cast<size_t>(r) * n + c] = ref;
            else
                drop(ref);
        }
    cells_.swap(next);
    cols_ = n;
    compactIfWasteful();
}

template <class T> void CellStore::appendRow(const T* cells, size_t count)
{
    const size_t base = cells_.size();
    cells_.resize(base + cols_);
    try {
        const size_t n = std::min(count, static_cast<size_t>(cols_));
        for (size_t c = 0; c < n; ++c)
            cells_[base + c] = store(cells[c]);
    } catch (...) {
        dropRange(base, cells_.size());   // no half row
        cells_.resize(base);
        throw;
    }
    ++rows_;
}

void CellStore::AppendRow(const std::vector<QString>& cells) { appendRow(cells.data(), cells.size()); }

void CellStore::AppendRow(const std::string_view* cells, size_t count) { appendRow(cells, count); }

void CellStore::RemoveRow(int row)
{
    const size_t first = index(row, 0);
    dropRange(first, first + cols_);
    cells_.erase(first, static_cast<size_t>(cols_));
    --rows_;
    compactIfWasteful();
}

void CellStore::Clear()
{
    for (size_t i = 0; i < cells_.size(); ++i)
        cells_[i] = Ref{};
    arena_ = Arena();
    live_ = 0;
}

std::vector<double> CellStore::NumberKeys(int col) const
{
    std::vector<double> keys(static_cast<size_t>(rows_), 0.0);
    for (int r = 1; r < rows_; ++r)
        readNumber(cell(r, col), &keys[static_cast<size_t>(r)]);
    return keys;
}

std::vector<int> CellStore::TextOrder(int col, int code) const
{
    const bool descending = code % 2 == 0;
    struct Key {
        double num = 0;
        bool isNum = false;
        QString text;
    };
    std::vector<Key> keys(static_cast<size_t>(rows_));
    for (int r = 1; r < rows_; ++r) {
        Key& k = keys[static_cast<size_t>(r)];
        const std::string_view s = cell(r, col);
        k.isNum = code <= 2 && readNumber(s, &k.num);
        k.text = fromStore(s);
        if (code != 7 && code != 8)
            k.text = k.text.toCaseFolded();
    }
    // -1, 0, 1 as a goes before, with, after b in ascending order.
    auto compare = [&](int a, int b) -> int {
        const Key& x = keys[static_cast<size_t>(a)];
        const Key& y = keys[static_cast<size_t>(b)];
        if (x.isNum && y.isNum)
            return x.num < y.num ? -1 : (y.num < x.num ? 1 : 0);
        const int t = x.text.compare(y.text);
        return t < 0 ? -1 : (t > 0 ? 1 : 0);
    };
    std::vector<int> order(static_cast<size_t>(rows_ - 1));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = compare(a, b);
        return descending ? c > 0 : c < 0;
    });
    return order;
}

std::vector<int> CellStore::KeyOrder(const std::vector<double>& keys, bool descending) const
{
    std::vector<int> order(static_cast<size_t>(rows_ - 1));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return descending ? keys[static_cast<size_t>(b)] < keys[static_cast<size_t>(a)]
                          : keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });
    return order;
}

void CellStore::Reorder(const std::vector<int>& order)
{
    Refs next;
    next.resize(cells_.size());
    size_t to = 0;
    for (int c = 0; c < cols_; ++c)
        next[to++] = cells_[static_cast<size_t>(c)];
    for (int r : order)
        for (int c = 0; c < cols_; ++c)
            next[to++] = cells_[index(r, c)];
    cells_.swap(next);
}

} // namespace platform
