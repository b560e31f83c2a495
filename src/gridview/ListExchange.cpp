#include "gridview/List.h"

#include "exchange/ExcelExport.h"
#include "exchange/ExcelImport.h"
#include "exchange/ImportBudget.h"
#include "gridview/ExchangeMessageBox.h"
#include "gridview/ListHost.h"
#include "platform/Platform.h"

#include <QDir>
#include <QScopedValueRollback>

ExchangeCallbacks List::exchangeCallbacks() {
    ExchangeCallbacks callbacks;
    callbacks.setProgressMaximum = [this](int maximum) { m_host->setProgressMaximum(maximum); };
    callbacks.setProgressValue = [this](int value) { m_host->setProgressValue(value); };
    callbacks.showMessage = [](const ExchangeMessage& message) {
        Platform::current().messageBox(ExchangeMessageBox::request(message));
    };
    return callbacks;
}

ExcelEnvironment List::exchangeEnvironment() const {
    Platform& platform = Platform::current();
    ExcelEnvironment environment;
    environment.documentsFolder = platform.documentsFolder();
    environment.tempFolder = m_host->exchangeTempFolder();
    if (environment.tempFolder.isEmpty()) {
        environment.tempFolder = QDir::tempPath();
    }
    environment.openWithDesktop = [](const QString& path) {
        Platform::current().openLocalFile(path);
    };
    environment.importBudget = ImportBudget::limitForMemory(platform.physicalMemory());
    return environment;
}

FileResult List::exporttoexcel() {
    return ExcelExport::exportToExcel(m_table, m_host->excelStatus(), exchangeEnvironment(),
                                      exchangeCallbacks());
}

FileResult List::importexcel(const QString& filename, int Rows) {
    HideEditors();
    FileResult result;
    {
        // Rows grow one by one during the import; the grid is drawn once at the end.
        const QScopedValueRollback suppressed(m_doNotRender, true);
        result = ExcelImport::importExcel(m_table, filename, Rows, exchangeEnvironment(),
                                          exchangeCallbacks());
    }
    redrawAfterLoad();
    return result;
}
