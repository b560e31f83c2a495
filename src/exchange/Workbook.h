#pragma once

#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/SheetReader.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>

/// One workbook of the spreadsheet stand-in, reduced to what the exchange uses: the cells of
/// its active sheet. A new workbook starts empty and holds what is set. An opened one reads
/// its file only as far as its cells are asked for, and keeps only the last KeptRows rows it
/// read: a row before them is read again from the start of the file. Reading forward, as the
/// import does, a workbook of any size takes little memory.
class Workbook final {
public:
    /// Opens the file again from its start.
    using ReaderSource = std::function<std::unique_ptr<SheetReader>()>;

    static constexpr int KeptRows = 1024;

    /// A new, empty workbook.
    Workbook();
    /// The workbook of the file `path`, read by `reader`; `reopen` gives a fresh reader of the
    /// same file (without one, every row read is kept).
    Workbook(const QString& path, std::unique_ptr<SheetReader> reader, ReaderSource reopen = {});
    ~Workbook();
    Q_DISABLE_COPY_MOVE(Workbook)

    /// The active sheet's cell; valid until the workbook next changes or reads further.
    QStringView value(int row, int column);
    /// False when the cell lies outside the sheet.
    bool setValue(int row, int column, QStringView text);

    /// The file the workbook came from; "" for a new one.
    const QString& path() const { return m_path; }
    /// The cells held now.
    const SheetCells& cells() const { return m_cells; }

private:
    void readThrough(int row);

    QString m_path;
    SheetCells m_cells;
    std::unique_ptr<SheetReader> m_reader; // nullptr once the file is read to its end
    ReaderSource m_reopen;
    int m_highestRowRead = 0;
    int m_firstKeptRow = 1;
};
