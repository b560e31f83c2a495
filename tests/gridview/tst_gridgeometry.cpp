#include "gridview/GridGeometry.h"

#include <QTest>

using namespace GridGeometry;

/// The layout arithmetic on its own: drawn rows, thumbs, drags, steps, clamps, hit tests.
class TestGridGeometry : public QObject {
    Q_OBJECT
private slots:
    void visibleRows_data();
    void visibleRows();
    void verticalThumb_data();
    void verticalThumb();
    void horizontalThumbFollowsScroll();
    void dragToEitherEndGivesTheExactEnds();
    void trackPressGrabsInsideOrCentres();
    void arrowStepsClampAtTheEnds_data();
    void arrowStepsClampAtTheEnds();
    void clamps();
    void showRowAndColumn();
    void hitTests();
    void splitterLimits();
    void numberStrip();
};

void TestGridGeometry::visibleRows_data() {
    QTest::addColumn<int>("topOffset");
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("surfaceTop");
    // Not scrolled: row 0 sits above the area so that only its line shows along the top.
    QTest::newRow("top") << 0 << 160 << 1000 << 0 << 12 << -16;
    QTest::newRow("few rows") << 0 << 160 << 3 << 0 << 3 << -16;
    // -40 / 16 = 2.5 rounds to 2; rows still land exactly: row 3 starts at 2*16 - 40 = -8.
    QTest::newRow("half row, even") << -40 << 160 << 1000 << 2 << 14 << -24;
    // -56 / 16 = 3.5 rounds to 4.
    QTest::newRow("half row, odd") << -56 << 160 << 1000 << 4 << 16 << -8;
    QTest::newRow("bottom of long table") << -(16 * 500000 - 160) << 160 << 500000 << 499990
                                          << 500000 << 16 * 499989 - (16 * 500000 - 160);
}

void TestGridGeometry::visibleRows() {
    QFETCH(int, topOffset);
    QFETCH(int, area);
    QFETCH(int, rows);
    const RowRange r = GridGeometry::visibleRows(topOffset, area, rows);
    QTEST(r.first, "first");
    QTEST(r.last, "last");
    QTEST(r.surfaceTop, "surfaceTop");
    QCOMPARE(r.surfaceHeight, area - r.surfaceTop);
    // Row `first + 1` always starts where the offset puts it.
    QCOMPARE(r.surfaceTop + RowPixels, r.first * RowPixels + topOffset);
}

void TestGridGeometry::verticalThumb_data() {
    QTest::addColumn<int>("V");
    QTest::addColumn<int>("C");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("length");
    QTest::newRow("fits") << 200 << 200 << 0 << false << 0 << 0;
    // T = 168, h = 168 * 200 / 400 = 84.
    QTest::newRow("half, top") << 200 << 400 << 0 << true << 16 << 84;
    QTest::newRow("half, bottom") << 200 << 400 << -200 << true << 100 << 84;
    QTest::newRow("half, middle") << 200 << 400 << -100 << true << 58 << 84;
    QTest::newRow("long table keeps 10 px") << 200 << 16 * 500000 << -8000 << true << 16 << 10;
    QTest::newRow("long table bottom")
        << 200 << 16 * 500000 << 200 - 16 * 500000 << true << 174 << 10;
}

void TestGridGeometry::verticalThumb() {
    QFETCH(int, V);
    QFETCH(int, C);
    QFETCH(int, offset);
    const Thumb t = GridGeometry::verticalThumb(V, C, offset);
    QTEST(t.visible, "visible");
    if (t.visible) {
        QTEST(t.pos, "pos");
        QTEST(t.length, "length");
    }
}

void TestGridGeometry::horizontalThumbFollowsScroll() {
    // W 400, strip 20: Vw = 364, track Tw = 332; content 728 halves it: w = 166.
    QCOMPARE(horizontalThumb(400, 20, 364, 20), Thumb{});
    QCOMPARE(horizontalThumb(400, 20, 728, 20), (Thumb{true, 36, 166}));
    QCOMPARE(horizontalThumb(400, 20, 728, 20 - 364), (Thumb{true, 36 + 166, 166}));
}

void TestGridGeometry::dragToEitherEndGivesTheExactEnds() {
    const int V = 437;
    const int C = 16 * 123457;
    const Thumb t = GridGeometry::verticalThumb(V, C, 0);
    const ThumbDrag bottom = dragVertical(100000, t.length, V, C, 0);
    QCOMPARE(bottom.thumbPos, V - 16 - t.length);
    QCOMPARE(bottom.scroll, V - C);
    const ThumbDrag top = dragVertical(-50, t.length, V, C, V - C);
    QCOMPARE(top.thumbPos, 16);
    QCOMPARE(top.scroll, 0);

    const int W = 523, strip = 26, Cw = 32 * 511;
    const Thumb h = horizontalThumb(W, strip, Cw, strip);
    const ThumbDrag right = dragHorizontal(100000, h.length, W, strip, Cw, strip);
    QCOMPARE(right.thumbPos, W - 32 - h.length);
    QCOMPARE(right.scroll, W - 16 - Cw);
    QCOMPARE(dragHorizontal(-5, h.length, W, strip, Cw, 0).scroll, strip);

    // A track too short for its thumb keeps the offset instead of dividing by zero.
    QCOMPARE(dragVertical(30, 10, 42, 1000, -7).scroll, -7);
}

void TestGridGeometry::trackPressGrabsInsideOrCentres() {
    QCOMPARE(grabOffset(50, 40, 30), 10);
    QCOMPARE(grabOffset(40, 40, 30), 0);
    QCOMPARE(grabOffset(70, 40, 30), 30);
    QCOMPARE(grabOffset(71, 40, 30), 15);
    QCOMPARE(grabOffset(5, 40, 11), 6); // 5.5 rounds to 6
}

void TestGridGeometry::arrowStepsClampAtTheEnds_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("expected"); // -999 when nothing happens
    // V 100, C 160, strip 20, W 200 (Vw 164), Cw 200.
    QTest::newRow("up at top") << "G" << 0 << -999;
    QTest::newRow("up one row") << "G" << -40 << -24;
    QTest::newRow("up to the top") << "G" << -10 << 0;
    QTest::newRow("down one row") << "D" << 0 << -16;
    QTest::newRow("down flush") << "D" << -50 << -60;
    QTest::newRow("left at start") << "L" << 20 << -999;
    QTest::newRow("left flush") << "L" << 10 << 20;
    QTest::newRow("left one step") << "L" << -10 << 5;
    QTest::newRow("right one step") << "DE" << 20 << 5;
    QTest::newRow("right, 10 px left") << "DE" << -6 << -16;
}

void TestGridGeometry::arrowStepsClampAtTheEnds() {
    QFETCH(QString, code);
    QFETCH(int, position);
    QFETCH(int, expected);
    std::optional<int> r;
    if (code == "G") {
        r = stepUp(position);
    } else if (code == "D") {
        r = stepDown(100, 160, position);
    } else if (code == "L") {
        r = stepLeft(20, position);
    } else {
        r = stepRight(200, 20, 200, position);
    }
    QCOMPARE(r.value_or(-999), expected);
    QCOMPARE(stepDown(160, 160, 0), std::nullopt);
    QCOMPARE(stepRight(200, 20, 164, 20), std::nullopt);
}

void TestGridGeometry::clamps() {
    QCOMPARE(clampTopOffset(200, 100, -30), 0);
    QCOMPARE(clampTopOffset(200, 300, -150), -100);
    QCOMPARE(clampTopOffset(200, 300, -50), -50);
    QCOMPARE(clampLeft(400, 20, 300, -40), 20);
    QCOMPARE(clampLeft(400, 20, 1000, -900), 400 - 16 - 1000);
    QCOMPARE(clampLeft(400, 20, 1000, -100), -100);
}

void TestGridGeometry::showRowAndColumn() {
    QCOMPARE(topOffsetToShowRow(100, 0, 3), std::nullopt);
    QCOMPARE(topOffsetToShowRow(100, 0, 7), 100 - 112);
    QCOMPARE(topOffsetToShowRow(100, -64, 3), -32);
    QCOMPARE(leftToShowColumn(400, 20, 20, 100, 50), std::nullopt);
    QCOMPARE(leftToShowColumn(400, 20, -100, 100, 50), -80);
    QCOMPARE(leftToShowColumn(400, 20, 20, 300, 200), 400 - 16 - 500);
}

void TestGridGeometry::hitTests() {
    const std::vector<int> widths{100, 50, 80};
    const std::vector<int> lefts = columnLefts(widths);
    QCOMPARE(lefts, (std::vector<int>{0, 101, 152}));
    QCOMPARE(contentWidth(widths), 233);
    // L = 20: boundaries at 120, 171, 252.
    QCOMPARE(columnAt(30, 20, lefts, widths), 1);
    QCOMPARE(columnAt(120, 20, lefts, widths), 1);
    QCOMPARE(columnAt(121, 20, lefts, widths), 2);
    QCOMPARE(columnAt(5000, 20, lefts, widths), 3);
    QCOMPARE(boundaryAt(119, 20, lefts, widths), 1);
    QCOMPARE(boundaryAt(121, 20, lefts, widths), 1);
    QCOMPARE(boundaryAt(122, 20, lefts, widths), 0);
    QCOMPARE(boundaryAt(118, 20, lefts, widths), 0);
    // Touching boundaries of a zero-width column: the highest column wins.
    const std::vector<int> narrow{10, 0};
    QCOMPARE(boundaryAt(11, 0, columnLefts(narrow), narrow), 2);
    QCOMPARE(rowAt(21, 0), 1);
    QCOMPARE(rowAt(36, 0), 2);
    QCOMPARE(rowAt(21, -8), 1);
    QCOMPARE(rowAt(29, -8), 2);
}

void TestGridGeometry::splitterLimits() {
    // Column at left 101 with L = 20.
    QCOMPARE(splitterLeft(0, 101, 20), 126);
    QCOMPARE(splitterWidth(126, 101, 20), 6);
    QCOMPARE(splitterLeft(5000, 101, 20), 631);
    QCOMPARE(splitterWidth(631, 101, 20), 511);
    QCOMPARE(splitterWidth(splitterLeft(200, 101, 20), 101, 20), 80);
}

void TestGridGeometry::numberStrip() {
    QCOMPARE(decimalDigits(9), 1);
    QCOMPARE(decimalDigits(10), 2);
    QCOMPARE(decimalDigits(500000), 6);
    QCOMPARE(numberStripWidth(7, 9), 10);
    QCOMPARE(numberStripWidth(7, 10), 18);
}

QTEST_APPLESS_MAIN(TestGridGeometry)
#include "tst_gridgeometry.moc"
