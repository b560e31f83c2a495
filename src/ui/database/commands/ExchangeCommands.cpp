#include "ui/database/commands/ExchangeCommands.h"

#include "gridview/ExchangeMessageBox.h"
#include "gridview/List.h"
#include "platform/Platform.h"
#include "settings/FileChecks.h"
#include "settings/SettingsRecord.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/commands/DocumentCommands.h"
#include "ui/database/commands/ExchangeCommandMessages.h"
#include "ui/database/commands/ExchangeWindow.h"
#include "ui/database/commands/ImportEstimate.h"
#include "ui/database/commands/SoundRequest.h"

namespace {

const QString kExporting = QStringLiteral("Exporting data into Microsoft Excel:");
const QString kImporting = QStringLiteral("Importing data from Microsoft Excel:");

} // namespace

ExchangeCommands::ExchangeCommands(List& list, Platform& platform, ExchangeWindow& window,
                                   DocumentCommands& documents, DatabaseSession& session)
    : m_list(list), m_platform(platform), m_window(window), m_documents(documents),
      m_session(session) {}

QString ExchangeCommands::importFilter() {
    // The text as the user knows it; the patterns add the kinds it does not name that the
    // import reads as well.
    return QStringLiteral("All data, excel,text files(*.xl;*.xls;*.xlt;*.xla;*.xls;*.htm;*.html;"
                          "*.prn;*.txt;)|*.xl;*.xls;*.xlt;*.xla;*.xlsx;*.xlsm;*.xltx;*.htm;*.html;"
                          "*.prn;*.txt;*.csv|");
}

bool ExchangeCommands::excelUnavailable() const {
    return m_session.settings.lblEXCELSTATUS == u"NERADI";
}

void ExchangeCommands::sayFailure(const QString& reason) {
    m_platform.messageBox({.text = reason, .icon = MessageIcon::Critical});
}

void ExchangeCommands::exportToExcel() {
    const int rows = m_list.ListCount();
    if (rows >= RefusedExportRows) {
        m_platform.messageBox(
            ExchangeMessageBox::request(ExchangeCommandMessages::tooLargeForExport(rows)));
        return;
    }
    SoundRequest::make(m_session.folder, m_platform);
    if (excelUnavailable()) {
        m_platform.messageBox(
            ExchangeMessageBox::request(ExchangeCommandMessages::excelUnavailable()));
        return;
    }
    m_window.showExchangeProgress(kExporting, rows + 1, 1);
    const FileResult result = m_list.exporttoexcel();
    m_window.hideExchangeProgress();
    // The grid's own refusals (unavailable, too many rows) cannot reach here past the checks
    // above; what fails here is a workbook that could not be written.
    if (!result.ok()) {
        sayFailure(result.reason);
    }
}

void ExchangeCommands::importFromExcel() {
    if (excelUnavailable()) {
        m_platform.messageBox(
            ExchangeMessageBox::request(ExchangeCommandMessages::excelUnavailable()));
        return;
    }
    if (!m_documents.mayDiscardChanges()) {
        return;
    }
    SoundRequest::make(m_session.folder, m_platform);
    const std::optional<FileChoice> choice =
        m_platform.openFileDialog({.title = QStringLiteral("Select Data Source:"),
                                   .filter = importFilter(),
                                   .folder = m_platform.documentsFolder()});
    if (!choice || choice->path.isEmpty() || !General::FileExists(choice->path)) {
        return;
    }
    const std::optional<QString> typed =
        m_platform.inputBox({.prompt = QStringLiteral("Enter the record (row) number to import:")});
    if (!typed) {
        return;
    }
    const ImportEstimate::RowAnswer answer = ImportEstimate::evaluateAnswer(*typed);
    if (answer.kind == ImportEstimate::RowAnswer::Kind::Stop) {
        return;
    }
    if (answer.kind == ImportEstimate::RowAnswer::Kind::TooMany) {
        m_platform.messageBox(
            ExchangeMessageBox::request(ExchangeCommandMessages::rowLimitExceeded()));
        return;
    }
    if (const std::optional<ExchangeMessage> warning =
            ImportEstimate::warning(*typed, answer, m_platform.processorMHz())) {
        if (m_platform.messageBox(ExchangeMessageBox::request(*warning)) != MessageButton::Yes) {
            return;
        }
    }

    m_window.showExchangeProgress(kImporting, m_list.ListCount() + 1, 1);
    m_window.showGrid(false);
    const FileResult result = m_list.importexcel(choice->path, answer.rows);
    m_window.showGrid(true);
    if (!result.ok()) {
        // Nothing was imported (the file could not be read, or it holds more text than the
        // import may hold): the table, its journal and the document's state are as they were.
        m_window.hideExchangeProgress();
        sayFailure(result.reason);
        return;
    }
    m_list.SelectItem(1, 1);
    m_window.markDirty();
    m_window.hideExchangeProgress();
    m_list.ClearUndoRedo();
}
