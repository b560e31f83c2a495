#include "exchange/ExcelImport.h"

#include "exchange/ExcelAddress.h"
#include "exchange/ExcelApplication.h"
#include "table/Table.h"
#include "text/LineBreaks.h"

namespace ExcelImport {

FileResult importExcel(Table& table, const QString& filename, int Rows,
                       const ExcelEnvironment& environment, const ExchangeCallbacks& callbacks) {
    // A stand-in that cannot start, or a file it cannot read, reads as an empty sheet: the
    // table still grows, as with any other import.
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(environment);
    FileResult opened = FileResult::cannotRead(
        filename, QStringLiteral("the spreadsheet program could not be started"));
    if (excel) {
        excel->setDisplayAlerts(false);
        (void)excel->setVisible(false); // hiding writes nothing
        opened = excel->Workbooks().open(filename);
    }
    if (callbacks.setProgressMaximum) {
        callbacks.setProgressMaximum(Rows);
    }
    if (callbacks.setProgressValue) {
        callbacks.setProgressValue(1);
    }
    // Only the rows the sheet rows need are appended, in one step.
    if (table.ListCount() < Rows) {
        table.AddMoreThanOneRow(Rows - table.ListCount());
    }
    for (int row = 1; row <= Rows; ++row) {
        for (int column = 1; excel && column <= ExcelAddress::MaxColumns; ++column) {
            const QString value = excel->Range(ExcelAddress::of(column, row));
            if (!value.isEmpty()) {
                table.setCellText(row, column, LineBreaks::joined(value));
            }
        }
        if (callbacks.setProgressValue) {
            callbacks.setProgressValue(row);
        }
    }
    if (excel) {
        excel->setDisplayAlerts(false);
        excel->Quit();
    }
    table.redrawAll();
    return opened;
}

} // namespace ExcelImport
