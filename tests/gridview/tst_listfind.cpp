#include "ListFixture.h"

#include "gridview/lblTxt.h"

#include <QLineEdit>

/// FindText: the table's match search, then scrolling to the match and selecting it.
class TestListFind : public QObject {
    Q_OBJECT
private slots:
    void scrollsToTheMatchAndSelectsIt();
    void selectsTheMatchInsideTheCell();
    void scrollsSidewaysToTheColumn();
    void honoursTheHostsExactMatchBox();
    void notFoundChangesNothing();

private:
    static QLineEdit* box(const List& l, int column) {
        return part<lblTxt>(l, QStringLiteral("lblTxt%1").arg(column))->findChild<QLineEdit*>();
    }
};

void TestListFind::scrollsToTheMatchAndSelectsIt() {
    auto list = makeList(100, 3, 100, QSize(400, 300));
    QVERIFY(list->FindText(QStringLiteral("r80c3")));
    QCOMPARE(list->iSelected(), 80);
    QCOMPARE(list->iSelectedColumn(), 3);
    QCOMPARE(list->TopOffset(), areaV(*list) - 16 * 80); // row 80 is the last visible one
    QCOMPARE(QApplication::focusWidget(), box(*list, 3));
    QCOMPARE(box(*list, 3)->selectionStart(), 0);
    QCOMPARE(box(*list, 3)->selectedText(), QStringLiteral("r80c3"));
    QCOMPARE(part(*list, "lblTxt3")->y(), 20 + 16 * 79 + list->TopOffset() + 1);
    auto* thumb = part(*list, "DrsnikV");
    QVERIFY(thumb->y() > 100);

    // Above the visible rows: the match becomes the first row.
    QVERIFY(list->FindText(QStringLiteral("r5c1")));
    QCOMPARE(list->TopOffset(), -16 * 4);
}

void TestListFind::selectsTheMatchInsideTheCell() {
    auto list = makeList(10, 2);
    list->table().setCellText(7, 2, QStringLiteral("xyab"));
    list->SelectItem(5, 1, 1);
    QVERIFY(list->FindText(QStringLiteral("ab")));
    QCOMPARE(list->iSelected(), 7);
    QCOMPARE(box(*list, 2)->selectionStart(), 2);
    QCOMPARE(box(*list, 2)->selectedText(), QStringLiteral("ab"));
    // The next visit to the cell selects all again.
    list->SelectItem(7, 1, 1);
    list->SelectItem(7, 1, 2);
    QCOMPARE(box(*list, 2)->selectedText(), QStringLiteral("xyab"));
}

void TestListFind::scrollsSidewaysToTheColumn() {
    auto list = makeList(5, 4, 200, QSize(400, 300));
    QVERIFY(list->FindText(QStringLiteral("r2c3")));
    const int L = 400 - 16 - 402 - 200;
    QCOMPARE(part(*list, "picOzadje")->x(), L);
    QCOMPARE(part(*list, "lblTxt3")->x(), L + 402);
    QVERIFY(list->FindText(QStringLiteral("r3c1")));
    QCOMPARE(part(*list, "picOzadje")->x(), list->numberStripWidth());
}

void TestListFind::honoursTheHostsExactMatchBox() {
    auto list = makeList(5, 1);
    RecordingHost host(list.get());
    list->setHost(&host);
    list->table().setCellText(2, 1, QStringLiteral("xaby"));
    list->table().setCellText(4, 1, QStringLiteral("ab"));
    host.exact = true;
    host.search = QStringLiteral("ab");
    QVERIFY(list->FindText(QStringLiteral("ab"), true));
    QCOMPARE(list->iSelected(), 4);
    host.exact = false;
    list->SelectItem(1, 1, 1);
    QVERIFY(list->FindText(QStringLiteral("ab")));
    QCOMPARE(list->iSelected(), 2);
    list->setHost(nullptr);
}

void TestListFind::notFoundChangesNothing() {
    auto list = makeList(50, 2, 100, QSize(400, 300));
    list->SelectItem(3, 1, 2);
    QVERIFY(!list->FindText(QStringLiteral("nowhere")));
    QCOMPARE(list->iSelected(), 3);
    QCOMPARE(list->TopOffset(), 0);
    QCOMPARE(QApplication::focusWidget(), box(*list, 2));
}

QTEST_MAIN(TestListFind)
#include "tst_listfind.moc"
