#include "exchange/sheets/XlsReader.h"

#include "exchange/ExcelAddress.h"
#include "exchange/ExcelValueText.h"
#include "exchange/ImportBudget.h"
#include "exchange/sheets/SheetCells.h"

#include <QFile>
#include <QFileInfo>

#include <freexl.h>

#include <cstring>

namespace {

// What FreeXL keeps per string and per cell beyond the string's own bytes.
constexpr qint64 kStringOverhead = 24;
constexpr qint64 kCellSize = qint64(sizeof(FreeXL_CellValue));
// FreeXL shows only the first strings of its table.
constexpr unsigned int kVisibleStrings = 65536;

// What an opened workbook holds in FreeXL: the string table, each string converted to UTF-8,
// and a cell for every row and column of every sheet. Strings past the ones FreeXL shows are
// known only by their count; together they hold no more than twice the file's bytes.
qint64 heldByFreeXl(const void* handle, const QString& path) {
    qint64 held = 0;
    unsigned int strings = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_STRING_COUNT, &strings) == FREEXL_OK) {
        held += kStringOverhead * qint64(strings);
        for (unsigned int i = 0; i < qMin(strings, kVisibleStrings); ++i) {
            const char* text = nullptr;
            if (freexl_get_SST_string(handle, quint16(i), &text) == FREEXL_OK && text) {
                held += qint64(std::strlen(text));
            }
        }
        if (strings > kVisibleStrings) {
            held += 2 * QFileInfo(path).size();
        }
    }
    unsigned int sheets = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) == FREEXL_OK) {
        for (unsigned int sheet = 0; sheet < qMin(sheets, 65535u); ++sheet) {
            unsigned int rows = 0;
            unsigned short columns = 0;
            if (freexl_select_active_worksheet(handle, quint16(sheet)) == FREEXL_OK &&
                freexl_worksheet_dimensions(handle, &rows, &columns) == FREEXL_OK) {
                held += kCellSize * qint64(rows) * qint64(columns);
            }
        }
    }
    return held;
}

} // namespace

Opened<XlsReader> XlsReader::open(const QString& path, ImportBudget* budget) {
    const void* handle = nullptr;
    unsigned int protection = FREEXL_BIFF_PLAIN;
    unsigned int rows = 0;
    unsigned short columns = 0;
    const bool opened = freexl_open(QFile::encodeName(path).constData(), &handle) == FREEXL_OK &&
                        freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &protection) == FREEXL_OK &&
                        protection != FREEXL_BIFF_OBFUSCATED;
    const qint64 held = opened && budget ? heldByFreeXl(handle, path) : 0;
    const bool withinBudget = !budget || budget->take(held);
    const bool usable = opened && withinBudget &&
                        freexl_select_active_worksheet(handle, 0) == FREEXL_OK &&
                        freexl_worksheet_dimensions(handle, &rows, &columns) == FREEXL_OK;
    if (!usable) {
        // FreeXL wants its handle closed even after a failed open.
        if (handle) {
            freexl_close(handle);
        }
        if (budget && withinBudget) {
            budget->giveBack(held);
        }
        return Opened<XlsReader>::failed(FileResult::cannotRead(
            path, withinBudget
                      ? QStringLiteral("the workbook cannot be read or is protected by a password")
                      : QStringLiteral("the workbook holds more text than can be imported")));
    }
    return {std::unique_ptr<XlsReader>(new XlsReader(handle, rows, columns, budget, held)),
            FileResult::done(path)};
}

XlsReader::XlsReader(const void* handle, unsigned int rows, unsigned short columns,
                     ImportBudget* budget, qint64 taken)
    : m_handle(handle), m_budget(budget), m_taken(taken), m_rows(rows), m_columns(columns) {}

XlsReader::~XlsReader() {
    freexl_close(m_handle);
    if (m_budget) {
        m_budget->giveBack(m_taken);
    }
}

int XlsReader::readNextRow(SheetCells& cells) {
    if (m_next > int(qMin<unsigned int>(m_rows, ExcelAddress::MaxSheetRows))) {
        return 0;
    }
    const int row = m_next++;
    const int columns = qMin<int>(m_columns, ExcelAddress::MaxColumns);
    for (int column = 1; column <= columns; ++column) {
        FreeXL_CellValue value;
        if (freexl_get_cell_value(m_handle, unsigned(row - 1), quint16(column - 1), &value) !=
            FREEXL_OK) {
            continue;
        }
        switch (value.type) {
        case FREEXL_CELL_INT:
            cells.set(row, column, QString::number(value.value.int_value));
            break;
        case FREEXL_CELL_DOUBLE:
            cells.set(row, column, ExcelValueText::number(value.value.double_value));
            break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            if (value.value.text_value) {
                cells.set(row, column, QString::fromUtf8(value.value.text_value));
            }
            break;
        default:
            break;
        }
    }
    return row;
}
