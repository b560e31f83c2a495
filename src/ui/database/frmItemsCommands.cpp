#include "ui/database/frmItems.h"

#include "gridview/List.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/EditBar.h"
#include "ui/database/MainBar.h"
#include "ui/database/ShellHost.h"
#include "ui/database/commands/ColumnCommands.h"
#include "ui/database/commands/DocumentCommands.h"
#include "ui/database/commands/ExchangeCommands.h"
#include "ui/database/commands/FindCommands.h"
#include "ui/database/commands/FormatCommands.h"
#include "ui/database/commands/JournalCommands.h"
#include "ui/database/commands/RecordCommands.h"
#include "ui/search/frmFileSearch.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPalette>
#include <QToolButton>

namespace {

qint32 buttonFace() {
    const QColor face = QApplication::palette().color(QPalette::Button);
    return qint32(face.red() | (face.green() << 8) | (face.blue() << 16));
}

} // namespace

void frmItems::DODARED() {
    m_records->DODARED();
}

void frmItems::wireCommands() {
    DatabaseWindowState& state = *this;
    m_format = std::make_unique<FormatCommands>(*m_list, m_platform, state, buttonFace());
    m_records = std::make_unique<RecordCommands>(*m_list, state);
    m_columns = std::make_unique<ColumnCommands>(
        *m_list, m_platform, state, *m_format,
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    m_journal = std::make_unique<JournalCommands>(*m_list, m_platform, state);
    m_findCommands = std::make_unique<FindCommands>(*m_list, m_platform);
    DocumentWindow& document = *this;
    m_documents = std::make_unique<DocumentCommands>(*m_list, m_platform, document, m_session);
    ExchangeWindow& exchange = *this;
    m_exchange =
        std::make_unique<ExchangeCommands>(*m_list, m_platform, exchange, *m_documents, m_session);

    const auto onItem = [this](const char* name, auto handler) {
        connect(menuItem(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    const auto onButton = [this](const char* name, auto handler) {
        connect(m_mainbar->button(QString::fromLatin1(name)), &QToolButton::clicked, this, handler);
    };

    // The document: the menu items press the buttons where there are buttons.
    onButton("cmdNew", [this] { m_documents->NEWLIST(); });
    onButton("cmdOpen", [this] { m_documents->open(); });
    onButton("cmdSave", [this] { m_documents->save(); });
    onItem("new", [this] { m_mainbar->button(QStringLiteral("cmdNew"))->click(); });
    onItem("open", [this] { m_mainbar->button(QStringLiteral("cmdOpen"))->click(); });
    onItem("save", [this] { m_mainbar->button(QStringLiteral("cmdSave"))->click(); });
    onItem("saveas", [this] { m_documents->saveAs(); });
    onItem("file1", [this] { m_documents->openRecent(1); });
    onItem("file2", [this] { m_documents->openRecent(2); });
    onItem("file3", [this] { m_documents->openRecent(3); });
    onItem("Close", [this] { close(); });
    onButton("cmdFindFiles", [this] { searchWindow().showSearchMode(); });
    onButton("cmdList", [this] { searchWindow().showListMode(); });
    // Back: closing shows the start window again.
    onButton("btnBack", [this] { close(); });
    onItem("generalpassword", [this] {
        if (m_session.shell) {
            m_session.shell->showSecurityWindow();
        }
    });

    // The spreadsheet exchange.
    onItem("exporttoexcel", [this] { m_exchange->exportToExcel(); });
    onItem("importfromexcel", [this] { m_exchange->importFromExcel(); });

    // Records and columns.
    onItem("AddRow", [this] { m_records->addRecord(); });
    onItem("InserRow", [this] { m_records->insertRecord(); });
    onItem("deleterow", [this] { m_records->deleteRecord(); });
    onItem("AddColumn", [this] { m_columns->addColumn(); });
    onItem("insertcolumn", [this] { m_columns->insertColumn(); });
    onItem("deletecolumn", [this] { m_columns->deleteColumn(); });
    onItem("columnname", [this] { m_columns->columnName(); });

    // Formats and the clipboard.
    onButton("cmdBold", [this] { m_format->toggleBold(); });
    onButton("cmdItalic", [this] { m_format->toggleItalic(); });
    onButton("cmdUnderlined", [this] { m_format->toggleUnderline(); });
    onButton("cmdFontColor", [this] { m_format->chooseColor(); });
    onItem("Copy", [this] { m_format->copy(); });
    onItem("paste", [this] { m_format->paste(); });

    // The journal: the menu items press the buttons.
    onButton("cmdUndo", [this] { m_journal->undo(); });
    onButton("cmdRedo", [this] { m_journal->redo(); });
    onItem("undo", [this] { m_mainbar->button(QStringLiteral("cmdUndo"))->click(); });
    onItem("redo", [this] { m_mainbar->button(QStringLiteral("cmdRedo"))->click(); });

    // Find and replace.
    onButton("cmdFind", [this] { toggleFindPanel(); });

    // The view and the database password option.
    onItem("toolbar", [this] { toggleBar(m_mainbar, menuItem(QStringLiteral("toolbar"))); });
    onItem("textbar", [this] { toggleBar(m_editBar, menuItem(QStringLiteral("textbar"))); });
    onItem("password", [this] { toggleDatabasePassword(); });
}
