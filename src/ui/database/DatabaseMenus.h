#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenuBar;

/// The database window's menu bar: File, Edit, Add, Delete, Insert, View, Data and Security
/// with their items, separators and shortcuts.
namespace DatabaseMenus {

/// Fills `bar` and returns every item by its name ("new", "undo", "toolbar", ...); a menu is
/// there by its own name too ("file", "deletemenu", "import", ...) as its menu action.
QHash<QString, QAction*> build(QMenuBar& bar);

} // namespace DatabaseMenus
