#include "ListFixture.h"

#include "gridview/RetainedSurface.h"
#include "platform/WindowsColor.h"

#include <QLabel>
#include <QTimer>

/// The header labels and separators, the resize pointer and the splitter drag.
class TestListHeader : public QObject {
    Q_OBJECT
private slots:
    void headerLabelsAndSeparators();
    void resizePointer_data();
    void resizePointer();
    void noResizePointerOverStripOrScrollBar();
    void resizeLimits_data();
    void resizeLimits();
    void pressOnABoundaryResizesWithoutSelecting();
    void editorsTakeTheNewWidths();
    void clickOnTheSplitterSelectsColumnOne();
};

void TestListHeader::headerLabelsAndSeparators() {
    auto list = makeList(3, 3, 80);
    auto* label = part<QLabel>(*list, "lblHeader2");
    QCOMPARE(label->text(), QStringLiteral("H2"));
    QCOMPARE(label->geometry(), QRect(81 + 3, 2, 80 - 6, 16));
    list->SetColumnHeader(2, QStringLiteral("Name"));
    QCOMPARE(label->text(), QStringLiteral("Name"));
    auto* header = part<RetainedSurface>(*list, "picHeader");
    QCOMPARE(header->geometry(), QRect(list->numberStripWidth(), 0, 3 * 81, 19));
    const QImage image = header->grab().toImage();
    const QColor line = colorFromWindows(list->HeaderBorderColor);
    for (int x : {80, 161, 242}) {
        QCOMPARE(image.pixelColor(x, 1), line);
    }
    QCOMPARE(image.pixelColor(82, 1), colorFromWindows(list->HeaderBackColor));
}

void TestListHeader::resizePointer_data() {
    QTest::addColumn<int>("dx");
    QTest::addColumn<bool>("resize");
    QTest::newRow("2 left") << -2 << false;
    QTest::newRow("1 left") << -1 << true;
    QTest::newRow("on the gap") << 0 << true;
    QTest::newRow("1 right") << 1 << true;
    QTest::newRow("2 right") << 2 << false;
}

void TestListHeader::resizePointer() {
    QFETCH(int, dx);
    auto list = makeList(5, 3, 100);
    const int boundary = list->numberStripWidth() + 100;
    for (int y : {10, 30}) {
        QTest::mouseMove(list.get(), QPoint(boundary + dx, y));
        QTEST(list->cursor().shape() == Qt::SizeHorCursor, "resize");
        QTest::mouseMove(list.get(), QPoint(boundary + 30, y));
        QCOMPARE(list->cursor().shape(), Qt::ArrowCursor);
    }
}

void TestListHeader::noResizePointerOverStripOrScrollBar() {
    auto list = makeList(5, 6, 100);
    const int strip = list->numberStripWidth();
    auto* timer = part<QTimer>(*list, "tmrScroll");
    timer->setProperty("Tag", QStringLiteral("DE"));
    for (int i = 0; i < 7; ++i) {
        QMetaObject::invokeMethod(timer, "timeout");
    }
    timer->stop();
    const int L = part(*list, "picOzadje")->x();
    QCOMPARE(L, strip - 105);
    // Column 1 ends under the number strip.
    QTest::mouseMove(list.get(), QPoint(L + 100, 30));
    QCOMPARE(list->cursor().shape(), Qt::ArrowCursor);
    // Nor does a press on the corner piece above the strip start a resize.
    QTest::mousePress(list.get(), Qt::LeftButton, {}, QPoint(L + 100, 10));
    QVERIFY(!partShown(*list, "PicSpl"));
    QTest::mouseRelease(list.get(), Qt::LeftButton, {}, QPoint(L + 100, 10));
    QVERIFY(list->table().UndoStore().empty());

    auto wide = makeList(5, 2, 100);
    const int s = wide->numberStripWidth();
    wide->LetWidthColumn(1, 395 - s); // its boundary lies over the vertical scroll bar
    QTest::mouseMove(wide.get(), QPoint(395, 30));
    QCOMPARE(wide->cursor().shape(), Qt::ArrowCursor);
}

void TestListHeader::resizeLimits_data() {
    QTest::addColumn<int>("moveTo");
    QTest::addColumn<int>("width");
    QTest::newRow("far left") << -500 << 6;
    QTest::newRow("far right") << 2000 << 510;
    QTest::newRow("no move") << 0 << 100;
    QTest::newRow("to 70") << -30 << 70;
}

void TestListHeader::resizeLimits() {
    QFETCH(int, moveTo);
    auto list = makeList(5, 3, 100, QSize(900, 300));
    const int L = list->numberStripWidth();
    const int boundary = L + 101 + 100; // column 2
    QTest::mousePress(list.get(), Qt::LeftButton, {}, QPoint(boundary + 1, 40));
    auto* bar = part(*list, "PicSpl");
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->property("Tag").toString(), QStringLiteral("2"));
    QCOMPARE(bar->geometry(), QRect(boundary - 1, 20, 2, 300 - 36));
    QCOMPARE(list->MouseX, 2);
    if (moveTo != 0) {
        QTest::mouseMove(list.get(), QPoint(boundary + 1 + moveTo, 40));
        if (moveTo == -500) {
            QCOMPARE(bar->x(), L + 101 + 5);
        }
        if (moveTo == 2000) {
            QCOMPARE(bar->x(), L + 101 + 510);
        }
    }
    QTest::mouseRelease(list.get(), Qt::LeftButton, {}, QPoint(boundary + 1 + moveTo, 40));
    QVERIFY(!bar->isVisible());
    QTEST(list->GetWidthColumn(2), "width");
    QCOMPARE(list->table().UndoStore().front(), QStringLiteral("#SETWDT#2|100"));
    QFETCH(int, width);
    // The next column and the header follow.
    QCOMPARE(part(*list, "Stolpec3")->x(), 101 + width + 1);
    QCOMPARE(part(*list, "lblHeader3")->x(), 101 + width + 1 + 3);
}

void TestListHeader::pressOnABoundaryResizesWithoutSelecting() {
    auto list = makeList(5, 2, 100);
    list->SelectItem(3, 1, 1);
    const int boundary = list->numberStripWidth() + 100;
    QTest::mousePress(list.get(), Qt::LeftButton, {}, QPoint(boundary, 20 + 8));
    QTest::mouseRelease(list.get(), Qt::LeftButton, {}, QPoint(boundary, 20 + 8));
    QCOMPARE(list->iSelected(), 3);
}

void TestListHeader::editorsTakeTheNewWidths() {
    auto list = makeList(5, 3, 100);
    list->SelectItem(2, 1, 2);
    const int L = list->numberStripWidth();
    QTest::mousePress(list.get(), Qt::LeftButton, {}, QPoint(L + 100, 80));
    QTest::mouseMove(list.get(), QPoint(L + 60, 80));
    QTest::mouseRelease(list.get(), Qt::LeftButton, {}, QPoint(L + 60, 80));
    QCOMPARE(list->GetWidthColumn(1), 60);
    QCOMPARE(part(*list, "lblTxt1")->width(), 60);
    QCOMPARE(part(*list, "lblTxt2")->x(), L + 61);
    QCOMPARE(part(*list, "lblTxt3")->x(), L + 61 + 101);
    QCOMPARE(list->iSelectedColumn(), 2);
}

void TestListHeader::clickOnTheSplitterSelectsColumnOne() {
    auto list = makeList(5, 3, 100);
    list->SelectItem(2, 1, 3);
    // The splitter is made by the first press on a column boundary.
    const QPoint boundary(list->numberStripWidth() + 101 + 100 + 1, 10);
    QTest::mousePress(list.get(), Qt::LeftButton, {}, boundary);
    QTest::mouseRelease(list.get(), Qt::LeftButton, {}, boundary);
    auto* bar = part(*list, "PicSpl");
    QVERIFY(bar && !bar->isVisible());
    // Made after the editor row, it still lies above it and below the strips.
    const QObjectList& order = list->children();
    QVERIFY(order.indexOf(bar) > order.indexOf(part(*list, "lblTxt1")));
    QVERIFY(order.indexOf(bar) < order.indexOf(part(*list, "picCnt")));
    list->SelectItem(2, 1, 3);
    bar->show();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(1, 5));
    QCOMPARE(list->iSelectedColumn(), 1);
}

QTEST_MAIN(TestListHeader)
#include "tst_listheader.moc"
