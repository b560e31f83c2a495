#include "exchange/ExcelWorkbooks.h"

#include "exchange/Workbook.h"
#include "exchange/sheets/SpreadsheetFile.h"

ExcelWorkbooks::ExcelWorkbooks() = default;
ExcelWorkbooks::~ExcelWorkbooks() = default;

void ExcelWorkbooks::add() {
    m_active = std::make_unique<Workbook>();
}

FileResult ExcelWorkbooks::open(const QString& filename, ImportBudget* budget) {
    // The workbook open before lets go of what it holds first.
    m_active.reset();
    Opened<SheetReader> opened = SpreadsheetFile::open(filename, budget);
    if (!opened.object) {
        m_active = std::make_unique<Workbook>();
        return opened.result;
    }
    m_active = std::make_unique<Workbook>(
        filename, std::move(opened.object),
        [filename, budget] { return SpreadsheetFile::open(filename, budget).object; }, budget);
    return opened.result;
}

void ExcelWorkbooks::close() {
    m_active.reset();
}
