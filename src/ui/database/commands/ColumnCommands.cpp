#include "ui/database/commands/ColumnCommands.h"

#include "gridview/List.h"
#include "platform/Platform.h"
#include "ui/database/commands/DatabaseWindowState.h"
#include "ui/database/commands/FormatCommands.h"

namespace {

// A database file separates columns by "||" and a caption from its width by the last "|":
// a caption holding "||", or beginning or ending with "|", comes back cut differently.
bool survivesSaving(const QString& caption) {
    return !caption.contains(QStringLiteral("||")) && !caption.startsWith(u'|') &&
           !caption.endsWith(u'|');
}

} // namespace

ColumnCommands::ColumnCommands(List& list, Platform& platform, DatabaseWindowState& window,
                               FormatCommands& format, QString executableName)
    : m_list(list), m_platform(platform), m_window(window), m_format(format),
      m_executableName(std::move(executableName)) {}

std::optional<QString> ColumnCommands::askName() {
    const std::optional<QString> typed = m_platform.inputBox(
        {.prompt = QStringLiteral("Enter the Column Name ( up to 15 characters) ")});
    if (!typed || typed->isEmpty()) {
        return std::nullopt;
    }
    const QString name = typed->left(MaxNameLength);
    if (!survivesSaving(name)) {
        m_platform.messageBox(
            {.text = QStringLiteral("The column name \"%1\" cannot be used: a column name may "
                                    "not contain \"||\" or begin or end with \"|\", or the "
                                    "saved database would not give it back.")
                         .arg(name),
             .icon = MessageIcon::Exclamation});
        return std::nullopt;
    }
    return name;
}

void ColumnCommands::afterShapeChange() {
    m_platform.clearClipboard();
    m_window.markDirty();
    m_list.ClearUndoRedo();
}

void ColumnCommands::addColumn() {
    m_format.copy();
    const std::optional<QString> name = askName();
    if (!name) {
        return;
    }
    m_list.AddColumn(m_list.ColumnCount() + 1, NewColumnWidth, *name);
    m_window.clearEditBar();
    afterShapeChange();
}

void ColumnCommands::insertColumn() {
    m_list.COLUMNUMBER();
    m_format.copy();
    const std::optional<QString> name = askName();
    if (!name) {
        return;
    }
    m_list.ClearUndoRedo();
    m_list.AddColumn(m_window.activeColumnNumber(), NewColumnWidth, *name);
    m_window.clearEditBar();
    afterShapeChange();
}

void ColumnCommands::deleteColumn() {
    const QString lastHeader = m_list.GetColumnHeader(m_list.ColumnCount());
    m_list.COLUMNUMBER();
    const int column = m_window.activeColumnNumber();
    const MessageButton answer = m_platform.messageBox(
        {.text = QStringLiteral("Permanently delete column ") + m_list.GetColumnHeader(column) +
                 QStringLiteral(" and all its contents ?"),
         .buttons = MessageButtons::YesNo});
    if (answer != MessageButton::Yes) {
        return;
    }
    if (m_list.ColumnCount() == 1) {
        m_platform.messageBox({.text = QStringLiteral("You can't delete this column...one column "
                                                      "is the minimum required by QeL 2005 "
                                                      "database format"),
                               .title = m_executableName + QStringLiteral(" Can't delete last "
                                                                          "column!"),
                               .icon = MessageIcon::Critical});
        return;
    }
    m_list.SelectItem(1, 1);
    m_list.RemoveColumn(column);
    m_list.SelectItem(1, 1);
    m_list.ClearUndoRedo();
    // The headers are applied again, and the last one put back where the removal moved it.
    for (int i = column; i <= m_list.ColumnCount(); ++i) {
        m_list.SetColumnHeader(i, m_list.GetColumnHeader(i));
    }
    if (column <= m_list.ColumnCount()) {
        m_list.SetColumnHeader(m_list.ColumnCount(), lastHeader);
    }
    afterShapeChange();
}

void ColumnCommands::columnName() {
    const std::optional<QString> name = askName();
    if (!name) {
        return;
    }
    m_list.COLUMNUMBER();
    m_list.SetColumnHeader(m_window.activeColumnNumber(), *name);
    m_window.clearEditBar();
}
