#include "exchange/ExcelImport.h"

#include "exchange/ExcelApplication.h"
#include "exchange/ImportBudget.h"
#include "exchange/ImportStaging.h"
#include "exchange/Workbook.h"
#include "table/Table.h"

namespace ExcelImport {
namespace {

FileResult tooMuchText(const QString& filename, qint64 limitBytes) {
    const QString limit = limitBytes >= (qint64(1) << 20)
                              ? QStringLiteral("%1 MB").arg(limitBytes >> 20)
                              : QStringLiteral("%1 KB").arg(limitBytes >> 10);
    return FileResult::cannotRead(
        filename, QStringLiteral("the spreadsheet holds more text than can be imported on this "
                                 "computer (more than %1). Nothing was imported.")
                      .arg(limit));
}

} // namespace

FileResult importExcel(Table& table, const QString& filename, int Rows,
                       const ExcelEnvironment& environment, const ExchangeCallbacks& callbacks) {
    // Declared first: the workbook and its reader give their share back as they close.
    ImportBudget budget(environment.importBudget);
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(environment);
    if (!excel) {
        return FileResult::cannotRead(
            filename, QStringLiteral("the spreadsheet program could not be started"));
    }
    excel->setDisplayAlerts(false);
    (void)excel->setVisible(false); // hiding writes nothing
    const FileResult opened = excel->Workbooks().open(filename, &budget);
    ImportStaging staging(budget);
    bool complete = false;
    if (opened.ok()) {
        if (callbacks.setProgressMaximum) {
            callbacks.setProgressMaximum(Rows);
        }
        if (callbacks.setProgressValue) {
            callbacks.setProgressValue(1);
        }
        complete = staging.gather(table, *excel->Workbooks().active(), Rows, callbacks);
    }
    // The workbook lets go of its rows before the table takes its copy of them.
    excel->setDisplayAlerts(false);
    excel->Quit();
    if (budget.spent()) {
        return tooMuchText(filename, budget.limit());
    }
    if (!complete) {
        return opened;
    }
    staging.applyTo(table);
    table.redrawAll();
    return opened;
}

} // namespace ExcelImport
