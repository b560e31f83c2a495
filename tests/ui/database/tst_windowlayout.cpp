#include "ui/database/WindowLayout.h"

#include <QTest>

using WindowLayout::Placement;

Q_DECLARE_METATYPE(Placement)

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void reposition_data();
    void reposition();
    void toPixels_data();
    void toPixels();
};

void TestWindowLayout::reposition_data() {
    QTest::addColumn<int>("clientHeight");
    QTest::addColumn<bool>("toolbar");
    QTest::addColumn<bool>("editBar");
    QTest::addColumn<bool>("find");
    QTest::addColumn<Placement>("expected");

    // A client area of 9000 x 6000 twips in a window 9180 wide.
    const auto place = [](int gridTop, int gridHeight, int editLeft, int editWidth, int findTop) {
        return Placement{gridTop, 8900, gridHeight, 8900, editLeft, editWidth, findTop};
    };
    QTest::newRow("both bars") << 6000 << true << true << false << place(360, 5540, 4680, 4310, 0);
    QTest::newRow("toolbar only") << 6000 << true << false << false
                                  << place(360, 5540, 4680, 4310, 0);
    QTest::newRow("edit bar only: it takes the grid's left edge and width")
        << 6000 << false << true << false << place(360, 5540, 0, 8900, 0);
    QTest::newRow("no bars: the grid at the top")
        << 6000 << false << false << false << place(0, 5900, 4680, 4310, 0);
    // The open panel sits where the grid began and the grid is shortened by the panel.
    QTest::newRow("both bars, find panel")
        << 6000 << true << true << true << place(960, 4940, 4680, 4310, 360);
    QTest::newRow("toolbar only, find panel")
        << 6000 << true << false << true << place(960, 4940, 4680, 4310, 360);
    QTest::newRow("edit bar only, find panel")
        << 6000 << false << true << true << place(960, 4940, 0, 8900, 360);
    QTest::newRow("no bars, find panel")
        << 6000 << false << false << true << place(600, 5300, 4680, 4310, 0);
    // A window too small for the grid: that size is skipped, the rest still placed.
    Placement tiny = place(960, 0, 4680, 4310, 360);
    tiny.gridHeight.reset();
    QTest::newRow("too low for the grid") << 900 << true << true << true << tiny;
}

void TestWindowLayout::reposition() {
    QFETCH(int, clientHeight);
    QFETCH(bool, toolbar);
    QFETCH(bool, editBar);
    QFETCH(bool, find);
    QFETCH(Placement, expected);
    const Placement actual = WindowLayout::reposition({.clientWidth = 9000,
                                                       .clientHeight = clientHeight,
                                                       .outerWidth = 9180,
                                                       .toolbarVisible = toolbar,
                                                       .editBarVisible = editBar,
                                                       .findPanelVisible = find});
    QCOMPARE(actual.gridTop, expected.gridTop);
    QCOMPARE(actual.gridWidth, expected.gridWidth);
    QCOMPARE(actual.gridHeight, expected.gridHeight);
    QCOMPARE(actual.toolbarWidth, expected.toolbarWidth);
    QCOMPARE(actual.editBarLeft, expected.editBarLeft);
    QCOMPARE(actual.editBarWidth, expected.editBarWidth);
    if (find) {
        QCOMPARE(actual.findPanelTop, expected.findPanelTop);
    }
}

void TestWindowLayout::toPixels_data() {
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("exact") << 360 << 24;
    QTest::newRow("up") << 4870 << 325;
    QTest::newRow("down") << 112 << 7;
    QTest::newRow("zero") << 0 << 0;
}

void TestWindowLayout::toPixels() {
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(WindowLayout::toPixels(twips), pixels);
}

QTEST_APPLESS_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
