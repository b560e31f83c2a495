#pragma once

#include "exchange/sheets/SheetReader.h"
#include "text/FileResult.h"

#include <QString>

#include <memory>

/// Reads the first worksheet of a legacy binary workbook (.xls, .xlt, .xla) through FreeXL:
/// texts as they are, numbers as the general format shows them, dates and times as ISO text.
class XlsReader final : public SheetReader {
public:
    /// The reader, or nullptr and why when FreeXL cannot read the file or a password
    /// protects it.
    static Opened<XlsReader> open(const QString& path);
    ~XlsReader() override;
    Q_DISABLE_COPY_MOVE(XlsReader)

    int readNextRow(SheetCells& cells) override;

private:
    XlsReader(const void* handle, unsigned int rows, unsigned short columns);

    const void* m_handle;
    unsigned int m_rows;
    unsigned short m_columns;
    int m_next = 1;
};
