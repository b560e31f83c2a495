// Fuzzes the spreadsheet readers behind the import. The first byte picks the reader, the rest
// is its input:
//   0  delimited text (.csv, .txt, .prn)
//   1  an HTML page (its first table)
//   2  .xlsx XML: the same bytes serve as the worksheet, the shared strings and the styles
//      part, so one input can reach all three parsers and their interplay; the worksheet and
//      the shared strings are handed out a few bytes at a time (the first byte says how many),
//      so the chunks their scanner reads end anywhere
//   3  .xlsx package parts: relationships and workbook
//   4  a whole .xlsx zip package
// Every reader must come back, whatever the bytes, having read at most what the bytes hold;
// each text it stores must fit a cell. The readers hold their texts within a small import
// budget and give all of it back when they close. For the readers of whole sheets (0, 1, 4)
// the import itself runs as well, within a budget of the same size: either the budget is
// spent, or every table cell afterwards holds what the workbook reads there without its line
// breaks, or its own text where the workbook reads nothing.
#include "exchange/ImportBudget.h"
#include "exchange/ImportStaging.h"
#include "exchange/Workbook.h"
#include "exchange/sheets/DelimitedTextReader.h"
#include "exchange/sheets/HtmlTableReader.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxPackage.h"
#include "exchange/sheets/XlsxReader.h"
#include "exchange/sheets/XlsxSharedStrings.h"
#include "exchange/sheets/XlsxSheetParser.h"
#include "exchange/sheets/XlsxStyles.h"
#include "table/Table.h"
#include "text/LineBreaks.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

constexpr int kMaxRows = 2000;
constexpr int kImportRows = 60;
// Small enough for a few kilobytes of input to spend it.
constexpr qint64 kBudget = 64 * 1024;

/// A reader of the input, taking what it holds from the budget given (or none).
using ReaderOf = std::function<std::unique_ptr<SheetReader>(ImportBudget* budget)>;

std::unique_ptr<QIODevice> buffer(const QByteArray& bytes) {
    auto device = std::make_unique<QBuffer>();
    device->setData(bytes);
    device->open(QIODevice::ReadOnly);
    return device;
}

// Hands out at most `step` bytes a read: the reading thread passes each read on as a chunk.
class TrickleDevice final : public QIODevice {
public:
    TrickleDevice(const QByteArray& bytes, qint64 step) : m_bytes(bytes), m_step(step) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 count = qMin(qMin(maxSize, m_step), m_bytes.size() - m_pos);
        std::memcpy(data, m_bytes.constData() + m_pos, size_t(count));
        m_pos += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_step;
    qint64 m_pos = 0;
};

void readRows(SheetReader& reader, SheetCells& cells) {
    for (int n = 0; n < kMaxRows; ++n) {
        const int row = reader.readNextRow(cells);
        if (row == 0) {
            break;
        }
        if (row < 0 || row > 1048576) {
            std::abort();
        }
    }
    for (int row = 1; row <= cells.lastRow() && row <= kMaxRows; ++row) {
        for (int column = 1; column <= 32; ++column) {
            if (cells.at(row, column).size() > SheetCells::MaxTextLength) {
                std::abort();
            }
        }
    }
}

QString oldText(int row, int column) {
    if (row == 1 && column == 1) {
        return QStringLiteral("old");
    }
    return row == 3 && column == 32 ? QStringLiteral("kept") : QString();
}

void import(const ReaderOf& open) {
    ImportBudget budget(kBudget);
    Table table;
    table.AddMoreThanOneRow(2);
    table.setCellText(1, 1, oldText(1, 1));
    table.setCellText(3, 32, oldText(3, 32));
    {
        Workbook workbook(
            QStringLiteral("fuzz"), open(&budget), [&] { return open(&budget); }, &budget);
        ImportStaging staging(budget);
        if (!staging.gather(table, workbook, kImportRows, {})) {
            if (!budget.spent()) {
                std::abort();
            }
            return;
        }
        staging.applyTo(table);
    }
    if (budget.held() != 0 || table.ListCount() < kImportRows) {
        std::abort();
    }
    // What the import saw: the same workbook, read in the same order, keeping every row.
    Workbook sheet(QStringLiteral("fuzz"), open(nullptr));
    for (int row = 1; row <= kImportRows; ++row) {
        for (int column = 1; column <= 32; ++column) {
            const QStringView value = sheet.value(row, column);
            const QString expected =
                value.isEmpty() ? oldText(row, column) : LineBreaks::joined(value.toString());
            if (table.cellAt(row, column).Text != expected) {
                std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    ImportBudget budget(kBudget);
    SheetCells cells(&budget);
    ReaderOf open;
    switch (data[0] % 5) {
    case 0: {
        DelimitedTextReader reader(buffer(bytes));
        readRows(reader, cells);
        open = [&](ImportBudget*) { return std::make_unique<DelimitedTextReader>(buffer(bytes)); };
        break;
    }
    case 1: {
        HtmlTableReader reader(buffer(bytes));
        readRows(reader, cells);
        open = [&](ImportBudget*) { return std::make_unique<HtmlTableReader>(buffer(bytes)); };
        break;
    }
    case 2: {
        std::unique_ptr<QIODevice> stylesPart = buffer(bytes);
        const XlsxStyles styles = XlsxStyles::parse(*stylesPart);
        const qint64 step = 1 + data[0] / 5;
        XlsxSharedStrings strings(std::make_unique<TrickleDevice>(bytes, step), kBudget / 2);
        XlsxSheetParser sheet(std::make_unique<TrickleDevice>(bytes, step), strings, styles,
                              (size & 1) != 0);
        readRows(sheet, cells);
        strings.at(qsizetype(size % 7));
        break;
    }
    case 3: {
        std::unique_ptr<QIODevice> part = buffer(bytes);
        const auto relationships = XlsxPackage::parseRelationships(*part);
        for (const XlsxPackage::Relationship& r : relationships) {
            XlsxPackage::resolveTarget(u"xl/workbook.xml", r.target);
        }
        part = buffer(bytes);
        XlsxPackage::parseWorkbook(*part);
        XlsxPackage::relationshipsPartOf(QString::fromUtf8(bytes.left(64)));
        break;
    }
    default: {
        if (std::unique_ptr<XlsxReader> reader = XlsxReader::openBytes(bytes, &budget).object) {
            readRows(*reader, cells);
            open = [&](ImportBudget* within) -> std::unique_ptr<SheetReader> {
                return XlsxReader::openBytes(bytes, within).object;
            };
        }
        break;
    }
    }
    // The readers are closed; with the cells let go, every byte of the budget is back.
    cells.clear();
    if (budget.held() != 0) {
        std::abort();
    }
    if (open) {
        import(open);
    }
    return 0;
}
