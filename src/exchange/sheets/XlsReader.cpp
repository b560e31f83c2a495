#include "exchange/sheets/XlsReader.h"

#include "exchange/ExcelAddress.h"
#include "exchange/ExcelValueText.h"
#include "exchange/sheets/SheetCells.h"

#include <QFile>

#include <freexl.h>

Opened<XlsReader> XlsReader::open(const QString& path) {
    const void* handle = nullptr;
    unsigned int protection = FREEXL_BIFF_PLAIN;
    unsigned int rows = 0;
    unsigned short columns = 0;
    const bool usable = freexl_open(QFile::encodeName(path).constData(), &handle) == FREEXL_OK &&
                        freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &protection) == FREEXL_OK &&
                        protection != FREEXL_BIFF_OBFUSCATED &&
                        freexl_select_active_worksheet(handle, 0) == FREEXL_OK &&
                        freexl_worksheet_dimensions(handle, &rows, &columns) == FREEXL_OK;
    if (!usable) {
        // FreeXL wants its handle closed even after a failed open.
        if (handle) {
            freexl_close(handle);
        }
        return Opened<XlsReader>::failed(FileResult::cannotRead(
            path, QStringLiteral("the workbook cannot be read or is protected by a password")));
    }
    return {std::unique_ptr<XlsReader>(new XlsReader(handle, rows, columns)),
            FileResult::done(path)};
}

XlsReader::XlsReader(const void* handle, unsigned int rows, unsigned short columns)
    : m_handle(handle), m_rows(rows), m_columns(columns) {}

XlsReader::~XlsReader() {
    freexl_close(m_handle);
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
