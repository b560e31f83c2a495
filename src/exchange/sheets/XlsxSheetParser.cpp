#include "exchange/sheets/XlsxSheetParser.h"

#include "exchange/ExcelAddress.h"
#include "exchange/ExcelValueText.h"
#include "exchange/sheets/AsciiRuns.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxEscapes.h"
#include "exchange/sheets/XlsxSharedStrings.h"
#include "exchange/sheets/XlsxStyles.h"

#include <bit>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using Token = XlsxXmlScanner::Token;

namespace {

// One row may take this many bytes of the part; past it the sheet ends there. Even 16,384
// cells of long texts stay far below it.
constexpr qint64 kRowBudget = 256 * 1024 * 1024;
// Room for the longest cell text written entirely as "_xHHHH_" escapes, in characters and in
// the UTF-8 bytes that could hold them.
constexpr qsizetype kMaxRawText = 7 * qsizetype(SheetCells::MaxTextLength);
constexpr size_t kMaxRawBytes = 3 * size_t(kMaxRawText) + 4;

// Up to eight ASCII digits as a number, all in one word; nothing when they are not all digits.
std::optional<int> eightDigits(std::string_view text) {
    if constexpr (std::endian::native != std::endian::little) {
        return std::nullopt;
    }
    // Padded with leading zeros, the first digit in the lowest byte after them. Four or more
    // are read as two words that may overlap, fewer byte by byte.
    const size_t n = text.size();
    quint64 word = 0x3030303030303030ULL;
    if (n >= 4) {
        quint32 first;
        quint32 last;
        std::memcpy(&first, text.data(), 4);
        std::memcpy(&last, text.data() + n - 4, 4);
        const quint64 padding = n == 8 ? 0 : word >> (8 * n);
        word = padding | quint64(first) << (8 * (8 - n)) | quint64(last) << 32;
    } else {
        for (char c : text) {
            word = word >> 8 | quint64(quint8(c)) << 56;
        }
    }
    constexpr quint64 kHighNibbles = 0xF0F0F0F0F0F0F0F0ULL;
    if ((word & kHighNibbles) != 0x3030303030303030ULL ||
        ((word + 0x0606060606060606ULL) & kHighNibbles) != 0x3030303030303030ULL) {
        return std::nullopt;
    }
    // Pairs of digits, then fours, then all eight.
    word = (word & 0x0F0F0F0F0F0F0F0FULL) * 2561 >> 8;
    word = (word & 0x00FF00FF00FF00FFULL) * 6553601 >> 16;
    return int(quint32((word & 0x0000FFFF0000FFFFULL) * 42949672960001ULL >> 32));
}

// The detours, apart so that the usual cases need no stack frame of their own.
[[gnu::noinline]] int toIntAsText(std::string_view text, bool* ok) {
    return QString::fromUtf8(text.data(), qsizetype(text.size())).trimmed().toInt(ok);
}

[[gnu::noinline]] int columnOfLettersBeyondAscii(std::string_view reference) {
    const QString text = QString::fromUtf8(reference.data(), qsizetype(reference.size()));
    qsizetype count = 0;
    while (count < text.size() && text[count].isLetter()) {
        ++count;
    }
    return ExcelAddress::columnOfLetters(QStringView(text).first(count));
}

// A number as QString::toInt reads it; short runs of digits without the detour.
int toInt(std::string_view text, bool* ok) {
    if (!text.empty() && text.size() <= 8) {
        if (const std::optional<int> value = eightDigits(text)) {
            *ok = true;
            return *value;
        }
    } else if (text.size() == 9) {
        // Unsigned, so bytes that are no digits wrap harmlessly before they are refused.
        unsigned value = 0;
        unsigned outside = 0;
        for (char c : text) {
            const unsigned digit = unsigned(quint8(c)) - '0';
            outside |= unsigned(digit > 9);
            value = value * 10 + digit;
        }
        if (!outside) {
            *ok = true;
            return int(value);
        }
    }
    return toIntAsText(text, ok);
}

// The column that a cell reference's letters name, 0 when they name none.
int columnOfReference(std::string_view reference) {
    // ExcelAddress::columnOfLetters, for ASCII letters without the detour.
    int column = 0;
    size_t letters = 0;
    for (; letters < reference.size() && letters <= 3; ++letters) {
        const unsigned c = quint8(reference[letters]) | 0x20; // lower case
        if (c - 'a' > 'z' - 'a') {
            break;
        }
        column = column * 26 + int(c - 'a' + 1);
    }
    if (letters < reference.size() && letters <= 3 && quint8(reference[letters]) >= 0x80) {
        return columnOfLettersBeyondAscii(reference); // a letter beyond ASCII may follow
    }
    if (letters == 0 || letters > 3 || column > ExcelAddress::MaxSheetColumns) {
        return 0;
    }
    return column;
}

// A cell in the shape most writers give it: `<c r="B7"`, then ` s="3"` and ` t="s"` when it
// has them, and `/>`, `><v>text</v></c>` or, for an inline string,
// `><is><t>text</t></is></c>`; its attribute values and text without references or line
// ends, all of it in the bytes at hand. White space may come before it.
struct UsualCell {
    size_t size = 0; // the bytes it takes, 0 when they hold no usual cell
    int column = 0;
    int style = 0;
    std::string_view type;                // as written, empty without one
    std::optional<std::string_view> text; // none for <c .../>
    int sharedIndex = -1;                 // a shared string's, when its digits were read here
};

// The most bytes a usual cell's tag takes before its text, or with a shared string's index and
// the tags that close it. Only with this many at hand is a cell read in one step, so its tag
// is matched without looking where the bytes end.
constexpr size_t kUsualTagRoom = 64;

// The closing quote of a plain value of at most fifteen bytes from `p` on (no references, no
// white space but spaces), nullptr when there is none.
const char* shortPlainValueEnd(const char* p) {
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const unsigned quotes = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('"'))));
    const __m128i control = _mm_set1_epi8(0x1F);
    const unsigned special = unsigned(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(v, _mm_set1_epi8('&')), _mm_cmpeq_epi8(_mm_max_epu8(v, control), control))));
    if (!quotes || (special & ((quotes & (~quotes + 1)) - 1)) != 0) {
        return nullptr;
    }
    return p + std::countr_zero(quotes);
#else
    for (const char* q = p; q < p + 16; ++q) {
        if (*q == '"') {
            return q;
        }
        if (*q == '&' || quint8(*q) < 0x20) {
            return nullptr;
        }
    }
    return nullptr;
#endif
}

// Inline: it runs for nearly every cell, and its result then needs no copy.
[[gnu::always_inline]] inline UsualCell usualCell(std::string_view bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end && *p != '<' && (*p == '\n' || *p == ' ' || *p == '\t' || *p == '\r')) {
        ++p;
    }
    if (size_t(end - p) < kUsualTagRoom || !AsciiRuns::same(p, "<c r=\"", 6)) {
        return {};
    }
    p += 6;
    const char* const quote = shortPlainValueEnd(p);
    if (!quote) {
        return {};
    }
    // Only the letters of the reference count, as columnOfReference reads them; a fourth
    // letter or one beyond ASCII is left to it.
    UsualCell cell;
    const auto letter = [](char c) { return unsigned(quint8(c) | 0x20) - 'a' < 26; };
    const char* q = p;
    for (; q < quote && q - p < 3 && letter(*q); ++q) {
        cell.column = cell.column * 26 + int((quint8(*q) | 0x20) - 'a' + 1);
    }
    if (q == p || (q < quote && (letter(*q) || quint8(*q) >= 0x80)) ||
        cell.column > ExcelAddress::MaxSheetColumns) {
        return {};
    }
    p = quote + 1;
    if (AsciiRuns::same(p, " s=\"", 4)) {
        p += 4;
        const char* const number = p;
        for (; p - number < 9 && unsigned(*p - '0') < 10; ++p) {
            cell.style = cell.style * 10 + (*p - '0');
        }
        if (p == number || *p != '"') {
            return {};
        }
        ++p;
    }
    if (AsciiRuns::same(p, " t=\"s\"", 6)) {
        cell.type = std::string_view(p + 4, 1);
        p += 6;
        // Most cells of most workbooks: the index of a shared string, read as its digits pass.
        if (AsciiRuns::same(p, "><v>", 4)) {
            const char* const digits = p + 4;
            const char* q = digits;
            unsigned index = 0;
            for (; q - digits < 9 && unsigned(*q - '0') < 10; ++q) {
                index = index * 10 + unsigned(*q - '0');
            }
            if (q > digits && AsciiRuns::same(q, "</v></c>", 8)) {
                cell.text = std::string_view(digits, size_t(q - digits));
                cell.sharedIndex = int(index);
                cell.size = size_t(q + 8 - bytes.data());
                return cell;
            }
        }
    } else if (AsciiRuns::same(p, " t=\"inlineStr\"", 14)) {
        // The other usual type, a text held in the cell, is matched whole: letter by letter
        // its name costs more than the rest of the tag.
        cell.type = std::string_view(p + 4, 9);
        p += 14;
    } else if (AsciiRuns::same(p, " t=\"", 4)) {
        p += 4;
        const char* const name = p;
        while (p - name < 9 && letter(*p)) {
            ++p;
        }
        if (p == name || *p != '"') {
            return {};
        }
        cell.type = std::string_view(name, size_t(p - name));
        ++p;
    }
    if (AsciiRuns::same(p, "/>", 2)) {
        cell.size = size_t(p + 2 - bytes.data());
        return cell;
    }
    const bool inlineText = cell.type == "inlineStr";
    const std::string_view open = inlineText ? "><is><t>" : "><v>";
    const std::string_view close = inlineText ? "</t></is></c>" : "</v></c>";
    if (!AsciiRuns::same(p, open.data(), open.size())) {
        return {};
    }
    const char* const text = p + open.size();
    p = AsciiRuns::findSpecial(text, end);
    if (size_t(end - p) < close.size() || !AsciiRuns::same(p, close.data(), close.size())) {
        return {};
    }
    cell.text = std::string_view(text, size_t(p - text));
    cell.size = size_t(p + close.size() - bytes.data());
    return cell;
}

} // namespace

XlsxSheetParser::CellType XlsxSheetParser::typeOf(std::string_view name) {
    if (name == "s") {
        return CellType::Shared;
    }
    if (name == "inlineStr") {
        return CellType::Inline;
    }
    if (name == "str" || name == "e") {
        return CellType::Text;
    }
    if (name == "b") {
        return CellType::Boolean;
    }
    if (name == "d") {
        return CellType::IsoDate;
    }
    return CellType::Number;
}

XlsxSheetParser::XlsxSheetParser(std::unique_ptr<QIODevice> sheet, XlsxSharedStrings& strings,
                                 const XlsxStyles& styles, bool date1904,
                                 ReadAheadStream::Reading reading, ReadAheadThread* thread)
    : m_xml(std::move(sheet), reading, ReadAheadStream::DefaultChunkBytes, thread),
      m_strings(strings), m_styles(styles), m_date1904(date1904) {}

XlsxSheetParser::~XlsxSheetParser() = default;

int XlsxSheetParser::readNextRow(SheetCells& cells) {
    while (!m_done) {
        m_xml.setBudget(kRowBudget);
        const Token token = m_xml.next();
        if (token == Token::Finished) {
            break;
        }
        if (token == Token::EndTag) {
            if (m_xml.name() == "sheetData") {
                break;
            }
            continue;
        }
        if (m_xml.name() != "row") {
            continue;
        }
        bool ok = false;
        int row = 0;
        if (const std::optional<std::string_view> number = m_xml.attribute("r")) {
            row = toInt(*number, &ok);
        }
        if (!ok) {
            row = m_lastRow + 1;
        }
        if (row < 1 || row > ExcelAddress::MaxSheetRows) {
            break;
        }
        m_lastRow = row;
        if (token == Token::StartTag) {
            readRow(cells, row);
        }
        return row;
    }
    m_done = true;
    return 0;
}

void XlsxSheetParser::readRow(SheetCells& cells, int row) {
    int column = 0;
    int count = 0;
    for (;;) {
        // Most cells are read in one step, the others tag by tag.
        if (const UsualCell cell = usualCell(m_xml.ahead()); cell.size > 0) {
            if (++count > ExcelAddress::MaxSheetColumns) {
                m_done = true;
                return;
            }
            m_xml.skip(cell.size);
            column = cell.column;
            if (cell.sharedIndex >= 0) {
                if (column <= ExcelAddress::MaxColumns) {
                    cells.set(row, column, m_strings.at(cell.sharedIndex));
                }
            } else if (cell.text && column <= ExcelAddress::MaxColumns) {
                setContent(cells, row, column, typeOf(cell.type), cell.style, *cell.text);
            }
            continue;
        }
        const Token token = m_xml.next();
        if (token == Token::Finished) {
            return;
        }
        if (token == Token::EndTag) {
            if (m_xml.name() == "row") {
                return;
            }
            continue;
        }
        const bool hasContent = token == Token::StartTag;
        if (m_xml.name() != "c") {
            if (hasContent && !m_xml.skipElement()) {
                return;
            }
            continue;
        }
        if (++count > ExcelAddress::MaxSheetColumns) {
            m_done = true; // no sheet has more cells in a row
            return;
        }
        // One pass over the attributes: r, t and s are all a cell has.
        const XlsxXmlScanner::Attribute* reference = nullptr;
        const XlsxXmlScanner::Attribute* typeName = nullptr;
        const XlsxXmlScanner::Attribute* styleNumber = nullptr;
        for (const XlsxXmlScanner::Attribute& attribute : m_xml.attributes()) {
            if (attribute.name.size() != 1) {
                continue;
            }
            switch (attribute.name[0]) {
            case 'r':
                reference = reference ? reference : &attribute;
                break;
            case 't':
                typeName = typeName ? typeName : &attribute;
                break;
            case 's':
                styleNumber = styleNumber ? styleNumber : &attribute;
                break;
            default:
                break;
            }
        }
        const int named = !reference         ? 0
                          : reference->plain ? columnOfReference(reference->value)
                                             : columnOfReference(m_xml.value(*reference));
        column = named > 0 ? named : column + 1;
        if (column > ExcelAddress::MaxColumns) {
            if (hasContent && !m_xml.skipElement()) {
                return;
            }
            continue;
        }
        if (!hasContent) {
            continue; // <c/> holds no value
        }
        const CellType type = !typeName         ? CellType::Number
                              : typeName->plain ? typeOf(typeName->value)
                                                : typeOf(m_xml.value(*typeName));
        int style = 0;
        if (styleNumber && !styleNumber->value.empty()) {
            bool ok = false;
            style = toInt(m_xml.value(*styleNumber), &ok);
        }
        readCell(cells, row, column, type, style);
    }
}

bool XlsxSheetParser::readValue() {
    m_valueBytes.clear();
    for (;;) {
        const Token token = m_xml.next(&m_valueBytes, kMaxRawBytes);
        if (token == Token::Finished) {
            return false;
        }
        if (token == Token::EndTag) {
            return true;
        }
        if (token == Token::StartTag && !m_xml.skipElement()) {
            return false;
        }
    }
}

QStringView XlsxSheetParser::valueText(std::string_view bytes) {
    m_value.resize(0);
    XlsxXmlScanner::appendUtf8(m_value, bytes);
    if (m_value.size() > kMaxRawText) {
        m_value.truncate(kMaxRawText);
    }
    return m_value;
}

void XlsxSheetParser::readCell(SheetCells& cells, int row, int column, CellType type, int style) {
    bool hasValue = false;
    bool hasInline = false;
    // Most cells are a value or an inline text, and nothing else.
    const bool inlineText = type == CellType::Inline;
    if (const std::optional<std::string_view> text =
            inlineText ? m_xml.takeSimpleContent("<is><t>", "</t></is></c>")
                       : m_xml.takeSimpleContent("<v>", "</v></c>")) {
        setContent(cells, row, column, type, style, *text);
        return;
    }
    for (;;) {
        const Token token = m_xml.next();
        if (token == Token::Finished) {
            return; // a cell cut off by the end of the part is left out
        }
        if (token == Token::EndTag) {
            break; // </c>
        }
        const bool hasContent = token == Token::StartTag;
        if (m_xml.name() == "v") {
            if (hasContent) {
                if (!readValue()) {
                    return;
                }
            } else {
                m_valueBytes.clear();
            }
            hasValue = true;
        } else if (m_xml.name() == "is") {
            m_inline.resize(0);
            if (hasContent && !XlsxSharedStrings::readStringItem(m_xml, m_itemBytes, m_inline)) {
                return;
            }
            hasInline = true;
        } else if (hasContent && !m_xml.skipElement()) {
            return; // formulas and extensions
        }
    }
    if (hasInline && (type == CellType::Inline || !hasValue)) {
        cells.set(row, column, m_inline);
        return;
    }
    if (hasValue) {
        setValue(cells, row, column, type, style, m_valueBytes);
    }
}

void XlsxSheetParser::setContent(SheetCells& cells, int row, int column, CellType type, int style,
                                 std::string_view text) {
    if (type == CellType::Shared) {
        setShared(cells, row, column, text); // most cells of most workbooks
    } else if (type != CellType::Inline) {
        setValue(cells, row, column, type, style, text);
    } else if (AsciiRuns::asciiWithout(text, '_')) {
        cells.setAscii(row, column, text);
    } else {
        m_inline.resize(0);
        XlsxSharedStrings::appendItemText(m_inline, text);
        cells.set(row, column, m_inline);
    }
}

void XlsxSheetParser::setShared(SheetCells& cells, int row, int column, std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    bool ok = false;
    const int index = toInt(bytes, &ok);
    if (ok) {
        cells.set(row, column, m_strings.at(index));
    }
}

void XlsxSheetParser::setValue(SheetCells& cells, int row, int column, CellType type, int style,
                               std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    switch (type) {
    case CellType::Shared:
        setShared(cells, row, column, bytes);
        return;
    case CellType::Inline:
    case CellType::Text: {
        const QStringView text = valueText(bytes);
        if (bytes.find('_') == std::string_view::npos) {
            cells.set(row, column, text);
        } else {
            cells.set(row, column, XlsxEscapes::decode(text));
        }
        return;
    }
    case CellType::Boolean:
        cells.set(row, column, ExcelValueText::boolean(valueText(bytes).trimmed()));
        return;
    case CellType::IsoDate: {
        // "2024-03-15T13:45:00": the date, and the time when there is one.
        QString text = valueText(bytes).trimmed().toString();
        text.replace(u'T', u' ');
        if (text.endsWith(u" 00:00:00")) {
            text.chop(9);
        }
        cells.set(row, column, text);
        return;
    }
    case CellType::Number: {
        const QStringView text = valueText(bytes);
        bool ok = false;
        const double number = text.trimmed().toDouble(&ok);
        if (!ok) {
            cells.set(row, column, text);
            return;
        }
        cells.set(row, column, ExcelValueText::serial(number, m_styles.kindOf(style), m_date1904));
        return;
    }
    }
}
