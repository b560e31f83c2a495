#include "gridview/List.h"
#include "gridview/ListHost.h"
#include "support/ScriptedPlatform.h"
#include "ui/database/commands/ColumnCommands.h"
#include "ui/database/commands/DatabaseWindowState.h"
#include "ui/database/commands/FindCommands.h"
#include "ui/database/commands/FormatCommands.h"
#include "ui/database/commands/JournalCommands.h"
#include "ui/database/commands/RecordCommands.h"

#include <QTest>

#include <memory>

namespace {

constexpr qint32 kButtonFace = 0xC0C0C0;

// The window as the commands see it, and the grid's host: ActiveColumn follows COLUMNUMBER.
class StandInWindow final : public DatabaseWindowState, public ListHost {
public:
    int activeColumnNumber() const override { return activeColumn().toInt(); }
    void markDirty() override { dirty = true; }
    ShownFormat shownFormat() const override { return shown; }
    void showFormat(const ShownFormat& format) override { shown = format; }
    void clearEditBar() override { ++editBarCleared; }
    void focusUndoThenGrid() override { ++focusMoves; }

    bool dirty = false;
    ShownFormat shown;
    int editBarCleared = 0;
    int focusMoves = 0;
};

// The commands over a grid of `rows` x `columns` cells "r<row>c<column>" with headers
// "H1".., the current cell at (row, column).
struct Bench {
    Bench(int rows, int columns, int row = 1, int column = 1) {
        list.resize(400, 300);
        list.setHost(&window);
        list.SetColumnHeader(1, QStringLiteral("H1"));
        for (int c = 2; c <= columns; ++c) {
            list.AddColumn(0, 90, QStringLiteral("H%1").arg(c));
        }
        if (rows > 1) {
            list.AddMoreThanOneRow(rows - 1);
        }
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= columns; ++c) {
                list.table().setCellText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
            }
        }
        list.ClearUndoRedo();
        list.table().setISelected(row);
        list.table().setISelectedColumn(column);
        list.COLUMNUMBER();
    }

    QStringList row(int r) const {
        QStringList texts;
        for (int c = 1; c <= list.ColumnCount(); ++c) {
            texts << list.GetItem(r, c);
        }
        return texts;
    }
    QStringList headers() const {
        QStringList texts;
        for (int c = 1; c <= list.ColumnCount(); ++c) {
            texts << list.GetColumnHeader(c);
        }
        return texts;
    }

    ScriptedPlatform platform;
    StandInWindow window;
    List list;
    FormatCommands format{list, platform, window, kButtonFace};
    RecordCommands records{list, window};
    ColumnCommands columns{list, platform, window, format, QStringLiteral("qel2005")};
    JournalCommands journal{list, platform, window};
    FindCommands find{list, platform};
};

} // namespace

class TestEditingCommands : public QObject {
    Q_OBJECT
private slots:
    void addRecord();
    void addRecordAboveTheLimit();
    void insertAndDeleteRecord();
    void askName_data();
    void askName();
    void addAndInsertColumn();
    void deleteColumn_data();
    void deleteColumn();
    void toggles();
    void textColour();
    void copyAndPaste_data();
    void copyAndPaste();
    void undoAndRedoSayWhenThereIsNothing();
    void findAndReplace();
};

void TestEditingCommands::addRecord() {
    Bench b(3, 2);
    b.records.addRecord();
    QCOMPARE(b.list.ListCount(), 4);
    QCOMPARE(b.row(3), (QStringList{"r3c1", "r3c2"}));
    QCOMPARE(b.row(4), (QStringList{"", ""}));
    QVERIFY(b.window.dirty);
    QCOMPARE(b.window.focusMoves, 1);
    // The grid's DODARED is the same step without the focus move.
    QVERIFY(b.records.DODARED());
    QCOMPARE(b.list.ListCount(), 5);
    QCOMPARE(b.window.focusMoves, 1);
}

void TestEditingCommands::addRecordAboveTheLimit() {
    Bench b(1, 1);
    b.list.AddMoreThanOneRow(RecordCommands::MaxRecordsForAdd);
    b.list.ClearUndoRedo();
    b.records.addRecord();
    QCOMPARE(b.list.ListCount(), RecordCommands::MaxRecordsForAdd + 1);
    QVERIFY(!b.window.dirty);
    QCOMPARE(b.window.focusMoves, 0);
    QVERIFY(b.platform.dialogs().isEmpty());
}

void TestEditingCommands::insertAndDeleteRecord() {
    Bench b(3, 2, 2);
    b.records.insertRecord();
    QCOMPARE(b.list.ListCount(), 4);
    QCOMPARE(b.row(1), (QStringList{"r1c1", "r1c2"}));
    QCOMPARE(b.row(2), (QStringList{"", ""}));
    QCOMPARE(b.row(3), (QStringList{"r2c1", "r2c2"}));
    QVERIFY(b.window.dirty);
    QCOMPARE(b.window.focusMoves, 1);

    b.window.dirty = false;
    b.list.SelectItem(2, 1);
    b.records.deleteRecord();
    QCOMPARE(b.list.ListCount(), 3);
    QCOMPARE(b.row(2), (QStringList{"r2c1", "r2c2"}));
    // The current row stays in its place, now on the next record ...
    QCOMPARE(b.list.iSelected(), 2);
    QVERIFY(b.window.dirty);
    // ... or, when the last record went, is the new last one.
    b.list.SelectItem(3, 1);
    b.records.deleteRecord();
    QCOMPARE(b.list.ListCount(), 2);
    QCOMPARE(b.list.iSelected(), 2);
    QVERIFY(b.platform.dialogs().isEmpty());
}

void TestEditingCommands::askName_data() {
    QTest::addColumn<bool>("given");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name"); // "-" for none
    QTest::addColumn<bool>("refused");
    QTest::newRow("a name") << true << "Price"
                            << "Price" << false;
    QTest::newRow("cut to 15") << true << "abcdefghijklmnopqrst"
                               << "abcdefghijklmno" << false;
    QTest::newRow("cancel") << false << ""
                            << "-" << false;
    QTest::newRow("empty") << true << ""
                           << "-" << false;
    QTest::newRow("a single bar is fine") << true << "EUR|USD"
                                          << "EUR|USD" << false;
    QTest::newRow("double bar") << true << "a||b"
                                << "-" << true;
    QTest::newRow("bar first") << true << "|a"
                               << "-" << true;
    QTest::newRow("bar last after the cut") << true << "abcdefghijklmn|x"
                                            << "-" << true;
}

// The input box's prompt, the 15-character cut, and names a saved file could not give back.
void TestEditingCommands::askName() {
    QFETCH(bool, given);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(bool, refused);
    Bench b(1, 1);
    if (given) {
        b.platform.answerInputBox(typed);
    } else {
        b.platform.cancelInputBox();
    }
    if (refused) {
        b.platform.answerMessageBox(MessageButton::Ok);
    }
    const std::optional<QString> asked = b.columns.askName();
    QCOMPARE(asked.value_or(QStringLiteral("-")), name);
    QCOMPARE(b.platform.dialogs().front().input.prompt,
             QStringLiteral("Enter the Column Name ( up to 15 characters) "));
    QCOMPARE(b.platform.messageBoxes().size(), refused ? 1 : 0);
    if (refused) {
        const QString text = b.platform.messageBoxes().front().text;
        QVERIFY2(text.contains(u'"' + typed.left(ColumnCommands::MaxNameLength) + u'"') &&
                     text.contains(QStringLiteral("would not give it back")),
                 qPrintable(text));
        QCOMPARE(b.platform.messageBoxes().front().icon, MessageIcon::Exclamation);
    }
}

void TestEditingCommands::addAndInsertColumn() {
    Bench b(2, 2, 1, 2);
    b.list.SetBold(1, 2, true);
    b.list.SetUnderlined(1, 2, true);
    b.window.shown = {.bold = true, .italic = false, .underlined = true, .color = 0};
    b.list.ClearUndoRedo();
    b.platform.setClipboardText(QStringLiteral("from elsewhere"));

    b.platform.answerInputBox(QStringLiteral("Price"));
    b.columns.addColumn();
    QCOMPARE(b.headers(), (QStringList{"H1", "H2", "Price"}));
    QCOMPARE(b.list.GetWidthColumn(3), ColumnCommands::NewColumnWidth);
    QCOMPARE(b.row(1), (QStringList{"r1c1", "r1c2", ""}));
    // The current cell keeps its text and format; the copy it made is gone from the
    // clipboard, but its format stays copied.
    QVERIFY(b.list.table().cellAt(1, 2).Bold && b.list.GetUnderlined(1, 2));
    QVERIFY(b.platform.clipboardText().isEmpty());
    QCOMPARE(b.format.copiedFormat(), b.window.shown);
    QVERIFY(b.list.table().UndoStore().empty());
    QVERIFY(b.window.dirty);
    QCOMPARE(b.window.editBarCleared, 1);

    b.platform.setClipboardText(QStringLiteral("from elsewhere"));
    b.platform.answerInputBox(QStringLiteral("New"));
    b.columns.insertColumn();
    QVERIFY(b.platform.clipboardText().isEmpty());
    QCOMPARE(b.headers(), (QStringList{"H1", "New", "H2", "Price"}));
    QCOMPARE(b.row(2), (QStringList{"r2c1", "", "r2c2", ""}));
    QVERIFY(b.list.table().cellAt(1, 3).Bold);
    QVERIFY(b.list.table().UndoStore().empty());

    // Cancelling leaves everything, the copy made before the question included.
    b.list.table().setISelectedColumn(1);
    b.platform.cancelInputBox();
    b.columns.insertColumn();
    QCOMPARE(b.headers(), (QStringList{"H1", "New", "H2", "Price"}));
    QCOMPARE(b.platform.clipboardText(), QStringLiteral("r1c1"));
}

void TestEditingCommands::deleteColumn_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("row1");
    QTest::newRow("No keeps it") << 3 << 2 << false << QStringList{"H1", "H2", "H3"}
                                 << QStringList{"r1c1", "r1c2", "r1c3"};
    QTest::newRow("a middle column")
        << 3 << 2 << true << QStringList{"H1", "H3"} << QStringList{"r1c1", "r1c3"};
    QTest::newRow("the last of several")
        << 3 << 3 << true << QStringList{"H1", "H2"} << QStringList{"r1c1", "r1c2"};
    QTest::newRow("the only one: asked first, then refused")
        << 1 << 1 << true << QStringList{"H1"} << QStringList{"r1c1"};
}

void TestEditingCommands::deleteColumn() {
    QFETCH(int, columns);
    QFETCH(int, current);
    QFETCH(bool, yes);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, row1);
    Bench b(2, columns, 1, current);
    b.platform.setClipboardText(QStringLiteral("x"));
    b.platform.answerMessageBox(yes ? MessageButton::Yes : MessageButton::No);
    const bool refused = yes && columns == 1;
    if (refused) {
        b.platform.answerMessageBox(MessageButton::Ok);
    }
    b.columns.deleteColumn();
    QCOMPARE(b.headers(), headers);
    QCOMPARE(b.row(1), row1);

    const QList<MessageBoxRequest> boxes = b.platform.messageBoxes();
    QCOMPARE(boxes.front().text, QStringLiteral("Permanently delete column H%1 and all its "
                                                "contents ?")
                                     .arg(current));
    QCOMPARE(boxes.front().buttons, MessageButtons::YesNo);
    QCOMPARE(boxes.size(), refused ? 2 : 1);
    if (refused) {
        QCOMPARE(boxes[1].text, QStringLiteral("You can't delete this column...one column is "
                                               "the minimum required by QeL 2005 database "
                                               "format"));
        QCOMPARE(boxes[1].title, QStringLiteral("qel2005 Can't delete last column!"));
        QCOMPARE(boxes[1].icon, MessageIcon::Critical);
    }
    const bool deleted = yes && !refused;
    QCOMPARE(b.platform.clipboardText().isEmpty(), deleted);
    QCOMPARE(b.window.dirty, deleted);
    if (deleted) {
        QVERIFY(b.list.table().UndoStore().empty());
    }
}

void TestEditingCommands::toggles() {
    Bench b(2, 2, 2, 2);
    b.window.shown = {.bold = false, .italic = true, .underlined = false, .color = 0};
    b.format.toggleBold();
    b.format.toggleItalic();
    b.format.toggleUnderline();
    const CellRef cell = b.list.table().cellAt(2, 2);
    QVERIFY(cell.Bold && !cell.Itallic && cell.Underlined);
    QCOMPARE(b.window.shown,
             (ShownFormat{.bold = true, .italic = false, .underlined = true, .color = 0}));
    b.format.toggleBold();
    QVERIFY(!b.list.table().cellAt(2, 2).Bold);
    QVERIFY(!b.window.shown.bold);
}

// The dialog starts at the colour chosen last (black at first); cancelling changes nothing.
void TestEditingCommands::textColour() {
    Bench b(2, 2, 1, 2);
    b.list.SetColor(1, 2, 0x00FF00);
    b.window.shown.color = 0x00FF00;
    b.list.ClearUndoRedo();
    b.platform.answerColorDialog(0x0000FF);
    b.format.chooseColor();
    QCOMPARE(b.list.GetColor(1, 2), 0x0000FF);
    QCOMPARE(b.window.shown.color, 0x0000FF);

    b.list.table().setISelected(2);
    b.platform.cancelColorDialog();
    b.format.chooseColor();
    QCOMPARE(b.list.GetColor(2, 2), 0);
    QCOMPARE(b.window.shown.color, 0x0000FF);
    QCOMPARE(b.list.table().UndoStore().size(), size_t(1));

    const QList<DialogRecord>& dialogs = b.platform.dialogs();
    QCOMPARE(dialogs[0].initialColor, 0);
    QCOMPARE(dialogs[1].initialColor, 0x0000FF);
}

void TestEditingCommands::copyAndPaste_data() {
    QTest::addColumn<QString>("source");    // the copied cell's text
    QTest::addColumn<QString>("clipboard"); // before the copy
    QTest::addColumn<bool>("targetBold");   // the target cell's own bold flag
    QTest::addColumn<QString>("pasted");    // the target's text afterwards
    QTest::newRow("text and format") << "Ann"
                                     << "old" << false << "Ann";
    QTest::newRow("a bold target stays bold") << "Ann"
                                              << "" << true << "Ann";
    QTest::newRow("an empty cell copies only its format") << ""
                                                          << "old" << false << "old";
    QTest::newRow("nothing on the clipboard") << ""
                                              << "" << false << "r2c1";
    QTest::newRow("line breaks from elsewhere are joined") << ""
                                                           << "a\r\nb\nc" << false << "abc";
}

void TestEditingCommands::copyAndPaste() {
    QFETCH(QString, source);
    QFETCH(QString, clipboard);
    QFETCH(bool, targetBold);
    QFETCH(QString, pasted);
    Bench b(2, 1);
    b.list.table().setCellText(1, 1, source);
    b.list.SetBold(2, 1, targetBold);
    b.platform.setClipboardText(clipboard);
    // The copied format is what the buttons show for the current cell.
    b.window.shown = {.bold = true, .italic = false, .underlined = true, .color = 255};
    b.format.copy();
    QCOMPARE(b.platform.clipboardText(), source.isEmpty() ? clipboard : source);

    b.list.table().setISelected(2);
    b.window.shown = {.bold = false, .italic = false, .underlined = false, .color = 0};
    b.format.paste();
    const CellRef cell = b.list.table().cellAt(2, 1);
    QCOMPARE(cell.Text.toString(), pasted);
    QVERIFY(cell.Bold && !cell.Itallic && cell.Underlined);
    QCOMPARE(cell.Color, 255);
    QCOMPARE(b.window.shown,
             (ShownFormat{.bold = true, .italic = false, .underlined = true, .color = 255}));
}

void TestEditingCommands::undoAndRedoSayWhenThereIsNothing() {
    Bench b(2, 1);
    b.platform.answerMessageBox(MessageButton::Ok);
    b.journal.undo();
    b.platform.answerMessageBox(MessageButton::Ok);
    b.journal.redo();
    QCOMPARE(b.platform.messageBoxes().at(0).text, QStringLiteral("Cant undo!"));
    QCOMPARE(b.platform.messageBoxes().at(1).text, QStringLiteral("Cant redo!"));
    QCOMPARE(b.platform.messageBoxes().at(1).title, QStringLiteral("Qel 2005"));
    // Undo moves the focus to its button and back whether or not it could undo; redo never.
    QCOMPARE(b.window.focusMoves, 1);

    b.list.ChangeItem(1, 1, QStringLiteral("x"));
    b.journal.undo();
    QCOMPARE(b.list.GetItem(1, 1), QStringLiteral("r1c1"));
    b.journal.redo();
    QCOMPARE(b.list.GetItem(1, 1), QStringLiteral("x"));
    QCOMPARE(b.platform.messageBoxes().size(), 2);
}

void TestEditingCommands::findAndReplace() {
    Bench b(3, 2);
    b.find.find(QString(), false);
    QVERIFY(b.platform.dialogs().isEmpty());

    b.find.find(QStringLiteral("r3c2"), false);
    QCOMPARE(b.list.iSelected(), 3);
    QVERIFY(b.platform.dialogs().isEmpty());

    b.platform.answerMessageBox(MessageButton::Ok);
    b.find.find(QStringLiteral("zz"), false);
    b.platform.answerMessageBox(MessageButton::Ok);
    b.find.replace(QStringLiteral("zz"), QStringLiteral("y"), true, false);
    QCOMPARE(b.platform.messageBoxes().size(), 2);
    for (const MessageBoxRequest& box : b.platform.messageBoxes()) {
        QCOMPARE(box.text, QStringLiteral("Not Found!"));
        QCOMPARE(box.title, QStringLiteral("Qel 2005"));
    }

    b.find.replace(QStringLiteral("c1"), QStringLiteral("C1"), true, false);
    QCOMPARE(b.list.GetItem(1, 1), QStringLiteral("r1C1"));
    QCOMPARE(b.list.GetItem(3, 1), QStringLiteral("r3C1"));
    QCOMPARE(b.platform.messageBoxes().size(), 2);
}

QTEST_MAIN(TestEditingCommands)
#include "tst_editingcommands.moc"
