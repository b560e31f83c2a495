#include "ExcelWorkbooks.h"

#include "SpreadsheetFile.h"
#include "Workbook.h"

ExcelWorkbooks::ExcelWorkbooks() = default;
ExcelWorkbooks::~ExcelWorkbooks() = default;

void ExcelWorkbooks::add() {
    m_active = std::make_unique<Workbook>();
}

ExcelOutcome ExcelWorkbooks::open(const QString& filename) {
    SpreadsheetFile::Opened opened = SpreadsheetFile::open(filename);
    if (!opened.reader) {
        m_active = std::make_unique<Workbook>();
        return {opened.error, filename};
    }
    m_active = std::make_unique<Workbook>(filename, std::move(opened.reader), [filename] {
        return SpreadsheetFile::open(filename).reader;
    });
    return {QString(), filename};
}

void ExcelWorkbooks::close() {
    m_active.reset();
}
