#include "exchange/ExcelExport.h"

#include "exchange/ExcelAddress.h"
#include "exchange/ExcelApplication.h"
#include "exchange/ExchangeMessages.h"
#include "table/Table.h"

namespace ExcelExport {
namespace {

bool rowHasText(const Table& table, int row) {
    for (int column = 1; column <= table.ColumnCount(); ++column) {
        if (!table.cellAt(row, column).Text.isEmpty()) {
            return true;
        }
    }
    return false;
}

// No workbook was written into the documents folder, for `why`.
FileResult notWritten(const ExcelEnvironment& environment, const QString& why) {
    return FileResult::cannotWrite(environment.documentsFolder, why);
}

} // namespace

FileResult exportToExcel(const Table& table, QStringView excelStatus,
                         const ExcelEnvironment& environment, const ExchangeCallbacks& callbacks) {
    const auto say = [&](const ExchangeMessage& message) {
        if (callbacks.showMessage) {
            callbacks.showMessage(message);
        }
    };
    if (excelStatus == u"NERADI") {
        say(ExchangeMessages::listExcelUnavailable());
        return notWritten(environment,
                          QStringLiteral("the spreadsheet program was not available at start-up"));
    }
    if (table.ListCount() > MaxRows) {
        say(ExchangeMessages::listTooLargeForExport());
        return notWritten(environment,
                          QStringLiteral("the table has too many rows for a spreadsheet"));
    }
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(environment);
    if (!excel) {
        return notWritten(environment,
                          QStringLiteral("the spreadsheet program could not be started"));
    }
    excel->setDisplayAlerts(false);
    (void)excel->setVisible(false); // hiding writes nothing
    excel->Workbooks().add();

    // Every slot of a row travels, also those above the shown columns; a cell the sheet
    // refuses is skipped.
    for (int row = 1; row <= table.ListCount(); ++row) {
        if (!rowHasText(table, row)) {
            continue;
        }
        if (callbacks.setProgressValue) {
            callbacks.setProgressValue(row);
        }
        for (int column = 1; column <= Table::MaxColumns; ++column) {
            const QStringView text = table.cellAt(row, column).Text;
            if (!text.isEmpty()) {
                excel->setRange(ExcelAddress::of(column, row), text);
            }
        }
    }
    const FileResult shown = excel->setVisible(true);
    const int cut = excel->cutCells();
    excel.reset(); // released: the workbook stays with the desktop
    if (cut > 0) {
        say(ExchangeMessages::textsCut(cut));
    }
    return shown;
}

} // namespace ExcelExport
