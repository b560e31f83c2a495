#pragma once

#include "exchange/ExcelAddress.h"
#include "exchange/sheets/SheetReader.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <memory>

class ByteReader;
class QIODevice;

/// Reads the first table of an HTML page (.htm, .html, or a spreadsheet saved as a web page)
/// as a sheet: each row of it a sheet row, each cell the text a browser shows, with spanned
/// cells taking their columns and rows. Markup, comments, scripts and styles are skipped and
/// character references decoded. Text is UTF-8 or, where it is not, Windows-1250.
class HtmlTableReader final : public SheetReader {
public:
    /// Reads from `device`, open and at its start.
    explicit HtmlTableReader(std::unique_ptr<QIODevice> device);
    ~HtmlTableReader() override;
    Q_DISABLE_COPY_MOVE(HtmlTableReader)

    int readNextRow(SheetCells& cells) override;

private:
    struct Tag;

    bool readTag(Tag& tag);
    void skipPast(const char* terminator);
    void skipRawText(const QByteArray& name);
    void startRow();
    void startCell(const Tag& tag);
    void endCell(SheetCells& cells);
    void appendText(int c);
    void appendLineBreak();

    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<ByteReader> m_input;
    int m_depth = 0; // nesting of tables; 1 inside the first table itself
    bool m_done = false;
    bool m_rowOpen = false;
    bool m_rowPending = false; // a row began while the previous one was being finished
    bool m_cellOpen = false;
    int m_row = 0;
    int m_column = 1;
    int m_cellColumn = 0;
    int m_cellColumnSpan = 1;
    int m_cellRowSpan = 1;
    QByteArray m_text;
    bool m_pendingSpace = false;
    // The last row that a cell spanning down from above covers, per column.
    std::array<int, ExcelAddress::MaxColumns> m_coveredThrough{};
};
