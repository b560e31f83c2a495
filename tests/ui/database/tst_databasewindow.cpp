#include "gridview/List.h"
#include "gridview/lblTxt.h"
#include "settings/SettingsRecord.h"
#include "support/ScriptedPlatform.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/ValueHolder.h"
#include "ui/database/WindowLayout.h"
#include "ui/database/frmItems.h"

#include <QAbstractAnimation>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

QLineEdit* cellBox(const List& list, int column) {
    return list.findChild<lblTxt*>(QStringLiteral("lblTxt%1").arg(column))->findChild<QLineEdit*>();
}

} // namespace

/// The database window driven as a user drives it: real keys and clicks, the scripted
/// Platform for every dialog.
class TestDatabaseWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsAsANewTable();
    void clientAreaFollowsAResizeAtOnce();
    void menus_data();
    void menus();
    void toolbar_data();
    void toolbar();
    void repositionForTheBarsAndThePanel_data();
    void repositionForTheBarsAndThePanel();
    void shortcutsWinOverTheFocusedBox_data();
    void shortcutsWinOverTheFocusedBox();
    void editBarMirrorsAndEditsTheCell();
    void longCellShownWhole();
    void recordAndColumnCommandsFromTheMenus();
    void formatButtonsAndClipboard();
    void undoAndRedoMessages();
    void findPanel();
    void dirtyAfterEveryKindOfChange_data();
    void dirtyAfterEveryKindOfChange();
    void activationGivesAReducedTableTheNewShape();
    void databasePasswordOption();
    void activeColumnAcceptsOnlyNumbers_data();
    void activeColumnAcceptsOnlyNumbers();
    void snapshot();

private:
    List& list() const { return m_window->List1(); }
    template <typename T = QWidget> T* child(const QString& name) const {
        return m_window->findChild<T*>(name);
    }
    QToolButton* button(const QString& name) const { return child<QToolButton>(name); }
    QLineEdit* editBar() const { return child<QLineEdit>(QStringLiteral("TextText")); }
    QPoint cellPoint(int row, int column) const;
    /// Clicks into a cell, as a user does: its editor takes the focus.
    void clickCell(int row, int column);
    void trigger(const QString& name) { m_window->menuItem(name)->trigger(); }
    void fillRows(int rows, int columns);

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_folder;
    SettingsRecord m_settings;
    std::unique_ptr<DatabaseSession> m_session;
    std::unique_ptr<frmItems> m_window;
};

void TestDatabaseWindow::init() {
    m_platform = std::make_unique<ScriptedPlatform>();
    m_settings = SettingsRecord();
    m_folder = std::make_unique<QTemporaryDir>();
    m_session.reset(new DatabaseSession{m_settings, AppFolder(m_folder->path())});
    m_window = std::make_unique<frmItems>(*m_session);
    m_window->resize(640, 420);
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestDatabaseWindow::cleanup() {
    m_window.reset();
    m_session.reset();
    m_platform.reset();
}

QPoint TestDatabaseWindow::cellPoint(int row, int column) const {
    int x = list().numberStripWidth();
    for (int c = 1; c < column; ++c) {
        x += list().GetWidthColumn(c) + 1;
    }
    return QPoint(x + 10, 20 + 16 * (row - 1) + list().TopOffset() + 8);
}

void TestDatabaseWindow::clickCell(int row, int column) {
    QTest::mouseClick(&list(), Qt::LeftButton, {}, cellPoint(row, column));
    QVERIFY(cellBox(list(), column)->hasFocus());
}

// A table of `rows` x `columns` cells "r<row>c<column>", columns "A", "B", ..., journal empty
// and the document unchanged.
void TestDatabaseWindow::fillRows(int rows, int columns) {
    Table& table = list().table();
    for (int c = 2; c <= columns; ++c) {
        list().AddColumn(0, 80, QString(QChar(u'A' + c - 1)));
    }
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            table.setCellText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        }
    }
    list().RenderColumn(-1);
    list().ClearUndoRedo();
    m_window->setChangeStatus(QStringLiteral("0"));
}

// The main window's layout places the client area in one step: no geometry animation is left
// behind (each one ends in a deferred delete), and the area has its new size at once.
void TestDatabaseWindow::clientAreaFollowsAResizeAtOnce() {
    frmItems window(*m_session);
    window.resize(500, 400);
    window.grab();
    window.resize(700, 500);
    window.grab();
    QWidget* client = window.centralWidget();
    QCOMPARE(client->width(), 700);
    QVERIFY(window.findChildren<QAbstractAnimation*>().isEmpty());
    // Only the area itself: its controls keep the application's style.
    QCOMPARE(window.List1().style(), QApplication::style());
}

void TestDatabaseWindow::startsAsANewTable() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Database [ Unsaved ]"));
    QCOMPARE(list().ColumnCount(), 1);
    QCOMPARE(list().GetColumnHeader(1), QStringLiteral("A"));
    QCOMPARE(list().GetWidthColumn(1), 220);
    QCOMPARE(list().ListCount(), 30);
    QVERIFY(list().table().UndoStore().empty());
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
    QCOMPARE(m_window->activeColumn(), QStringLiteral("1"));
    const QWidget* find = child(QStringLiteral("Find"));
    QVERIFY(!find || !find->isVisible());
    const QWidget* pleaseWait = child(QStringLiteral("PleaseWait"));
    QVERIFY(!pleaseWait || !pleaseWait->isVisible());
    QCOMPARE(child<ValueHolder>(QStringLiteral("ActiveColumn"))->text(), QStringLiteral("1"));
    QCOMPARE(child<ValueHolder>(QStringLiteral("lblChangeStatus"))->text(), QStringLiteral("0"));
    QCOMPARE(m_window->centralWidget()->palette().color(QPalette::Window), QColor(209, 167, 120));
}

void TestDatabaseWindow::menus_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items"); // names in order; separators included
    QTest::newRow("File") << "file"
                          << "  File"
                          << QStringList{"new",    "open",        "Close", "mnuFileBar0", "save",
                                         "saveas", "mnuFileBar1", "file1", "file2",       "file3"};
    QTest::newRow("Edit") << "edit"
                          << "Edit" << QStringList{"columnname", "mnuFileBar2", "undo",
                                                   "redo",       "Copy",        "paste"};
    QTest::newRow("Add") << "add"
                         << "Add" << QStringList{"AddRow", "AddColumn"};
    QTest::newRow("Delete") << "deletemenu"
                            << "Delete" << QStringList{"deleterow", "deletecolumn"};
    QTest::newRow("Insert") << "insert"
                            << "Insert" << QStringList{"InserRow", "insertcolumn"};
    QTest::newRow("View") << "view"
                          << "View" << QStringList{"toolbar", "textbar"};
    QTest::newRow("Data") << "data"
                          << "Data" << QStringList{"import", "export"};
    QTest::newRow("Data / Import") << "import"
                                   << "Import External Data" << QStringList{"importfromexcel"};
    QTest::newRow("Data / Export") << "export"
                                   << "Export Data" << QStringList{"exporttoexcel"};
    QTest::newRow("Security") << "security"
                              << "Security" << QStringList{"password", "generalpassword"};
}

void TestDatabaseWindow::menus() {
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    QMenu* shown = m_window->menuItem(menu)->menu();
    QVERIFY(shown);
    QCOMPARE(shown->title(), caption);
    QStringList names;
    for (const QAction* item : shown->actions()) {
        names << item->objectName();
    }
    QCOMPARE(names, items);

    // The top-level menus in their order.
    QStringList titles;
    for (const QAction* top : m_window->menuBar()->actions()) {
        titles << top->text();
    }
    QCOMPARE(titles, (QStringList{"  File", "Edit", "Add", "Delete", "Insert", "View", "Data",
                                  "Security"}));

    // Captions and shortcuts of the items.
    const QList<std::tuple<const char*, const char*, QKeySequence>> expected = {
        {"new", "New", {}},
        {"open", "Open", {}},
        {"Close", "Close", {}},
        {"save", "Save", {}},
        {"saveas", "Save As", {}},
        {"columnname", "Column Name", {}},
        {"undo", "Undo", QKeySequence(QStringLiteral("Ctrl+Z"))},
        {"redo", "Redo", QKeySequence(QStringLiteral("Ctrl+Y"))},
        {"Copy", "Copy Formated Text", QKeySequence(QStringLiteral("Ctrl+C"))},
        {"paste", "Paste Formated Text", QKeySequence(QStringLiteral("Ctrl+V"))},
        {"AddRow", "Add Record", QKeySequence(QStringLiteral("Ctrl+A"))},
        {"AddColumn", "Add Column", {}},
        {"deleterow", "Delete Record", QKeySequence(QStringLiteral("Ctrl+D"))},
        {"deletecolumn", "Delete Column", {}},
        {"InserRow", "Record", {}},
        {"insertcolumn", "Column", {}},
        {"toolbar", "Tool Bar", {}},
        {"textbar", "Text Bar", {}},
        {"importfromexcel", "From Excel Spreadsheet", {}},
        {"exporttoexcel", "To Excel Spreadsheet", {}},
        {"password", "Database Password is Enabled", {}},
        {"generalpassword", "Edit General Password", {}},
    };
    for (const auto& [name, text, shortcut] : expected) {
        const QAction* item = m_window->menuItem(QString::fromLatin1(name));
        QVERIFY2(item, name);
        QCOMPARE(item->text(), QString::fromLatin1(text));
        QCOMPARE(item->shortcut(), shortcut);
    }
    for (const char* name : {"toolbar", "textbar", "password"}) {
        QVERIFY(m_window->menuItem(QString::fromLatin1(name))->isChecked());
    }
    for (const char* name : {"file1", "file2", "file3"}) {
        QVERIFY(!m_window->menuItem(QString::fromLatin1(name))->isVisible());
    }
    QVERIFY(m_window->menuItem(QStringLiteral("mnuFileBar0"))->isSeparator());
}

void TestDatabaseWindow::toolbar_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left"); // twips
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("caption"); // empty: a picture
    QTest::newRow("btnBack") << "btnBack" << 120 << 280 << "Back"
                             << "";
    QTest::newRow("cmdNew") << "cmdNew" << 600 << 260 << "New"
                            << "";
    QTest::newRow("cmdOpen") << "cmdOpen" << 840 << 280 << "Open"
                             << "";
    QTest::newRow("cmdSave") << "cmdSave" << 1080 << 280 << "Save"
                             << "";
    QTest::newRow("cmdList") << "cmdList" << 1560 << 260 << "List"
                             << "";
    QTest::newRow("cmdFindFiles") << "cmdFindFiles" << 1920 << 280 << "Search Computer"
                                  << "";
    QTest::newRow("cmdUndo") << "cmdUndo" << 2400 << 280 << "Undo"
                             << "";
    QTest::newRow("cmdRedo") << "cmdRedo" << 2640 << 280 << "Redo"
                             << "";
    QTest::newRow("cmdFind") << "cmdFind" << 3120 << 280 << "Find"
                             << "";
    QTest::newRow("cmdBold") << "cmdBold" << 3600 << 260 << "Bold"
                             << "B";
    QTest::newRow("cmdItalic") << "cmdItalic" << 3840 << 260 << "Italic"
                               << "I";
    QTest::newRow("cmdUnderlined") << "cmdUnderlined" << 4080 << 260 << "Underline"
                                   << "U";
    QTest::newRow("cmdFontColor") << "cmdFontColor" << 4320 << 260 << "Font Color"
                                  << "A C";
}

void TestDatabaseWindow::toolbar() {
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(int, width);
    QFETCH(QString, toolTip);
    QFETCH(QString, caption);
    QToolButton* shown = button(name);
    QVERIFY(shown);
    QCOMPARE(shown->parentWidget()->objectName(), QStringLiteral("mainbar"));
    QCOMPARE(shown->geometry(), WindowLayout::toPixels(left, 0, width, 330));
    QCOMPARE(shown->toolTip(), toolTip);
    QCOMPARE(shown->text(), caption);
    if (caption.isEmpty()) {
        QVERIFY(!shown->icon().pixmap(16, 16).isNull());
    }
    // At rest the button draws itself; it must look exactly as the style draws such a button.
    {
        QToolButton styled(shown->parentWidget());
        styled.setAutoRaise(true);
        styled.setFont(shown->font());
        styled.setText(shown->text());
        styled.setIcon(shown->icon());
        styled.setIconSize(shown->iconSize());
        styled.resize(shown->size());
        QCOMPARE(shown->grab().toImage(), styled.grab().toImage());
    }
    QWidget* swatch = child(QStringLiteral("Picture1"));
    QCOMPARE(swatch->geometry(), WindowLayout::toPixels(4350, 160, 210, 140));
    // Before a cell had the focus: Bold shows off, Italic and Underline on.
    QVERIFY(!button(QStringLiteral("cmdBold"))->font().bold());
    QVERIFY(button(QStringLiteral("cmdItalic"))->font().italic());
    QVERIFY(button(QStringLiteral("cmdUnderlined"))->font().underline());
}

void TestDatabaseWindow::repositionForTheBarsAndThePanel_data() {
    QTest::addColumn<bool>("toolbar");
    QTest::addColumn<bool>("textbar");
    QTest::addColumn<bool>("find");
    for (const bool toolbar : {true, false}) {
        for (const bool textbar : {true, false}) {
            for (const bool find : {false, true}) {
                QTest::addRow("toolbar %d, text bar %d, find %d", toolbar, textbar, find)
                    << toolbar << textbar << find;
            }
        }
    }
}

// The window's controls where the layout rule puts them, after the view items and the find
// button as a user works them.
void TestDatabaseWindow::repositionForTheBarsAndThePanel() {
    QFETCH(bool, toolbar);
    QFETCH(bool, textbar);
    QFETCH(bool, find);
    if (find) {
        button(QStringLiteral("cmdFind"))->click();
    }
    if (!toolbar) {
        trigger(QStringLiteral("toolbar"));
    }
    if (!textbar) {
        trigger(QStringLiteral("textbar"));
    }
    QCOMPARE(m_window->menuItem(QStringLiteral("toolbar"))->isChecked(), toolbar);
    QCOMPARE(m_window->menuItem(QStringLiteral("textbar"))->isChecked(), textbar);
    QCOMPARE(child(QStringLiteral("mainbar"))->isVisible(), toolbar);
    QCOMPARE(editBar()->isVisible(), textbar);

    const QWidget* client = m_window->centralWidget();
    const WindowLayout::Placement place = WindowLayout::reposition(
        {.clientWidth = WindowLayout::toTwips(client->width()),
         .clientHeight = WindowLayout::toTwips(client->height()),
         .outerWidth = WindowLayout::toTwips(m_window->frameGeometry().width()),
         .toolbarVisible = toolbar,
         .editBarVisible = textbar,
         .findPanelVisible = find});
    using WindowLayout::toPixels;
    QCOMPARE(list().geometry(), QRect(0, toPixels(place.gridTop), toPixels(*place.gridWidth),
                                      toPixels(*place.gridHeight)));
    // The grid keeps inside the client area, also with the panel open.
    QVERIFY(list().geometry().bottom() < client->height());
    QCOMPARE(list().y(), toolbar || textbar ? (find ? 64 : 24) : (find ? 40 : 0));
    if (toolbar) {
        QCOMPARE(child(QStringLiteral("mainbar"))->width(), list().width());
    }
    if (textbar) {
        QCOMPARE(editBar()->x(), toolbar ? 312 : 0);
        QCOMPARE(editBar()->width(), toPixels(*place.editBarWidth));
    }
    if (find) {
        QCOMPARE(child(QStringLiteral("Find"))->y(), toolbar || textbar ? 24 : 0);
        QVERIFY(child(QStringLiteral("Find"))->isVisible());
    }
}

void TestDatabaseWindow::shortcutsWinOverTheFocusedBox_data() {
    QTest::addColumn<bool>("inEditBar");
    QTest::addColumn<QKeySequence>("key");
    for (const bool inEditBar : {true, false}) {
        for (const char* key : {"Ctrl+Z", "Ctrl+Y", "Ctrl+C", "Ctrl+V", "Ctrl+A", "Ctrl+D"}) {
            QTest::addRow("%s in the %s", key, inEditBar ? "edit bar" : "cell editor")
                << inEditBar << QKeySequence(QString::fromLatin1(key));
        }
    }
}

// Each shortcut runs its menu command, and the focused box does not get the key.
void TestDatabaseWindow::shortcutsWinOverTheFocusedBox() {
    QFETCH(bool, inEditBar);
    QFETCH(QKeySequence, key);
    fillRows(3, 1);
    clickCell(2, 1);
    QWidget* focused = cellBox(list(), 1);
    if (inEditBar) {
        QTest::mouseClick(editBar(), Qt::LeftButton);
        focused = editBar();
    }
    QVERIFY(focused->hasFocus());
    m_platform->setClipboardText(QStringLiteral("pasted"));
    const bool messages = key == QKeySequence(QStringLiteral("Ctrl+Z")) ||
                          key == QKeySequence(QStringLiteral("Ctrl+Y"));
    if (messages) {
        m_platform->answerMessageBox(MessageButton::Ok);
    }
    QTest::keySequence(focused, key);

    const QString text = key.toString();
    if (text == u"Ctrl+Z") {
        QCOMPARE(m_platform->messageBoxes().front().text, QStringLiteral("Cant undo!"));
    } else if (text == u"Ctrl+Y") {
        QCOMPARE(m_platform->messageBoxes().front().text, QStringLiteral("Cant redo!"));
    } else if (text == u"Ctrl+C") {
        QCOMPARE(m_platform->clipboardText(), QStringLiteral("r2c1"));
    } else if (text == u"Ctrl+V") {
        QCOMPARE(list().GetItem(2, 1), QStringLiteral("pasted"));
    } else if (text == u"Ctrl+A") {
        QCOMPARE(list().ListCount(), 31);
    } else if (text == u"Ctrl+D") {
        QCOMPARE(list().ListCount(), 29);
        QCOMPARE(list().GetItem(2, 1), QStringLiteral("r3c1"));
    }
    if (text != u"Ctrl+V" && text != u"Ctrl+D") {
        // The focused box did not act on the key itself: its row keeps its text.
        QCOMPARE(list().GetItem(2, 1), QStringLiteral("r2c1"));
        QCOMPARE(qobject_cast<QLineEdit*>(focused)->text(), QStringLiteral("r2c1"));
    }
    m_platform->verifyAllAnswered();
}

// A cell taking the focus shows its text in the edit bar without a record; typing in the edit
// bar changes the cell at once and journals; Enter empties both.
void TestDatabaseWindow::editBarMirrorsAndEditsTheCell() {
    fillRows(3, 2);
    clickCell(2, 2);
    QCOMPARE(editBar()->text(), QStringLiteral("r2c2"));
    QCOMPARE(m_window->activeColumn(), QStringLiteral("2"));
    QVERIFY(list().table().UndoStore().empty());

    QTest::mouseClick(editBar(), Qt::LeftButton);
    QCOMPARE(editBar()->selectedText(), QStringLiteral("r2c2"));
    QCOMPARE(editBar()->palette().color(QPalette::Base), QColor(213, 225, 241));
    QTest::keyClicks(editBar(), QStringLiteral("xy"));
    QCOMPARE(list().GetItem(2, 2), QStringLiteral("xy"));
    QCOMPARE(list().table().UndoStore().size(), size_t(2)); // one record per change
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("1"));
    clickCell(2, 2);
    QCOMPARE(cellBox(list(), 2)->text(), QStringLiteral("xy"));
    QCOMPARE(list().table().UndoStore().size(), size_t(2));

    QTest::mouseClick(editBar(), Qt::LeftButton);
    QTest::keyClick(editBar(), Qt::Key_Return);
    QCOMPARE(editBar()->text(), QString());
    QCOMPARE(list().GetItem(2, 2), QString());

    // Typing in the cell shows in the edit bar.
    clickCell(3, 1);
    QTest::keyClicks(cellBox(list(), 1), QStringLiteral("new"));
    QCOMPARE(list().GetItem(3, 1), QStringLiteral("new"));
    QCOMPARE(editBar()->text(), QStringLiteral("new"));
    QCOMPARE(editBar()->palette().color(QPalette::Base), QColor(224, 224, 224));
}

// A cell longer than the 80 characters a user can type is shown whole and left whole.
void TestDatabaseWindow::longCellShownWhole() {
    const QString longText = QString(200, u'w');
    list().table().setCellText(1, 1, longText);
    list().RenderColumn(1);
    list().ClearUndoRedo();
    clickCell(1, 1);
    QCOMPARE(editBar()->text(), longText);
    QCOMPARE(list().GetItem(1, 1), longText);
    QVERIFY(list().table().UndoStore().empty());

    // Typing adds nothing beyond the limit, but deleting is allowed.
    QTest::mouseClick(editBar(), Qt::LeftButton);
    editBar()->end(false);
    QTest::keyClicks(editBar(), QStringLiteral("z"));
    QCOMPARE(list().GetItem(1, 1), longText);
    QTest::keyClick(editBar(), Qt::Key_Backspace);
    QCOMPARE(list().GetItem(1, 1), QString(199, u'w'));
    QVERIFY(list().table().UndoStore().size() >= 1);
}

void TestDatabaseWindow::recordAndColumnCommandsFromTheMenus() {
    fillRows(3, 2);
    clickCell(2, 1);
    trigger(QStringLiteral("AddRow"));
    QCOMPARE(list().ListCount(), 31);
    trigger(QStringLiteral("InserRow"));
    QCOMPARE(list().ListCount(), 32);
    QCOMPARE(list().GetItem(2, 1), QString());
    trigger(QStringLiteral("deleterow"));
    QCOMPARE(list().GetItem(2, 1), QStringLiteral("r2c1"));

    m_platform->setClipboardText(QStringLiteral("x"));
    m_platform->answerInputBox(QStringLiteral("a name longer than fifteen"));
    trigger(QStringLiteral("AddColumn"));
    QCOMPARE(list().GetColumnHeader(3), QStringLiteral("a name longer t"));
    QVERIFY(m_platform->clipboardText().isEmpty());

    m_platform->answerInputBox(QStringLiteral("Renamed"));
    trigger(QStringLiteral("columnname"));
    QCOMPARE(list().GetColumnHeader(1), QStringLiteral("Renamed"));

    m_platform->answerInputBox(QStringLiteral("In"));
    trigger(QStringLiteral("insertcolumn"));
    QCOMPARE(list().GetColumnHeader(1), QStringLiteral("In"));
    QCOMPARE(list().GetColumnHeader(2), QStringLiteral("Renamed"));

    m_platform->answerMessageBox(MessageButton::Yes);
    trigger(QStringLiteral("deletecolumn"));
    QCOMPARE(list().ColumnCount(), 3);
    QCOMPARE(m_platform->messageBoxes().back().text,
             QStringLiteral("Permanently delete column In and all its contents ?"));
    m_platform->verifyAllAnswered();
}

void TestDatabaseWindow::formatButtonsAndClipboard() {
    fillRows(3, 1);
    clickCell(1, 1);
    button(QStringLiteral("cmdBold"))->click();
    QVERIFY(list().table().cellAt(1, 1).Bold);
    QVERIFY(button(QStringLiteral("cmdBold"))->font().bold());
    m_platform->answerColorDialog(0x0000FF);
    // A click on the swatch is a click on the colour button.
    QTest::mouseClick(child(QStringLiteral("Picture1")), Qt::LeftButton);
    QCOMPARE(list().GetColor(1, 1), 0x0000FF);
    QCOMPARE(child(QStringLiteral("Picture1"))->palette().color(QPalette::Window),
             QColor(255, 0, 0));

    trigger(QStringLiteral("Copy"));
    QCOMPARE(m_platform->clipboardText(), QStringLiteral("r1c1"));
    clickCell(3, 1);
    // The buttons follow the focused cell.
    QVERIFY(!button(QStringLiteral("cmdBold"))->font().bold());
    trigger(QStringLiteral("paste"));
    const CellRef pasted = list().table().cellAt(3, 1);
    QCOMPARE(pasted.Text.toString(), QStringLiteral("r1c1"));
    QVERIFY(pasted.Bold);
    QCOMPARE(pasted.Color, 0x0000FF);
    QCOMPARE(cellBox(list(), 1)->text(), QStringLiteral("r1c1"));
    m_platform->verifyAllAnswered();
}

void TestDatabaseWindow::undoAndRedoMessages() {
    m_platform->answerMessageBox(MessageButton::Ok);
    button(QStringLiteral("cmdUndo"))->click();
    m_platform->answerMessageBox(MessageButton::Ok);
    trigger(QStringLiteral("redo"));
    QCOMPARE(m_platform->messageBoxes().at(0).text, QStringLiteral("Cant undo!"));
    QCOMPARE(m_platform->messageBoxes().at(1).text, QStringLiteral("Cant redo!"));

    list().ChangeItem(1, 1, QStringLiteral("x"));
    trigger(QStringLiteral("undo"));
    QCOMPARE(list().GetItem(1, 1), QString());
    button(QStringLiteral("cmdRedo"))->click();
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("x"));
    m_platform->verifyAllAnswered();
}

void TestDatabaseWindow::findPanel() {
    fillRows(5, 2);
    button(QStringLiteral("cmdFind"))->click();
    QVERIFY(child(QStringLiteral("Find"))->isVisible());
    auto* toFind = child<QLineEdit>(QStringLiteral("txttoFind"));
    QVERIFY(toFind->hasFocus());

    QTest::mouseClick(child(QStringLiteral("FindInList")), Qt::LeftButton);
    QVERIFY(m_platform->dialogs().isEmpty()); // an empty search text does nothing

    QTest::keyClicks(toFind, QStringLiteral("r4c2"));
    QTest::mouseClick(child(QStringLiteral("FindInList")), Qt::LeftButton);
    QCOMPARE(list().iSelected(), 4);

    toFind->setText(QStringLiteral("nowhere"));
    m_platform->answerMessageBox(MessageButton::Ok);
    QTest::mouseClick(child(QStringLiteral("FindInList")), Qt::LeftButton);
    m_platform->answerMessageBox(MessageButton::Ok);
    QTest::mouseClick(child(QStringLiteral("ReplaceInList")), Qt::LeftButton);
    QCOMPARE(m_platform->messageBoxes().size(), 2);
    QCOMPARE(m_platform->messageBoxes().back().text, QStringLiteral("Not Found!"));

    toFind->setText(QStringLiteral("c1"));
    child<QLineEdit>(QStringLiteral("txttoReplace"))->setText(QStringLiteral("C1"));
    child<QCheckBox>(QStringLiteral("ReplaceAll"))->setChecked(true);
    QTest::mouseClick(child(QStringLiteral("ReplaceInList")), Qt::LeftButton);
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("r1C1"));
    QCOMPARE(list().GetItem(5, 1), QStringLiteral("r5C1"));

    // "X" closes it and the layout gives the grid its place back.
    QTest::mouseClick(child(QStringLiteral("Label1")), Qt::LeftButton);
    QVERIFY(!child(QStringLiteral("Find"))->isVisible());
    QCOMPARE(list().y(), 24);
    m_platform->verifyAllAnswered();
}

void TestDatabaseWindow::dirtyAfterEveryKindOfChange_data() {
    QTest::addColumn<QString>("change");
    for (const char* change :
         {"typing in a cell", "typing in the edit bar", "the grid's KeyDown", "bold", "italic",
          "underline", "colour", "paste", "column name", "replace", "undo", "redo", "column width",
          "add record", "delete record"}) {
        QTest::newRow(change) << QString::fromLatin1(change);
    }
}

// However the table changes, the document is marked changed, so closing asks before work
// is lost.
void TestDatabaseWindow::dirtyAfterEveryKindOfChange() {
    QFETCH(QString, change);
    fillRows(3, 1);
    clickCell(2, 1);
    if (change == u"undo" || change == u"redo") {
        list().ChangeItem(2, 1, QStringLiteral("edited"));
        if (change == u"redo") {
            list().undo();
        }
    }
    m_window->setChangeStatus(QStringLiteral("0"));

    if (change == u"typing in a cell") {
        QTest::keyClicks(cellBox(list(), 1), QStringLiteral("t"));
    } else if (change == u"typing in the edit bar") {
        QTest::mouseClick(editBar(), Qt::LeftButton);
        QTest::keyClicks(editBar(), QStringLiteral("t"));
    } else if (change == u"the grid's KeyDown") {
        // Enter that reaches the grid itself.
        QTest::keyClick(&list(), Qt::Key_Return);
    } else if (change == u"bold") {
        button(QStringLiteral("cmdBold"))->click();
    } else if (change == u"italic") {
        button(QStringLiteral("cmdItalic"))->click();
    } else if (change == u"underline") {
        button(QStringLiteral("cmdUnderlined"))->click();
    } else if (change == u"colour") {
        m_platform->answerColorDialog(255);
        button(QStringLiteral("cmdFontColor"))->click();
    } else if (change == u"paste") {
        trigger(QStringLiteral("paste"));
    } else if (change == u"column name") {
        m_platform->answerInputBox(QStringLiteral("Name"));
        trigger(QStringLiteral("columnname"));
    } else if (change == u"replace") {
        list().FindAndReplaceText(QStringLiteral("r3"), QStringLiteral("R3"));
    } else if (change == u"undo") {
        trigger(QStringLiteral("undo"));
    } else if (change == u"redo") {
        trigger(QStringLiteral("redo"));
    } else if (change == u"column width") {
        list().LetWidthColumn(1, 150);
    } else if (change == u"add record") {
        trigger(QStringLiteral("AddRow"));
    } else if (change == u"delete record") {
        trigger(QStringLiteral("deleterow"));
    }
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("1"));
    m_platform->verifyAllAnswered();
}

void TestDatabaseWindow::activationGivesAReducedTableTheNewShape() {
    // Searching, selecting and the window's own new-table shape change nothing to save.
    list().FindText(QStringLiteral("nothing"));
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));

    list().RemoveItem(1);
    list().AddRow(QStringLiteral("x"));
    list().RemoveItem(1);
    while (list().ListCount() > 1) {
        list().RemoveItem(1);
    }
    m_window->setChangeStatus(QStringLiteral("0"));
    m_platform->setClipboardText(QStringLiteral("x"));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(list().ListCount(), 30);
    QCOMPARE(list().GetColumnHeader(1), QStringLiteral("A"));
    QVERIFY(list().table().UndoStore().empty());
    QVERIFY(m_platform->clipboardText().isEmpty());
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
}

void TestDatabaseWindow::databasePasswordOption() {
    QAction* item = m_window->menuItem(QStringLiteral("password"));
    item->trigger();
    QVERIFY(!item->isChecked());
    QCOMPARE(item->text(), QStringLiteral("Database Password is Disabled"));
    QCOMPARE(m_settings.DatabasePassword, QStringLiteral("Disabled"));
    item->trigger();
    QCOMPARE(item->text(), QStringLiteral("Database Password is Enabled"));
    QCOMPARE(m_settings.DatabasePassword, QStringLiteral("Enabled"));

    // Activation shows the setting as it stands.
    m_settings.DatabasePassword = QStringLiteral("anything else");
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QVERIFY(!item->isChecked());
    QCOMPARE(item->text(), QStringLiteral("Database Password is Disabled"));
}

void TestDatabaseWindow::activeColumnAcceptsOnlyNumbers_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("message");
    QTest::newRow("a column") << "3"
                              << "3" << false;
    QTest::newRow("zero") << "0"
                          << "1" << false;
    QTest::newRow("negative") << "-2"
                              << "1" << false;
    QTest::newRow("text") << "abc"
                          << "1" << true;
    QTest::newRow("empty") << ""
                           << "1" << true;
}

void TestDatabaseWindow::activeColumnAcceptsOnlyNumbers() {
    QFETCH(QString, written);
    QFETCH(QString, kept);
    QFETCH(bool, message);
    if (message) {
        m_platform->answerMessageBox(MessageButton::Ok);
    }
    m_window->setActiveColumn(written);
    QCOMPARE(m_window->activeColumn(), kept);
    QCOMPARE(m_platform->messageBoxes().size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(m_platform->messageBoxes().front().text,
                 QStringLiteral("YOU CAN ENTER ONLY NUMBERS!"));
        QCOMPARE(m_platform->messageBoxes().front().title, QStringLiteral("Qel 2005"));
    }
}

// For review: a formatted table with the find panel open, in the build folder.
void TestDatabaseWindow::snapshot() {
    fillRows(12, 3);
    list().SetBold(1, 1, true);
    list().SetItallic(2, 2, true);
    list().SetUnderlined(3, 3, true);
    list().SetColor(4, 1, 0x0000C0);
    list().SetColor(5, 2, 0x008000);
    list().SetColumnHeader(1, QStringLiteral("Name"));
    clickCell(2, 2);
    button(QStringLiteral("cmdFind"))->click();
    child<QLineEdit>(QStringLiteral("txttoFind"))->setText(QStringLiteral("r7"));
    const QString path = qEnvironmentVariable("QEL_TEST_OUTPUT_DIR", QStringLiteral(".")) +
                         QStringLiteral("/database_window.png");
    QVERIFY(m_window->grab().save(path));
}

QTEST_MAIN(TestDatabaseWindow)
#include "tst_databasewindow.moc"
