#include "ListFixture.h"

#include "gridview/lblTxt.h"
#include "platform/WindowsColor.h"

#include <QClipboard>
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>

/// Selecting with the mouse, the keys of the editor row, and the journal of in-place edits.
class TestListEditing : public QObject {
    Q_OBJECT
private slots:
    void clickSelectsTheCellUnderIt();
    void headerAndBelowLastRowPresses();
    void keys_data();
    void keys();
    void downOnTheLastRecordAsksTheHost();
    void keysKeepTheRowInView();
    void oneRecordPerFinishedEdit();
    void unchangedCellWritesNothing();
    void textWithBarsIsRestoredWhole();
    void insertCommitsTheEditFirst();
    void sidewaysExits();
    void sidewaysExitKeepsTheColumnInView();
    void enterRaisesKeyDown();
    void focusLeavingTheGridHidesTheEditors();
    void editSurvivesDialogsAndOtherWindows();
    void cellGivenTheFocusWhileInactiveStillJournals();
    void focusToAnotherControlOfTheHostEndsTheEdit_data();
    void focusToAnotherControlOfTheHostEndsTheEdit();
    void insertJournalsAroundThePendingEdit_data();
    void insertJournalsAroundThePendingEdit();
    void removedColumnLeavesItsSlotEmpty_data();
    void removedColumnLeavesItsSlotEmpty();
    void shapeChangesUnderAnEditKeepUndoExact_data();
    void shapeChangesUnderAnEditKeepUndoExact();
    void editOvertakenThroughTheTableWritesNoRecord();
    void selectingNoRowLeavesNoCurrentRow_data();
    void selectingNoRowLeavesNoCurrentRow();
    void editorFontIsTheCellFont();
    void editorRowFollowsTheTable();

private:
    static QLineEdit* box(const List& l, int column) {
        return part<lblTxt>(l, QStringLiteral("lblTxt%1").arg(column))->findChild<QLineEdit*>();
    }
    /// Column `column` of rows 1..ListCount.
    static QStringList columnTexts(const List& l, int column) {
        QStringList texts;
        for (int r = 1; r <= l.ListCount(); ++r) {
            texts << l.GetItem(r, column);
        }
        return texts;
    }
    static QPoint cellPoint(const List& l, int row, int column) {
        return QPoint(l.numberStripWidth() + 101 * (column - 1) + 10,
                      20 + 16 * (row - 1) + l.TopOffset() + 8);
    }
};

void TestListEditing::clickSelectsTheCellUnderIt() {
    auto list = makeList(10, 3);
    RecordingHost host(list.get());
    list->setHost(&host);
    list->table().setCell(3, 1, CellRef{u"r3c1", true, false, true, 255});
    QTest::mouseClick(list.get(), Qt::LeftButton, {}, cellPoint(*list, 3, 2));
    QCOMPARE(list->iSelected(), 3);
    QCOMPARE(list->iSelectedColumn(), 2);
    QCOMPARE(QApplication::focusWidget(), box(*list, 2));
    QCOMPARE(box(*list, 2)->selectedText(), QStringLiteral("r3c2"));
    QCOMPARE(part<lblTxt>(*list, "lblTxt2")->Tag(), QStringLiteral("3|2|r3c2"));
    QCOMPARE(host.activeColumn(), QStringLiteral("2"));
    QCOMPARE(host.calls, (QStringList{"edit:r3c2", "format:000:0", "edit:r3c2"}));
    // The editor row covers row 3; the marker shows its number.
    QCOMPARE(part(*list, "lblTxt1")->geometry(),
             QRect(list->numberStripWidth(), 20 + 32 + 1, 100, 15));
    QCOMPARE(part<QLabel>(*list, "lblEdit")->text(), QStringLiteral("3"));
    // The current cell's editor in SelectedColor, the others in SelectedRowColor, each with
    // its cell's format.
    QCOMPARE(box(*list, 2)->palette().color(QPalette::Base), colorFromWindows(list->SelectedColor));
    QCOMPARE(box(*list, 1)->palette().color(QPalette::Base),
             colorFromWindows(list->SelectedRowColor));
    QCOMPARE(box(*list, 1)->palette().color(QPalette::Text), QColor(255, 0, 0));
    QVERIFY(box(*list, 1)->font().bold());
    QVERIFY(box(*list, 1)->font().underline());
    QVERIFY(!box(*list, 2)->font().bold());
    list->setHost(nullptr);
}

void TestListEditing::headerAndBelowLastRowPresses() {
    auto list = makeList(3, 2);
    QTest::mouseClick(list.get(), Qt::LeftButton, {}, QPoint(list->numberStripWidth() + 20, 10));
    QCOMPARE(list->iSelected(), 0);
    QVERIFY(!partShown(*list, "lblTxt1"));

    QTest::mouseClick(list.get(), Qt::LeftButton, {}, cellPoint(*list, 2, 1));
    QVERIFY(partShown(*list, "lblTxt1"));
    // Just below the last row: row 4 does not exist, so the editor row goes away.
    QTest::mouseClick(list.get(), Qt::LeftButton, {},
                      QPoint(list->numberStripWidth() + 20, 20 + 48));
    QVERIFY(!partShown(*list, "lblTxt1"));
    QVERIFY(!partShown(*list, "PicEdit"));
    QCOMPARE(list->iSelected(), 2);
    // Row 0 is no row either: nothing is edited above the first one, and nothing is current.
    list->SelectItem(2, 1, 1);
    list->SelectItem(0, 1, 1);
    QVERIFY(!partShown(*list, "lblTxt1"));
    QCOMPARE(list->iSelected(), 0);
}

void TestListEditing::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("cell3");
    // The current cell afterwards: a new record stays empty, even for Shift+Insert, which an
    // edit box alone would take as "paste".
    QTest::addColumn<QString>("current");
    const int none = 0, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    QTest::newRow("up") << int(Qt::Key_Up) << none << 3 << 2 << 10 << ""
                        << "r3c1"
                        << "r2c1";
    QTest::newRow("up on row 1") << int(Qt::Key_Up) << none << 1 << 1 << 10 << ""
                                 << "r3c1"
                                 << "r1c1";
    QTest::newRow("down") << int(Qt::Key_Down) << none << 3 << 4 << 10 << ""
                          << "r3c1"
                          << "r4c1";
    QTest::newRow("ctrl+insert") << int(Qt::Key_Insert) << ctrl << 3 << 3 << 11 << "#ADDITM#3"
                                 << ""
                                 << "";
    QTest::newRow("insert") << int(Qt::Key_Insert) << none << 3 << 4 << 11 << "#ADDITM#4"
                            << "r3c1"
                            << "";
    QTest::newRow("shift+insert") << int(Qt::Key_Insert) << shift << 3 << 4 << 11 << "#ADDITM#4"
                                  << "r3c1"
                                  << "";
    QTest::newRow("insert on the last row")
        << int(Qt::Key_Insert) << none << 10 << 11 << 11 << "#ADDITM#11"
        << "r3c1"
        << "";
    // Delete without Ctrl is the edit box's own: it removes the selected text.
    QTest::newRow("delete alone") << int(Qt::Key_Delete) << none << 3 << 3 << 10 << ""
                                  << ""
                                  << "";
}

void TestListEditing::keys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, startRow);
    auto list = makeList(10, 2);
    QApplication::clipboard()->setText(QStringLiteral("clipped"));
    list->SelectItem(startRow, 1, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(list->iSelected(), "row");
    QTEST(list->ListCount(), "rows");
    QTEST(list->GetItem(3, 1), "cell3");
    QTEST(box(*list, 1)->text(), "current");
    QTEST(list->GetItem(list->iSelected(), 1), "current");
    const auto& undo = list->table().UndoStore();
    QTEST(undo.empty() ? QString() : undo.front(), "record");
    // The editor row stays on the current row with the current column focused.
    QCOMPARE(part(*list, "lblTxt1")->y(), 20 + 16 * (list->iSelected() - 1) + 1);
    QCOMPARE(QApplication::focusWidget(), box(*list, 1));
}

void TestListEditing::downOnTheLastRecordAsksTheHost() {
    auto list = makeList(10, 2);
    RecordingHost host(list.get());
    list->setHost(&host);
    list->SelectItem(10, 1, 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(host.calls.contains("DODARED"));
    QCOMPARE(list->ListCount(), 11);
    QCOMPARE(list->iSelected(), 11);
    QCOMPARE(QApplication::focusWidget(), box(*list, 2));
    list->setHost(nullptr);
}

void TestListEditing::keysKeepTheRowInView() {
    // V = 264: row 16 ends at 256, row 17 at 272.
    auto list = makeList(40, 1, 100, QSize(400, 300));
    list->SelectItem(16, 1, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(list->iSelected(), 17);
    QCOMPARE(list->TopOffset(), 264 - 272);
    QCOMPARE(part(*list, "lblTxt1")->y(), 20 + 256 - 8 + 1);
    list->SelectItem(2, 1, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(list->TopOffset(), 0);

    // Ctrl+Delete removes the record and tells the host with the row the grid now has.
    QSignalSpy spy(list.get(), &List::KeyDown);
    list->SelectItem(5, 1, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(list->ListCount(), 39);
    QCOMPARE(list->GetItem(5, 1), QStringLiteral("r6c1"));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0), (QVariantList{46, 2, 5, 1}));
    QVERIFY(!partShown(*list, "lblTxt1"));
    QCOMPARE(list->table().UndoStore().front().left(11), QStringLiteral("#REMITM#5||"));

    // Removing the last record at the bottom: the rows stay flush with the bottom; the grid
    // does not scroll to the record that is gone.
    list->SelectItem(39, 1, 1); // Ctrl itself brings it into view, flush with the bottom
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(list->ListCount(), 38);
    QCOMPARE(list->TopOffset(), 264 - 16 * 38);
}

void TestListEditing::oneRecordPerFinishedEdit() {
    auto list = makeList(5, 2);
    list->SelectItem(2, 1, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("new"));
    // The table follows every keystroke, without records.
    QCOMPARE(list->GetItem(2, 1), QStringLiteral("new"));
    QVERIFY(list->table().UndoStore().empty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(list->table().UndoStore().size(), std::size_t(1));
    QCOMPARE(list->table().UndoStore().front(), QStringLiteral("#SETTXT#2|1|r2c1"));
    QVERIFY(list->undo());
    QCOMPARE(list->GetItem(2, 1), QStringLiteral("r2c1"));
}

void TestListEditing::unchangedCellWritesNothing() {
    auto list = makeList(5, 2);
    list->SelectItem(2, 1, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("r3c1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QVERIFY(list->table().UndoStore().empty());
}

void TestListEditing::textWithBarsIsRestoredWhole() {
    auto list = makeList(5, 2);
    list->table().setCellText(2, 2, QStringLiteral("a|b|c"));
    list->SelectItem(2, 1, 2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("plain"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(list->table().UndoStore().front(), QStringLiteral("#SETTXT#2|2|a|b|c"));
    QVERIFY(list->undo());
    QCOMPARE(list->GetItem(2, 2), QStringLiteral("a|b|c"));
}

void TestListEditing::insertCommitsTheEditFirst() {
    auto list = makeList(5, 1);
    list->SelectItem(3, 1, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Z"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::ControlModifier);
    const auto& undo = list->table().UndoStore();
    QCOMPARE(undo.size(), std::size_t(2));
    QCOMPARE(undo[0], QStringLiteral("#ADDITM#3"));
    QCOMPARE(undo[1], QStringLiteral("#SETTXT#3|1|r3c1"));
    QCOMPARE(list->GetItem(4, 1), QStringLiteral("Z"));
    // Leaving the new empty record unchanged adds nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(undo.size(), std::size_t(2));
    QVERIFY(list->undo(2));
    QCOMPARE(list->ListCount(), 5);
    QCOMPARE(list->GetItem(3, 1), QStringLiteral("r3c1"));
}

void TestListEditing::sidewaysExits() {
    auto list = makeList(3, 2);
    auto keyAtEnd = [](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QTest::keyClick(QApplication::focusWidget(), key);
    };
    auto keyAtStart = [](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        QTest::keyClick(QApplication::focusWidget(), key);
    };
    list->SelectItem(1, 1, 1);
    keyAtStart(Qt::Key_Left);
    QCOMPARE(list->iSelected(), 1);
    QCOMPARE(list->iSelectedColumn(), 1);
    keyAtEnd(Qt::Key_Right);
    QCOMPARE(list->iSelectedColumn(), 2);
    QCOMPARE(QApplication::focusWidget(), box(*list, 2));
    keyAtEnd(Qt::Key_Right);
    QCOMPARE(list->iSelected(), 2);
    QCOMPARE(list->iSelectedColumn(), 1);
    QCOMPARE(QApplication::focusWidget(), box(*list, 1));
    keyAtStart(Qt::Key_Left);
    QCOMPARE(list->iSelected(), 1);
    QCOMPARE(list->iSelectedColumn(), 2);
    list->SelectItem(3, 1, 2);
    keyAtEnd(Qt::Key_Right);
    QCOMPARE(list->iSelected(), 3);
    QCOMPARE(list->iSelectedColumn(), 2);
    // A caret inside the text moves within it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(list->iSelectedColumn(), 2);
    // Recoloured: the focused editor shows SelectedColor.
    QCOMPARE(box(*list, 2)->palette().color(QPalette::Base).rgb() & 0xFFFFFF,
             QColor(213, 225, 241).rgb() & 0xFFFFFF);

    // One column: the same editor takes the next or previous row with its text selected.
    auto single = makeList(3, 1);
    single->SelectItem(1, 1, 1);
    keyAtEnd(Qt::Key_Right);
    QCOMPARE(single->iSelected(), 2);
    QCOMPARE(box(*single, 1)->selectedText(), QStringLiteral("r2c1"));
    keyAtStart(Qt::Key_Left);
    QCOMPARE(single->iSelected(), 1);
    QCOMPARE(box(*single, 1)->selectedText(), QStringLiteral("r1c1"));
}

void TestListEditing::sidewaysExitKeepsTheColumnInView() {
    auto list = makeList(3, 3, 300, QSize(400, 300));
    const int strip = list->numberStripWidth();
    list->SelectItem(1, 1, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    const int L = 400 - 16 - 301 - 300;
    QCOMPARE(part(*list, "picOzadje")->x(), L);
    QCOMPARE(part(*list, "picHeader")->x(), L);
    QCOMPARE(part(*list, "lblTxt2")->x(), L + 301);
    QCOMPARE(QApplication::focusWidget(), box(*list, 2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(part(*list, "picOzadje")->x(), strip);
}

void TestListEditing::enterRaisesKeyDown() {
    auto list = makeList(3, 2);
    QSignalSpy spy(list.get(), &List::KeyDown);
    // Without a current row Enter means nothing.
    QTest::keyClick(part(*list, "PicScrV"), Qt::Key_Return);
    QCOMPARE(spy.size(), 0);
    list->SelectItem(2, 1); // no column: the focus stays with the grid
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0), (QVariantList{13, 1, 2, 0}));
}

void TestListEditing::focusLeavingTheGridHidesTheEditors() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* list = new List(&window);
    layout->addWidget(other);
    layout->addWidget(list);
    window.resize(400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list->SelectItem(1, 1, 1);
    QVERIFY(partShown(*list, "lblTxt1"));
    other->setFocus();
    QVERIFY(!partShown(*list, "lblTxt1"));
    QCOMPARE(list->iSelected(), 1);
    QCOMPARE(list->iSelectedColumn(), 1);
}

void TestListEditing::editSurvivesDialogsAndOtherWindows() {
    auto list = makeList(5, 2);
    list->SelectItem(2, 1, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ab"));

    // A message box of the host: modal, with a button that takes the focus; a timer closes
    // it whatever happens, so the test cannot hang on it.
    QDialog dialog(list.get());
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    bool buttonHadFocus = false;
    bool rowShownMeanwhile = false;
    QTimer::singleShot(0, &dialog, [&] {
        buttonHadFocus = QTest::qWaitFor([&] { return QApplication::focusWidget() == ok; });
        rowShownMeanwhile = partShown(*list, "lblTxt1");
        dialog.accept();
    });
    dialog.exec();
    QVERIFY(buttonHadFocus);
    QVERIFY(rowShownMeanwhile);

    // Another top-level window takes the focus.
    QWidget other;
    auto* otherBox = new QLineEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    otherBox->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), otherBox);
    QVERIFY(partShown(*list, "lblTxt1"));
    other.hide();

    // Back in the grid the edit goes on where it was and ends as the user leaves the cell.
    QApplication::setActiveWindow(list.get());
    QVERIFY(QTest::qWaitForWindowActive(list.get()));
    QTRY_COMPARE(QApplication::focusWidget(), box(*list, 1));
    QVERIFY(list->table().UndoStore().empty());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("c"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(list->GetItem(2, 1), QStringLiteral("abc"));
    QCOMPARE(list->table().UndoStore(), std::deque<QString>{QStringLiteral("#SETTXT#2|1|r2c1")});
    QVERIFY(list->undo());
    QCOMPARE(list->GetItem(2, 1), QStringLiteral("r2c1"));
}

void TestListEditing::cellGivenTheFocusWhileInactiveStillJournals() {
    auto list = makeList(5, 2);
    // The host selects a cell while another window is still active (a dialog just closing):
    // the focus arrives only with the window, as no new visit of the cell.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    list->SelectItem(2, 1, 1);
    other.hide();
    QApplication::setActiveWindow(list.get());
    QVERIFY(QTest::qWaitForWindowActive(list.get()));
    QTRY_COMPARE(QApplication::focusWidget(), box(*list, 1));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("new"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(list->GetItem(2, 1), QStringLiteral("new"));
    QCOMPARE(list->table().UndoStore(), std::deque<QString>{QStringLiteral("#SETTXT#2|1|r2c1")});
}

void TestListEditing::focusToAnotherControlOfTheHostEndsTheEdit_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("set focus") << "set focus";
    QTest::newRow("mouse click") << "mouse click";
    // The host put the focus elsewhere while another window was active: the edit ends when
    // the host window comes back.
    QTest::newRow("on the window's return") << "return";
}

void TestListEditing::focusToAnotherControlOfTheHostEndsTheEdit() {
    QFETCH(QString, how);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* list = new List(&window);
    layout->addWidget(other);
    layout->addWidget(list);
    window.resize(400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list->ChangeItem(1, 1, QStringLiteral("old"));
    list->ClearUndoRedo();
    list->SelectItem(1, 1, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("new"));

    if (how == "set focus") {
        other->setFocus();
    } else if (how == "mouse click") {
        QTest::mouseClick(other, Qt::LeftButton);
    } else {
        QWidget second;
        second.show();
        QApplication::setActiveWindow(&second);
        QVERIFY(QTest::qWaitForWindowActive(&second));
        other->setFocus();
        QVERIFY(partShown(*list, "lblTxt1"));
        QVERIFY(list->table().UndoStore().empty());
        second.hide();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QTRY_COMPARE(QApplication::focusWidget(), other);
    QVERIFY(!partShown(*list, "lblTxt1"));
    QCOMPARE(list->GetItem(1, 1), QStringLiteral("new"));
    QCOMPARE(list->table().UndoStore(), std::deque<QString>{QStringLiteral("#SETTXT#1|1|old")});
    // The edit has ended: focus coming back to the grid's track writes no second record.
    list->SelectItem(1, 1);
    QCOMPARE(list->table().UndoStore().size(), std::size_t(1));
}

void TestListEditing::insertJournalsAroundThePendingEdit_data() {
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("newest");
    QTest::addColumn<QString>("older");
    QTest::addColumn<QStringList>("afterInsert");
    QTest::addColumn<QStringList>("afterOneUndo");
    // Below the current record: the new record's entry comes first and the typing's after
    // it, so the first undo takes back the typing.
    const QStringList below{"r1c1", "r2c1", "Z", "", "r4c1", "r5c1"};
    const QStringList belowUndone{"r1c1", "r2c1", "r3c1", "", "r4c1", "r5c1"};
    QTest::newRow("insert") << 0 << 4 << "#SETTXT#3|1|r3c1"
                            << "#ADDITM#4" << below << belowUndone;
    QTest::newRow("shift+insert") << int(Qt::ShiftModifier) << 4 << "#SETTXT#3|1|r3c1"
                                  << "#ADDITM#4" << below << belowUndone;
    // At the current record, which moves down under the edit: the typing is journalled
    // first, for the row it was typed in.
    QTest::newRow("ctrl+insert") << int(Qt::ControlModifier) << 3 << "#ADDITM#3"
                                 << "#SETTXT#3|1|r3c1"
                                 << QStringList{"r1c1", "r2c1", "", "Z", "r4c1", "r5c1"}
                                 << QStringList{"r1c1", "r2c1", "Z", "r4c1", "r5c1"};
}

void TestListEditing::insertJournalsAroundThePendingEdit() {
    QFETCH(int, modifiers);
    auto list = makeList(5, 1);
    list->SelectItem(3, 1, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Z"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::KeyboardModifiers(modifiers));
    QTEST(list->iSelected(), "row");
    QCOMPARE(QApplication::focusWidget(), box(*list, 1));
    QTEST(columnTexts(*list, 1), "afterInsert");
    // Leaving the new empty record unchanged adds nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    const auto& undo = list->table().UndoStore();
    QCOMPARE(undo.size(), std::size_t(2));
    QTEST(undo[0], "newest");
    QTEST(undo[1], "older");
    QVERIFY(list->undo());
    QTEST(columnTexts(*list, 1), "afterOneUndo");
}

void TestListEditing::removedColumnLeavesItsSlotEmpty_data() {
    QTest::addColumn<int>("removed");
    QTest::addColumn<bool>("throughTable");
    // What the user typed into the focused last cell; empty: the text was deleted.
    QTest::addColumn<QString>("typed");
    QTest::newRow("last") << 3 << false << "typed";
    QTest::newRow("middle") << 2 << false << "typed";
    QTest::newRow("last, through the table") << 3 << true << "typed";
    QTest::newRow("middle, through the table") << 2 << true << "typed";
    QTest::newRow("last, emptied, through the table") << 3 << true << "";
    QTest::newRow("middle, emptied, through the table") << 2 << true << "";
}

void TestListEditing::removedColumnLeavesItsSlotEmpty() {
    QFETCH(int, removed);
    QFETCH(bool, throughTable);
    QFETCH(QString, typed);
    auto list = makeList(4, 3);
    list->SelectItem(2, 1, 3);
    if (typed.isEmpty()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    } else {
        QTest::keyClicks(QApplication::focusWidget(), typed);
    }
    QCOMPARE(list->GetItem(2, 3), typed);
    QCOMPARE(QApplication::focusWidget(), box(*list, 3));
    if (throughTable) {
        list->table().RemoveColumn(removed);
    } else {
        list->RemoveColumn(removed);
    }
    QCOMPARE(list->ColumnCount(), 2);
    // The typing went with its column, or moved left with it.
    QCOMPARE(list->GetItem(2, 2), removed == 2 ? typed : QStringLiteral("r2c2"));
    for (int r = 1; r <= 4; ++r) {
        QVERIFY2(list->table().cellAt(r, 3).Text.isEmpty(), qPrintable(QString::number(r)));
    }
    list->AddColumn(0, 100, QStringLiteral("new"));
    QCOMPARE(columnTexts(*list, 3), (QStringList{"", "", "", ""}));
    if (!throughTable) {
        // The grid committed the typing before the column went: undo takes back all three.
        while (list->undo()) {
        }
        QCOMPARE(list->ColumnCount(), 3);
        QCOMPARE(columnTexts(*list, 3), (QStringList{"r1c3", "r2c3", "r3c3", "r4c3"}));
        QCOMPARE(columnTexts(*list, 2), (QStringList{"r1c2", "r2c2", "r3c2", "r4c2"}));
    }
}

void TestListEditing::shapeChangesUnderAnEditKeepUndoExact_data() {
    QTest::addColumn<QString>("change");
    // Where the typing is after the change; 0 when it is gone or was taken back.
    QTest::addColumn<int>("typedRow");
    QTest::addColumn<int>("typedColumn");
    QTest::newRow("record inserted at the edited one") << "AddRow 2" << 3 << 2;
    QTest::newRow("record inserted above") << "AddRow 1" << 3 << 2;
    QTest::newRow("record appended") << "AddRow 0" << 2 << 2;
    QTest::newRow("edited record removed") << "RemoveItem 2" << 0 << 0;
    QTest::newRow("record above removed") << "RemoveItem 1" << 1 << 2;
    QTest::newRow("column inserted at the edited one") << "AddColumn 2" << 2 << 3;
    QTest::newRow("edited column removed") << "RemoveColumn 2" << 0 << 0;
    QTest::newRow("cleared") << "Clear" << 0 << 0;
    QTest::newRow("undo") << "undo" << 0 << 0;
}

void TestListEditing::shapeChangesUnderAnEditKeepUndoExact() {
    QFETCH(QString, change);
    QFETCH(int, typedRow);
    QFETCH(int, typedColumn);
    auto list = makeList(4, 3);
    list->SelectItem(2, 1, 2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));

    const QStringList words = change.split(QLatin1Char(' '));
    const int at = words.value(1).toInt();
    if (words[0] == "AddRow") {
        list->AddRow(QString(), at);
    } else if (words[0] == "RemoveItem") {
        list->RemoveItem(at);
    } else if (words[0] == "AddColumn") {
        list->AddColumn(at, 100, QStringLiteral("N"));
    } else if (words[0] == "RemoveColumn") {
        list->RemoveColumn(at);
    } else if (words[0] == "Clear") {
        list->Clear();
    } else {
        // Undo while typing takes back the typing, not whatever came before it.
        QVERIFY(list->undo());
        QCOMPARE(list->GetItem(2, 2), QStringLiteral("r2c2"));
    }
    // The user leaves the cell; then everything is taken back.
    list->SelectItem(1, 1);
    for (int r = 1; r <= list->ListCount(); ++r) {
        for (int c = 1; c <= list->ColumnCount(); ++c) {
            const bool typedHere = r == typedRow && c == typedColumn;
            QCOMPARE(list->GetItem(r, c) == QStringLiteral("typed"), typedHere);
        }
    }
    while (list->undo()) {
    }
    QCOMPARE(list->ListCount(), 4);
    QCOMPARE(list->ColumnCount(), 3);
    for (int c = 1; c <= 3; ++c) {
        QCOMPARE(columnTexts(*list, c),
                 (QStringList{QStringLiteral("r1c%1").arg(c), QStringLiteral("r2c%1").arg(c),
                              QStringLiteral("r3c%1").arg(c), QStringLiteral("r4c%1").arg(c)}));
    }
}

void TestListEditing::editOvertakenThroughTheTableWritesNoRecord() {
    auto list = makeList(4, 3);
    list->SelectItem(2, 1, 2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
    // Straight through the table the grid cannot commit first: the edited cell moves to
    // column 3 under the editor, and the new empty column 2 must not get its old text.
    list->table().AddColumn(2, 100, QStringLiteral("N"));
    list->SelectItem(1, 1);
    QCOMPARE(list->table().UndoStore(), std::deque<QString>{QStringLiteral("#ADDCLM#2")});
    QCOMPARE(columnTexts(*list, 2), (QStringList{"", "", "", ""}));
    QCOMPARE(list->GetItem(2, 3), QStringLiteral("typed"));
}

void TestListEditing::selectingNoRowLeavesNoCurrentRow_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("steps");
    QTest::newRow("row 0") << 3 << "0";
    QTest::newRow("row -1") << 3 << "-1";
    // The database window's Delete Record: remove, then select the rows below and above.
    QTest::newRow("after deleting the only record") << 1 << "delete";
}

void TestListEditing::selectingNoRowLeavesNoCurrentRow() {
    QFETCH(int, rows);
    QFETCH(QString, steps);
    auto list = makeList(rows, 2);
    list->SelectItem(1, 1, 1);
    QSignalSpy spy(list.get(), &List::KeyDown);
    if (steps == "delete") {
        list->RemoveItem(list->iSelected());
        list->SelectItem(list->iSelected() + 1, 1);
        list->SelectItem(list->iSelected() - 1, 1);
    } else {
        list->SelectItem(steps.toInt(), 1, 1);
    }
    QCOMPARE(list->iSelected(), 0);
    QVERIFY(!partShown(*list, "lblTxt1"));
    QVERIFY(!partShown(*list, "PicEdit"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(spy.size(), 0);
}

void TestListEditing::editorFontIsTheCellFont() {
    auto list = makeList(3, 2);
    list->table().setCell(2, 1, CellRef{u"r2c1", true, true, true, 0});
    list->SelectItem(2, 1, 1);
    // The cells are drawn in the grid's own font.
    const QFont cells = list->font();
    QCOMPARE(cells.pixelSize(), 13);
    for (int c = 1; c <= 2; ++c) {
        const QFont font = box(*list, c)->font();
        QCOMPARE(font.family(), cells.family());
        QCOMPARE(font.pixelSize(), cells.pixelSize());
        QCOMPARE(QFontInfo(font).pixelSize(), QFontInfo(cells).pixelSize());
    }
    QVERIFY(box(*list, 1)->font().bold());
}

// The editor row shows what the table holds, however the cell changed (the host, undo,
// a replace), and the host's edit bar follows typing; a host change to the cell being edited
// ends that edit with its own record.
void TestListEditing::editorRowFollowsTheTable() {
    auto list = makeList(3, 2);
    RecordingHost host(list.get());
    list->setHost(&host);
    list->SelectItem(2, 1, 1);
    QVERIFY(box(*list, 1)->hasFocus());
    QTest::keyClicks(box(*list, 1), QStringLiteral("ab"));
    QCOMPARE(host.calls.mid(host.calls.size() - 2), (QStringList{"edit:a", "edit:ab"}));

    list->ChangeItem(2, 1, QStringLiteral("pasted"));
    list->SetBold(2, 2, true);
    QCOMPARE(box(*list, 1)->text(), QStringLiteral("pasted"));
    QVERIFY(box(*list, 2)->font().bold());
    // Newest first: the bold, the host's change, the typing.
    const std::deque<QString>& undo = list->table().UndoStore();
    QCOMPARE(undo.size(), size_t(3));
    QCOMPARE(undo[1], QStringLiteral("#SETTXT#2|1|ab"));
    QCOMPARE(undo[2], QStringLiteral("#SETTXT#2|1|r2c1"));

    QVERIFY(list->undo());
    QVERIFY(list->undo());
    QCOMPARE(box(*list, 1)->text(), QStringLiteral("ab"));
    QVERIFY(!box(*list, 2)->font().bold());
    list->FindAndReplaceText(QStringLiteral("ab"), QStringLiteral("AB"));
    QCOMPARE(box(*list, 1)->text(), QStringLiteral("AB"));
    list->setHost(nullptr);
}

QTEST_MAIN(TestListEditing)
#include "tst_listediting.moc"
