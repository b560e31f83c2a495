#include "ui/database/commands/DefaultTable.h"

#include "gridview/List.h"
#include "platform/Platform.h"

namespace DefaultTable {

bool apply(List& list, Platform& platform) {
    if (list.ListCount() != 1 || list.ColumnCount() != 1) {
        return false;
    }
    // The new column goes in front, and the one the grid started with is removed after it.
    list.AddColumn(1, 220, QStringLiteral("A"));
    list.AddMoreThanOneRow(29);
    list.RemoveColumn(2);
    list.ClearUndoRedo();
    platform.clearClipboard();
    return true;
}

} // namespace DefaultTable
