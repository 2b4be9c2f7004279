#include "platform/FlexGridStore.h"
#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace platform {

namespace {

// Cell texts are kept as UTF-8; most are plain ASCII and skip the codec.
std::string toStore(const QString& text)
{
    const qsizetype n = text.size();
    const QChar* p = text.constData();
    std::string out;
    out.resize(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i].unicode();
        if (u >= 0x80)
            return text.toStdString();
        out[static_cast<size_t>(i)] = static_cast<char>(u);
    }
    return out;
}

QString fromStore(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A number as the grid reads cell text: optional sign, digits, one decimal mark; with both "."
// and "," present the dots group thousands (Italian "1.234,50").
bool readNumber(const std::string& s, double* value)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    if (b == e)
        return false;
    const bool hasComma = s.find(',', b) < e;
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

CellStore::CellStore(int rows, int cols) : rows_(rows), cols_(cols)
{
    cells_.resize(static_cast<size_t>(rows_) * cols_);
}

QString CellStore::Text(int row, int col) const { return fromStore(cell(row, col)); }

void CellStore::setText(int row, int col, const QString& text) { cells_[index(row, col)] = toStore(text); }

void CellStore::setRows(int n)
{
    cells_.resize(static_cast<size_t>(n) * cols_);
    rows_ = n;
}

void CellStore::setCols(int n)
{
    std::vector<std::string> next(static_cast<size_t>(rows_) * n);
    const int keep = std::min(n, cols_);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < keep; ++c)
            next[static_cast<size_t>(r) * n + c] = std::move(cells_[index(r, c)]);
    cells_.swap(next);
    cols_ = n;
}

void CellStore::AppendRow(const std::vector<QString>& cells)
{
    const size_t base = cells_.size();
    // Long fills grow the store in big steps: every regrowth moves all cells into fresh pages.
    if (cells_.capacity() < base + cols_)
        cells_.reserve(std::max<size_t>(4 * cells_.capacity(), base + 64 * static_cast<size_t>(cols_)));
    cells_.resize(base + cols_);
    const size_t n = std::min(cells.size(), static_cast<size_t>(cols_));
    for (size_t c = 0; c < n; ++c)
        cells_[base + c] = toStore(cells[c]);
    ++rows_;
}

void CellStore::RemoveRow(int row)
{
    const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(row) * cols_;
    cells_.erase(first, first + cols_);
    --rows_;
}

void CellStore::Clear()
{
    for (auto& s : cells_)
        s.clear();
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
        const std::string& s = cell(r, col);
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
    std::vector<std::string> next;
    next.reserve(cells_.size());
    for (int c = 0; c < cols_; ++c)
        next.push_back(std::move(cells_[static_cast<size_t>(c)]));
    for (int r : order)
        for (int c = 0; c < cols_; ++c)
            next.push_back(std::move(cells_[index(r, c)]));
    cells_.swap(next);
}

} // namespace platform
