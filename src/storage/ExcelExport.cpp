#include "ExcelExport.h"

#include "ExcelAddress.h"
#include "ExcelApplication.h"
#include "ExchangeMessages.h"
#include "Table.h"

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

} // namespace

ExcelOutcome exportToExcel(const Table& table, QStringView excelStatus,
                           const ExcelEnvironment& environment,
                           const ExchangeCallbacks& callbacks) {
    const auto say = [&](const ExchangeMessage& message) {
        if (callbacks.showMessage) {
            callbacks.showMessage(message);
        }
    };
    if (excelStatus == u"NERADI") {
        say(ExchangeMessages::listExcelUnavailable());
        return {QStringLiteral("the spreadsheet program was not available at start-up"), {}, 0};
    }
    if (table.ListCount() > MaxRows) {
        say(ExchangeMessages::listTooLargeForExport());
        return {QStringLiteral("the table has too many rows for a spreadsheet"), {}, 0};
    }
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(environment);
    if (!excel) {
        return {QStringLiteral("the spreadsheet program could not be started"), {}, 0};
    }
    excel->setDisplayAlerts(false);
    excel->setVisible(false);
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
    const ExcelOutcome shown = excel->setVisible(true);
    excel.reset(); // released: the workbook stays with the desktop
    if (shown.cutCells > 0) {
        say(ExchangeMessages::textsCut(shown.cutCells));
    }
    return shown;
}

} // namespace ExcelExport
