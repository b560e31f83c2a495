#pragma once

#include "exchange/sheets/SheetReader.h"
#include "exchange/sheets/XlsxXmlScanner.h"

#include <QIODevice>
#include <QString>

#include <memory>
#include <string>
#include <string_view>

class XlsxSharedStrings;
class XlsxStyles;

/// Reads the cells of an .xlsx worksheet part row by row as the texts a user sees: shared and
/// inline strings, formula results, numbers, booleans, and dates and times by their cell's
/// number format. Rows and cells are placed by their "r" references, or follow the one before
/// when they have none; cells beyond column AF are passed over. The part is inflated on
/// another thread while its rows are read (XlsxXmlScanner).
class XlsxSheetParser final : public SheetReader {
public:
    /// `strings` and `styles` outlive the parser. The sheet is inflated on a thread of its own
    /// (or `thread`, which outlives the parser) unless `reading` says otherwise.
    XlsxSheetParser(std::unique_ptr<QIODevice> sheet, XlsxSharedStrings& strings,
                    const XlsxStyles& styles, bool date1904,
                    ReadAheadStream::Reading reading = ReadAheadStream::Reading::Ahead,
                    ReadAheadThread* thread = nullptr);
    ~XlsxSheetParser() override;
    Q_DISABLE_COPY_MOVE(XlsxSheetParser)

    int readNextRow(SheetCells& cells) override;

private:
    enum class CellType { Number, Shared, Inline, Text, Boolean, IsoDate };

    static CellType typeOf(std::string_view name);
    void readRow(SheetCells& cells, int row);
    void readCell(SheetCells& cells, int row, int column, CellType type, int style);
    bool readValue();
    // Sets the cell to its value, the raw text of its <v>, as its type reads it.
    void setValue(SheetCells& cells, int row, int column, CellType type, int style,
                  std::string_view bytes);
    // Sets the cell to the content of its usual shape: the raw text of its <v>, or of the <t>
    // of its inline string.
    void setContent(SheetCells& cells, int row, int column, CellType type, int style,
                    std::string_view text);
    // Sets the cell to the shared string that `bytes` give the index of.
    void setShared(SheetCells& cells, int row, int column, std::string_view bytes);
    // A value as text, cut to the longest raw text kept.
    QStringView valueText(std::string_view bytes);

    XlsxXmlScanner m_xml;
    XlsxSharedStrings& m_strings;
    const XlsxStyles& m_styles;
    bool m_date1904;
    int m_lastRow = 0;
    bool m_done = false;
    std::string m_valueBytes; // a cell's <v>, reused
    std::string m_itemBytes;  // a cell's <is>, reused
    QString m_value;
    QString m_inline;
};
