#pragma once

#include "exchange/sheets/SheetReader.h"

#include <QIODevice>
#include <QString>
#include <QXmlStreamReader>

#include <memory>

class XlsxSharedStrings;
class XlsxStyles;

/// Reads the cells of an .xlsx worksheet part row by row as the texts a user sees: shared and
/// inline strings, formula results, numbers, booleans, and dates and times by their cell's
/// number format. Rows and cells are placed by their "r" references, or follow the one before
/// when they have none; cells beyond column AF are passed over.
class XlsxSheetParser final : public SheetReader {
public:
    /// `strings` and `styles` outlive the parser.
    XlsxSheetParser(std::unique_ptr<QIODevice> sheet, XlsxSharedStrings& strings,
                    const XlsxStyles& styles, bool date1904);
    ~XlsxSheetParser() override;
    Q_DISABLE_COPY_MOVE(XlsxSheetParser)

    int readNextRow(SheetCells& cells) override;

private:
    void readRow(SheetCells& cells, int row);
    void readCell(SheetCells& cells, int row, int column, QStringView type, int style);
    void readValue();

    std::unique_ptr<QIODevice> m_sheet;
    QXmlStreamReader m_xml;
    XlsxSharedStrings& m_strings;
    const XlsxStyles& m_styles;
    bool m_date1904;
    int m_lastRow = 0;
    bool m_done = false;
    QString m_value; // a cell's <v>, reused
};
