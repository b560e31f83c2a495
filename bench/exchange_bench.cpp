// Spreadsheet export and import of a 50,000 x 32 table of short texts, each beside a baseline
// measured in the same run:
//   import  vs  inflating the same entries (the sheet, and the shared strings when there are
//               any) with libzip, and vs unzipping them and tokenising them with
//               QXmlStreamReader; the xlsx reader alone (every row through readNextRow)
//               shows how much of the import is reading the sheet
//   export  vs  libxlsxwriter writing the same strings directly (constant-memory mode)
// and the import's own work apart from reading: gathering the rows of a sheet already read
// and writing them into the table.

#include "exchange/ExcelExport.h"
#include "exchange/ExcelImport.h"
#include "exchange/ImportBudget.h"
#include "exchange/ImportStaging.h"
#include "exchange/Workbook.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/SheetReader.h"
#include "exchange/sheets/XlsxPackage.h"
#include "exchange/sheets/XlsxReader.h"
#include "exchange/sheets/ZipArchive.h"
#include "exchange/sheets/ZipEntryDevice.h"
#include "table/Table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 50000;
constexpr int kColumns = 32;

std::string text(int row, int column) {
    return "Item " + std::to_string(row) + "/" + std::to_string(column);
}

/// Everything the benchmarks share: the folders, the strings and the two workbooks to import.
struct Data {
    QTemporaryDir dir;
    std::vector<std::string> texts; // row-major
    QString inlineWorkbook;         // inline strings, as an export writes them
    QString sharedWorkbook;         // a shared-string table, as spreadsheet programs write

    Data() {
        texts.reserve(size_t(kRows) * kColumns);
        for (int r = 1; r <= kRows; ++r) {
            for (int c = 1; c <= kColumns; ++c) {
                texts.push_back(text(r, c));
            }
        }
        inlineWorkbook = write("inline.xlsx", true);
        sharedWorkbook = write("shared.xlsx", false);
    }

    QString write(const QString& name, bool constantMemory) const {
        const QString path = dir.filePath(name);
        const QByteArray tmp = QFile::encodeName(dir.path());
        lxw_workbook_options options = {};
        options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
        options.tmpdir = const_cast<char*>(tmp.constData());
        lxw_workbook* workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) {
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                       texts[size_t(r) * kColumns + size_t(c)].c_str(), nullptr);
            }
        }
        workbook_close(workbook);
        return path;
    }

    ExcelEnvironment environment(const QString& documents) const {
        return {documents, dir.path(), [](const QString&) {}};
    }
};

Data& data() {
    static Data shared;
    return shared;
}

std::unique_ptr<Table> emptyTable() {
    auto table = std::make_unique<Table>();
    while (table->ColumnCount() < kColumns) {
        table->AddColumn();
    }
    return table;
}

void importWorkbook(benchmark::State& state, const QString& path) {
    Data& d = data();
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Table> table = emptyTable();
        state.ResumeTiming();
        const FileResult imported =
            ExcelImport::importExcel(*table, path, kRows, d.environment(d.dir.path()), {});
        benchmark::DoNotOptimize(imported.ok());
        benchmark::DoNotOptimize(table->cellAt(kRows, kColumns).Text.size());
        state.PauseTiming();
        if (table->cellAt(kRows, kColumns).Text != QString::fromStdString(text(kRows, kColumns))) {
            state.SkipWithError("the import lost the last cell");
        }
        table.reset();
        state.ResumeTiming();
    }
}

// Unzips the parts and runs QXmlStreamReader over them without keeping anything.
void tokenise(benchmark::State& state, const QString& path, bool withSharedStrings) {
    for (auto _ : state) {
        std::unique_ptr<ZipArchive> archive = ZipArchive::openFile(path).object;
        QStringList parts{QStringLiteral("xl/worksheets/sheet1.xml")};
        if (withSharedStrings) {
            parts.append(QStringLiteral("xl/sharedStrings.xml"));
        }
        qint64 tokens = 0;
        for (const QString& part : parts) {
            std::unique_ptr<ZipEntryDevice> device = archive->openEntry(part);
            QXmlStreamReader xml(device.get());
            while (!xml.atEnd()) {
                xml.readNext();
                ++tokens;
            }
        }
        benchmark::DoNotOptimize(tokens);
    }
}

// Inflates the entries with libzip alone, keeping nothing: the floor of any import.
void inflate(benchmark::State& state, const QString& path, bool withSharedStrings) {
    std::vector<const char*> entries{"xl/worksheets/sheet1.xml"};
    if (withSharedStrings) {
        entries.push_back("xl/sharedStrings.xml");
    }
    const auto buffer = std::make_unique<char[]>(256 * 1024);
    for (auto _ : state) {
        zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, nullptr);
        qint64 bytes = 0;
        for (const char* entry : entries) {
            zip_file_t* file = archive ? zip_fopen(archive, entry, 0) : nullptr;
            if (!file) {
                state.SkipWithError("no such entry");
                break;
            }
            zip_int64_t got = 0;
            while ((got = zip_fread(file, buffer.get(), 256 * 1024)) > 0) {
                bytes += got;
            }
            zip_fclose(file);
        }
        if (archive) {
            zip_discard(archive);
        }
        benchmark::DoNotOptimize(bytes);
    }
}

// Every row of the sheet through the reader, kept as the import keeps them: only the rows
// still needed stay in memory.
void readSheet(benchmark::State& state, const QString& path) {
    const QString last = QString::fromStdString(text(kRows, kColumns));
    for (auto _ : state) {
        std::unique_ptr<XlsxReader> reader = XlsxReader::openFile(path).object;
        SheetCells cells;
        int rows = 0;
        bool lastCellRead = false;
        while (const int row = reader->readNextRow(cells)) {
            ++rows;
            lastCellRead = cells.at(row, kColumns) == last;
            cells.dropRowsBefore(row);
        }
        benchmark::DoNotOptimize(rows);
        if (rows != kRows || !lastCellRead) {
            state.SkipWithError("the reader lost rows");
        }
    }
}

void BM_ImportInlineStrings(benchmark::State& state) {
    importWorkbook(state, data().inlineWorkbook);
}
void BM_TokeniseInlineStrings(benchmark::State& state) {
    tokenise(state, data().inlineWorkbook, false);
}
void BM_ImportSharedStrings(benchmark::State& state) {
    importWorkbook(state, data().sharedWorkbook);
}
void BM_TokeniseSharedStrings(benchmark::State& state) {
    tokenise(state, data().sharedWorkbook, true);
}

void BM_InflateInlineStrings(benchmark::State& state) {
    inflate(state, data().inlineWorkbook, false);
}
void BM_InflateSharedStrings(benchmark::State& state) {
    inflate(state, data().sharedWorkbook, true);
}
void BM_ReadInlineStrings(benchmark::State& state) {
    readSheet(state, data().inlineWorkbook);
}
void BM_ReadSharedStrings(benchmark::State& state) {
    readSheet(state, data().sharedWorkbook);
}

// Hands out the benchmark's rows as if read from a file.
class RowsInMemory final : public SheetReader {
public:
    int readNextRow(SheetCells& cells) override {
        if (m_row == kRows) {
            return 0;
        }
        ++m_row;
        for (int c = 1; c <= kColumns; ++c) {
            cells.set(m_row, c, m_texts[size_t(m_row - 1) * kColumns + size_t(c - 1)]);
        }
        return m_row;
    }

private:
    std::vector<QString> m_texts = [] {
        std::vector<QString> texts;
        for (const std::string& t : data().texts) {
            texts.push_back(QString::fromStdString(t));
        }
        return texts;
    }();
    int m_row = 0;
};

void BM_ImportLoopOverReadSheet(benchmark::State& state) {
    // Without a way to reopen the file the workbook keeps every row it read.
    Workbook workbook(QStringLiteral("memory"), std::make_unique<RowsInMemory>());
    if (workbook.rowHasValues(kRows + 1)) {
        state.SkipWithError("the sheet has a row too many");
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Table> table = emptyTable();
        state.ResumeTiming();
        ImportBudget budget(ImportBudget::MaxBytes);
        ImportStaging staging(budget);
        if (!staging.gather(*table, workbook, kRows, {})) {
            state.SkipWithError("the budget was spent");
        }
        staging.applyTo(*table);
        benchmark::DoNotOptimize(table->cellAt(kRows, kColumns).Text.size());
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
}

void BM_ExportTable(benchmark::State& state) {
    Data& d = data();
    std::unique_ptr<Table> table = emptyTable();
    table->AddMoreThanOneRow(kRows - 1);
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= kColumns; ++c) {
            table->setCellText(
                r, c, QString::fromStdString(d.texts[size_t(r - 1) * kColumns + size_t(c - 1)]));
        }
    }
    QTemporaryDir documents;
    for (auto _ : state) {
        const FileResult outcome =
            ExcelExport::exportToExcel(*table, u"RADI", d.environment(documents.path()), {});
        state.PauseTiming();
        if (!outcome.ok()) {
            state.SkipWithError(qPrintable(outcome.reason));
        }
        QFile::remove(outcome.path);
        state.ResumeTiming();
    }
}

void BM_LibxlsxwriterDirect(benchmark::State& state) {
    Data& d = data();
    QTemporaryDir documents;
    const QByteArray path = QFile::encodeName(documents.filePath("direct.xlsx"));
    const QByteArray tmp = QFile::encodeName(d.dir.path());
    for (auto _ : state) {
        lxw_workbook_options options = {};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = const_cast<char*>(tmp.constData());
        lxw_workbook* workbook = workbook_new_opt(path.constData(), &options);
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) {
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                       d.texts[size_t(r) * kColumns + size_t(c)].c_str(), nullptr);
            }
        }
        workbook_close(workbook);
        state.PauseTiming();
        QFile::remove(QFile::decodeName(path));
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_ImportInlineStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TokeniseInlineStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSharedStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TokeniseSharedStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateInlineStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadInlineStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateSharedStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSharedStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportLoopOverReadSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibxlsxwriterDirect)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
