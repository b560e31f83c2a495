#pragma once

#include "SheetCells.h"
#include "SheetReader.h"

#include <QString>
#include <QStringView>

#include <memory>

/// One workbook of the spreadsheet stand-in, reduced to what the exchange uses: the cells of
/// its active sheet. A new workbook starts empty; an opened one reads its file only as far as
/// its cells are asked for.
class Workbook final {
public:
    /// A new, empty workbook.
    Workbook();
    /// The workbook of the file `path`, read by `reader`.
    Workbook(const QString& path, std::unique_ptr<SheetReader> reader);
    ~Workbook();
    Q_DISABLE_COPY_MOVE(Workbook)

    /// The active sheet's cell; valid until the workbook next changes or reads further.
    QStringView value(int row, int column);
    /// False when the cell lies outside the sheet.
    bool setValue(int row, int column, QStringView text);

    /// The file the workbook came from; "" for a new one.
    const QString& path() const { return m_path; }
    /// The cells held so far.
    const SheetCells& cells() const { return m_cells; }

private:
    void readThrough(int row);

    QString m_path;
    SheetCells m_cells;
    std::unique_ptr<SheetReader> m_reader; // nullptr once the file is read to its end
    int m_highestRowRead = 0;
};
