#include "ListFixture.h"

#include "gridview/ArrowIcons.h"
#include "gridview/RetainedSurface.h"
#include "gridview/cmdButton.h"

#include <QLabel>
#include <QTimer>
#include <QWindow>

/// The home-made scroll bars: thumb geometry, dragging, track presses, arrows and their repeat.
class TestListScroll : public QObject {
    Q_OBJECT
private slots:
    void verticalThumb_data();
    void verticalThumb();
    void horizontalThumb();
    void dragToTheBottomEndsFlush();
    void dragToTheRightEndsFlush();
    void trackPressCentresThumb();
    void doubleClickOnATrackSelectsNothing();
    void downArrowRepeats();
    void arrowsOfATableThatFitsAreDisabled();
    void rightArrowStopsFlush();
    void horizontalScrollMovesSurfacesOnly();

private:
    static void fire(QTimer* t) { QMetaObject::invokeMethod(t, "timeout"); }
};

void TestListScroll::verticalThumb_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("height");
    // Height 300: V = 264, track T = 232.
    QTest::newRow("fits") << 16 << false << 0 << 0;
    QTest::newRow("twice the area") << 33 << true << 16 << 116; // 232 * 264 / 528
    QTest::newRow("never below 10 px") << 100000 << true << 16 << 10;
}

void TestListScroll::verticalThumb() {
    QFETCH(int, rows);
    auto list = makeList(rows, 1, 100, QSize(400, 300), false);
    auto* thumb = part<cmdButton>(*list, "DrsnikV");
    QTEST(thumb->isVisible(), "visible");
    if (thumb->isVisible()) {
        QTEST(thumb->y(), "top");
        QTEST(thumb->height(), "height");
        QCOMPARE(thumb->x(), 0);
        QCOMPARE(thumb->width(), 16);
    }
}

void TestListScroll::horizontalThumb() {
    auto list = makeList(5, 5, 100, QSize(400, 300));
    const int strip = list->numberStripWidth();
    const int Vw = 400 - 16 - strip;
    const int Tw = 400 - 48 - strip;
    auto* thumb = part<cmdButton>(*list, "DrsnikH");
    QVERIFY(thumb->isVisible());
    QCOMPARE(thumb->width(), qRound(double(Tw) * Vw / 505));
    QCOMPARE(thumb->x(), 16 + strip);
    QCOMPARE(part(*list, "btnLevo")->x(), strip);
    QCOMPARE(part(*list, "btnDesno")->x(), 400 - 32);
}

void TestListScroll::dragToTheBottomEndsFlush() {
    auto list = makeList(100000, 2, 100, QSize(400, 300), false);
    auto* track = part(*list, "PicScrV");
    auto* thumb = part<cmdButton>(*list, "DrsnikV");
    const int V = areaV(*list);
    // The press lands on the disabled thumb and reaches the track underneath.
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(8, 3));
    QCOMPARE(list->MouseY, 3);
    QTest::mouseMove(track, QPoint(8, V + 200));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(8, V + 200));
    QCOMPARE(list->TopOffset(), V - contentC(*list));
    QCOMPARE(thumb->y(), V - 16 - 10);
    // Back to the top.
    QTest::mousePress(track, Qt::LeftButton, {}, QPoint(8, thumb->y() + 5));
    QTest::mouseMove(track, QPoint(8, -100));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(8, -100));
    QCOMPARE(list->TopOffset(), 0);
    QCOMPARE(thumb->y(), 16);
}

void TestListScroll::dragToTheRightEndsFlush() {
    // Five columns of 100 (content 505) in a width of 400.
    auto list = makeList(5, 5, 100, QSize(400, 300));
    const int strip = list->numberStripWidth();
    auto* track = part(*list, "PicScrH");
    auto* thumb = part<cmdButton>(*list, "DrsnikH");
    auto* content = part(*list, "picOzadje");
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(3, 8));
    QCOMPARE(list->MouseX, 3);
    QTest::mouseMove(track, QPoint(1000, 8));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(1000, 8));
    QCOMPARE(thumb->x(), 400 - 32 - thumb->width());
    QCOMPARE(content->x(), 400 - 16 - 505);
    // Back to the left.
    QTest::mousePress(track, Qt::LeftButton, {}, QPoint(thumb->x() + 5, 8));
    QTest::mouseMove(track, QPoint(-100, 8));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(-100, 8));
    QCOMPARE(thumb->x(), 16 + strip);
    QCOMPARE(content->x(), strip);
}

void TestListScroll::trackPressCentresThumb() {
    // 66 rows in V = 264: thumb 58 px; a press at 150 puts the thumb's middle there.
    auto list = makeList(66, 1, 100, QSize(400, 300));
    auto* track = part(*list, "PicScrV");
    auto* thumb = part<cmdButton>(*list, "DrsnikV");
    QCOMPARE(thumb->height(), 58);
    QTest::mousePress(track, Qt::LeftButton, {}, QPoint(8, 150));
    QCOMPARE(list->MouseY, 29);
    QCOMPARE(thumb->y(), 121);
    // (121 - 16) * (264 - 1056) / (264 - 32 - 58) = -477.93
    QCOMPARE(list->TopOffset(), -478);
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(8, 150));
}

void TestListScroll::doubleClickOnATrackSelectsNothing() {
    auto list = makeList(40, 6, 100, QSize(400, 300));
    list->SelectItem(2, 1, 1);
    // Through the window, as the system delivers them: press, release, press, double click.
    QTest::mouseDClick(list->windowHandle(), Qt::LeftButton, {}, QPoint(392, 150));
    QTest::mouseDClick(list->windowHandle(), Qt::LeftButton, {}, QPoint(200, 292));
    QCOMPARE(list->iSelected(), 2);
    QCOMPARE(list->iSelectedColumn(), 1);
}

void TestListScroll::downArrowRepeats() {
    auto list = makeList(40, 2, 100, QSize(400, 300));
    list->SelectItem(2, 1, 2);
    auto* timer = part<QTimer>(*list, "tmrScroll");
    auto* down = part<cmdButton>(*list, "btnDol");
    QCOMPARE(down->y(), 300 - 20 - 16 - 16);

    QTest::mousePress(down, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(list->TopOffset(), -16);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 500);
    QCOMPARE(timer->property("Tag").toString(), QStringLiteral("D"));
    QCOMPARE(down->picturePosition(), QPoint(4, 4));
    // The editor row follows the rows.
    QCOMPARE(part(*list, "lblTxt1")->y(), 20 + 16 - 16 + 1);

    fire(timer);
    QCOMPARE(timer->interval(), 50);
    QCOMPARE(list->TopOffset(), -32);
    for (int i = 0; i < 40; ++i) {
        fire(timer);
    }
    QCOMPARE(list->TopOffset(), areaV(*list) - contentC(*list));

    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(8, 8));
    QVERIFY(!timer->isActive());
    QCOMPARE(down->picturePosition(), QPoint(3, 3));
    // Releasing gives the current cell the focus again.
    QVERIFY(part(*list, "lblTxt2")->isAncestorOf(QApplication::focusWidget()));
}

void TestListScroll::arrowsOfATableThatFitsAreDisabled() {
    auto list = makeList(5, 1, 100, QSize(400, 300));
    auto* up = part<cmdButton>(*list, "btnGor");
    auto* down = part<cmdButton>(*list, "btnDol");
    QVERIFY(!up->Enabled());
    QVERIFY(!down->Enabled());
    QVERIFY(!part(*list, "DrsnikV")->isVisible());
    QCOMPARE(down->picture().toImage(), ArrowIcons::icon(5).toImage());
    QTest::mousePress(down, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(list->TopOffset(), 0);
    QVERIFY(!part<QTimer>(*list, "tmrScroll")->isActive());

    // Growing past the area enables them with their normal pictures.
    list->AddMoreThanOneRow(50);
    QVERIFY(down->Enabled());
    QCOMPARE(down->picture().toImage(), ArrowIcons::icon(1).toImage());
}

void TestListScroll::rightArrowStopsFlush() {
    auto list = makeList(5, 1, 100, QSize(400, 300));
    const int strip = list->numberStripWidth();
    const int Vw = 400 - 16 - strip;
    list->LetWidthColumn(1, Vw + 9); // content 10 px wider than the area
    auto* right = part<cmdButton>(*list, "btnDesno");
    QTest::mousePress(right, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseRelease(right, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(part(*list, "picOzadje")->x(), strip - 10);
    QCOMPARE(part(*list, "picHeader")->x(), strip - 10);
    QTest::mousePress(right, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseRelease(right, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(part(*list, "picOzadje")->x(), strip - 10);
    auto* left = part<cmdButton>(*list, "btnLevo");
    QTest::mousePress(left, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseRelease(left, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(part(*list, "picOzadje")->x(), strip);
}

void TestListScroll::horizontalScrollMovesSurfacesOnly() {
    auto list = makeList(50, 6, 100, QSize(400, 300));
    list->SelectItem(3, 1, 1);
    auto* column = part<RetainedSurface>(*list, "Stolpec2");
    const qint64 drawn = column->canvas().cacheKey();
    auto* timer = part<QTimer>(*list, "tmrScroll");
    timer->setProperty("Tag", QStringLiteral("DE"));
    fire(timer);
    const int L = part(*list, "picOzadje")->x();
    QCOMPARE(L, list->numberStripWidth() - 15);
    QCOMPARE(part(*list, "lblTxt2")->x(), L + 101);
    QCOMPARE(column->canvas().cacheKey(), drawn);
    timer->setProperty("Tag", QStringLiteral("D"));
    fire(timer);
    timer->stop();
    QVERIFY(column->canvas().cacheKey() != drawn);
}

QTEST_MAIN(TestListScroll)
#include "tst_listscroll.moc"
