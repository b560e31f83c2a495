#pragma once

#include <QStringView>

#include <array>
#include <optional>

/// Sheet cell addresses such as "A1" or "AF17": a column of letters followed by a row number.
/// A table's 32 columns map to the letters "A" .. "Z", "AA" .. "AF".
namespace ExcelAddress {

/// The columns a table can hold, and so the only sheet columns the exchange keeps.
inline constexpr int MaxColumns = 32;
/// The last row and column of an .xlsx sheet (XFD1048576).
inline constexpr int MaxSheetRows = 1048576;
inline constexpr int MaxSheetColumns = 16384;

struct Position {
    int row = 0;
    int column = 0;
};

/// An address as text, held without a heap allocation: one is made for every exported cell.
struct Text {
    std::array<char16_t, 10> chars{}; // "AF1048576" at most
    qsizetype size = 0;

    QStringView view() const { return QStringView(chars.data(), size); }
    operator QStringView() const { return view(); }
};

/// The address of a cell in columns 1..32, e.g. of(32, 17) is "AF17"; "" out of range.
Text of(int column, int row);

/// The column that letters name ("A" 1 .. "XFD" 16384, either case); 0 when they name none.
int columnOfLetters(QStringView letters);

/// Row and column of an address in columns A..AF and rows 1..MaxSheetRows; nothing for an
/// address outside them or one that is not an address at all.
std::optional<Position> parse(QStringView address);

} // namespace ExcelAddress
