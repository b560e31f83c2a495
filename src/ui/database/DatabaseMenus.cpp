#include "ui/database/DatabaseMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace DatabaseMenus {
namespace {

class Builder {
public:
    explicit Builder(QHash<QString, QAction*>& items) : m_items(items) {}

    QMenu* menu(QWidget& parent, const char* name, const QString& caption) {
        auto* menu = new QMenu(caption, &parent);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        m_items.insert(menu->objectName(), menu->menuAction());
        if (auto* bar = qobject_cast<QMenuBar*>(&parent)) {
            bar->addMenu(menu);
        } else {
            qobject_cast<QMenu*>(&parent)->addMenu(menu);
        }
        return menu;
    }

    QAction* item(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        m_items.insert(action->objectName(), action);
        return action;
    }

    QAction* checkedItem(QMenu* menu, const char* name, const QString& caption) {
        QAction* action = item(menu, name, caption);
        action->setCheckable(true);
        action->setChecked(true);
        return action;
    }

    void separator(QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QString::fromLatin1(name));
        m_items.insert(action->objectName(), action);
    }

private:
    QHash<QString, QAction*>& m_items;
};

} // namespace

QHash<QString, QAction*> build(QMenuBar& bar) {
    QHash<QString, QAction*> items;
    Builder b(items);

    QMenu* file = b.menu(bar, "file", QStringLiteral("  File"));
    b.item(file, "new", QStringLiteral("New"));
    b.item(file, "open", QStringLiteral("Open"));
    b.item(file, "Close", QStringLiteral("Close"));
    b.separator(file, "mnuFileBar0");
    b.item(file, "save", QStringLiteral("Save"));
    b.item(file, "saveas", QStringLiteral("Save As"));
    b.separator(file, "mnuFileBar1");
    // The recent files: hidden while their slot is empty.
    for (const char* name : {"file1", "file2", "file3"}) {
        b.item(file, name, QString())->setVisible(false);
    }

    QMenu* edit = b.menu(bar, "edit", QStringLiteral("Edit"));
    b.item(edit, "columnname", QStringLiteral("Column Name"));
    b.separator(edit, "mnuFileBar2");
    b.item(edit, "undo", QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    b.item(edit, "redo", QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y));
    b.item(edit, "Copy", QStringLiteral("Copy Formated Text"), QKeySequence(Qt::CTRL | Qt::Key_C));
    b.item(edit, "paste", QStringLiteral("Paste Formated Text"),
           QKeySequence(Qt::CTRL | Qt::Key_V));

    QMenu* add = b.menu(bar, "add", QStringLiteral("Add"));
    b.item(add, "AddRow", QStringLiteral("Add Record"), QKeySequence(Qt::CTRL | Qt::Key_A));
    b.item(add, "AddColumn", QStringLiteral("Add Column"));

    QMenu* remove = b.menu(bar, "deletemenu", QStringLiteral("Delete"));
    b.item(remove, "deleterow", QStringLiteral("Delete Record"),
           QKeySequence(Qt::CTRL | Qt::Key_D));
    b.item(remove, "deletecolumn", QStringLiteral("Delete Column"));

    QMenu* insert = b.menu(bar, "insert", QStringLiteral("Insert"));
    b.item(insert, "InserRow", QStringLiteral("Record"));
    b.item(insert, "insertcolumn", QStringLiteral("Column"));

    QMenu* view = b.menu(bar, "view", QStringLiteral("View"));
    b.checkedItem(view, "toolbar", QStringLiteral("Tool Bar"));
    b.checkedItem(view, "textbar", QStringLiteral("Text Bar"));

    QMenu* data = b.menu(bar, "data", QStringLiteral("Data"));
    QMenu* import = b.menu(*data, "import", QStringLiteral("Import External Data"));
    b.item(import, "importfromexcel", QStringLiteral("From Excel Spreadsheet"));
    QMenu* exportMenu = b.menu(*data, "export", QStringLiteral("Export Data"));
    b.item(exportMenu, "exporttoexcel", QStringLiteral("To Excel Spreadsheet"));

    QMenu* security = b.menu(bar, "security", QStringLiteral("Security"));
    b.checkedItem(security, "password", QStringLiteral("Database Password is Enabled"));
    b.item(security, "generalpassword", QStringLiteral("Edit General Password"));
    return items;
}

} // namespace DatabaseMenus
