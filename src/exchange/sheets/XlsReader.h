#pragma once

#include "exchange/sheets/SheetReader.h"
#include "text/FileResult.h"

#include <QString>

#include <memory>

class ImportBudget;

/// Reads the first worksheet of a legacy binary workbook (.xls, .xlt, .xla) through FreeXL:
/// texts as they are, numbers as the general format shows them, dates and times as ISO text.
class XlsReader final : public SheetReader {
public:
    /// The reader, or nullptr and why when FreeXL cannot read the file or a password
    /// protects it. FreeXL reads the whole workbook as it opens it; what it then holds (its
    /// string table and the cells of every sheet) is taken from `budget` (none: not bounded),
    /// which outlives the reader. When that would pass the budget, FreeXL lets go of it at
    /// once and the reader is refused.
    static Opened<XlsReader> open(const QString& path, ImportBudget* budget = nullptr);
    ~XlsReader() override;
    Q_DISABLE_COPY_MOVE(XlsReader)

    int readNextRow(SheetCells& cells) override;

private:
    XlsReader(const void* handle, unsigned int rows, unsigned short columns, ImportBudget* budget,
              qint64 taken);

    const void* m_handle;
    ImportBudget* m_budget;
    qint64 m_taken; // of the budget
    unsigned int m_rows;
    unsigned short m_columns;
    int m_next = 1;
};
