#include "ListFixture.h"

#include "gridview/ColorBlend.h"
#include "platform/WindowsColor.h"

#include "gridview/GridColours.h"
#include "gridview/RetainedSurface.h"
#include "gridview/cmdButton.h"

#include <QDir>
#include <QLabel>
#include <QTimer>

/// The grid's composition, start-up, resizing and drawing, checked on the surfaces it draws.
class TestListLayout : public QObject {
    Q_OBJECT
private slots:
    void namedSurfacesExist();
    void startUpState();
    void resizeKeepsTheRowsDown();
    void gridLineUnderEveryDrawnRow();
    void coverBelowTheLastRow();
    void numberStripGrowsWithTheDigits();
    void doNotRenderDrawsNothing();
    void currentRowMarkerAndTintedColumn();
    void buttonEdgesRaisedAndSunken();
    void snapshotForReview();
};

void TestListLayout::namedSurfacesExist() {
    auto list = makeList(3, 2);
    const QStringList names{"picTop",     "picHeader", "picTopL",  "PicTopD",     "PicScrH",
                            "picCnt",     "Cnt",       "PicScrV",  "PicKot",      "shpDolLevo",
                            "btnGor",     "btnDol",    "btnLevo",  "btnDesno",    "DrsnikV",
                            "picOzadje",  "Stolpec1",  "Stolpec2", "StolpecHide", "lblHeader1",
                            "lblHeader2", "tmrScroll"};
    for (const QString& name : names) {
        QVERIFY2(list->findChild<QObject*>(name), qPrintable(name));
    }
    QVERIFY(!list->findChild<QObject*>("Stolpec3"));
    // The editor row and its number mark come with the first selected row, one editor per
    // column, and then follow the columns.
    const QStringList editorRow{"lblTxt1", "lblTxt2", "PicEdit", "lblEdit"};
    for (const QString& name : editorRow) {
        QVERIFY2(!list->findChild<QObject*>(name), qPrintable(name));
    }
    list->SelectItem(2, 1, 1);
    for (const QString& name : editorRow) {
        QVERIFY2(list->findChild<QObject*>(name), qPrintable(name));
    }
    QVERIFY(!list->findChild<QObject*>("lblTxt3"));
    list->AddColumn(0, 60, QStringLiteral("C3"));
    QVERIFY(list->findChild<QObject*>("lblTxt3"));
    list->RemoveColumn(3);
    QVERIFY(!list->findChild<QObject*>("lblTxt3"));
    QCOMPARE(part(*list, "PicKot")->geometry(), QRect(400 - 16, 300 - 16, 16, 16));
    QCOMPARE(part(*list, "PicTopD")->geometry(), QRect(400 - 17, 0, 17, 20));
    QCOMPARE(part(*list, "picOzadje")->geometry(),
             QRect(list->numberStripWidth(), 20, 2 * 101, 300 - 36));
    QCOMPARE(part(*list, "Stolpec2")->x(), 101);
    // The column splitter comes with the first column resize.
    QVERIFY(!list->findChild<QObject*>("PicSpl"));
    // The horizontal thumb and its name come when the content first grows wider than the grid.
    QVERIFY(!list->findChild<QObject*>("DrsnikH"));
    list->AddColumn(0, 300, QStringLiteral("C3"));
    QVERIFY(partShown(*list, "DrsnikH"));
    QCOMPARE(part<QLabel>(*list, "lejbelnadonjojskali")->text(), QStringLiteral("QeL 2005"));
    QCOMPARE(part(*list, "lejbelnadonjojskali")->parentWidget(), part(*list, "DrsnikH"));
    list->RemoveColumn(3);
    QVERIFY(!partShown(*list, "DrsnikH"));
}

void TestListLayout::startUpState() {
    List list;
    QCOMPARE(list.ListCount(), 1);
    QCOMPARE(list.ColumnCount(), 1);
    QCOMPARE(list.GetWidthColumn(1), 100);
    QCOMPARE(list.GetColumnHeader(1), QString());
    QCOMPARE(list.iSelected(), 0);
    QCOMPARE(list.iSelectedColumn(), 0);
    QCOMPARE(list.TopOffset(), 0);
    QVERIFY(list.table().UndoStore().empty());
    QCOMPARE(list.BorderColor, windowsRgb(170, 193, 227));
    QCOMPARE(list.SelectedColor, windowsRgb(213, 225, 241));
    QCOMPARE(list.ScrollForeColor, windowsRgb(212, 212, 212));
    QCOMPARE(list.ScrollBackColor, windowsRgb(241, 241, 241));
    QCOMPARE(list.HeaderBorderColor, windowsRgb(162, 162, 162));
    QCOMPARE(list.HeaderBackColor, windowsRgb(212, 212, 212));
    QCOMPARE(list.SelectedRowColor,
             pvAlphaBlend(windowsRgb(231, 215, 201), windowsRgb(213, 225, 241), 190));
}

void TestListLayout::resizeKeepsTheRowsDown() {
    auto list = makeList(30, 1, 100, QSize(400, 300));
    auto* track = part(*list, "PicScrV");
    QTest::mousePress(track, Qt::LeftButton, {}, QPoint(8, 250));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(8, 250));
    QCOMPARE(list->TopOffset(), 264 - 480);
    list->resize(400, 400);
    QCOMPARE(list->TopOffset(), 364 - 480); // still flush with the bottom
    QCOMPARE(part(*list, "btnDol")->y(), 400 - 20 - 32);
    list->resize(400, 600);
    QCOMPARE(list->TopOffset(), 0);
    QVERIFY(!part(*list, "DrsnikV")->isVisible());
}

void TestListLayout::gridLineUnderEveryDrawnRow() {
    auto list = makeList(100, 2, 100, QSize(400, 300));
    auto* timer = part<QTimer>(*list, "tmrScroll");
    timer->setProperty("Tag", QStringLiteral("D"));
    QMetaObject::invokeMethod(timer, "timeout");
    timer->stop();
    auto* column = part(*list, "Stolpec1");
    // TopOffset -16: rows 1 .. 20 are drawn from y = 0 of a surface placed at -16.
    QCOMPARE(column->y(), -16);
    const QImage image = column->grab().toImage();
    const QColor border = colorFromWindows(list->BorderColor);
    const QColor background = colorFromWindows(GridColours::ControlBackground);
    QCOMPARE(image.height(), 264 + 16);
    for (int y = 16; y < image.height(); y += 16) {
        QCOMPARE(image.pixelColor(98, y), border);
        QCOMPARE(image.pixelColor(98, y - 8), background);
    }
    // The gap between two columns shows the border colour of the background.
    QCOMPARE(pixelOf(list.get(), list->numberStripWidth() + 100, 60), border);
}

void TestListLayout::coverBelowTheLastRow() {
    auto list = makeList(3, 2, 100, QSize(400, 300));
    auto* cover = part(*list, "StolpecHide");
    QVERIFY(cover->isVisible());
    QCOMPARE(cover->geometry(), QRect(0, 49, 202, 264 - 49));
    const QImage image = list->grab().toImage();
    const int x = list->numberStripWidth() + 50;
    QCOMPARE(image.pixelColor(x, 20 + 48), colorFromWindows(list->BorderColor));
    const QColor background = colorFromWindows(GridColours::ControlBackground);
    for (int y = 20 + 49; y < 300 - 16; y += 3) {
        QCOMPARE(image.pixelColor(x, y), background);
        QCOMPARE(image.pixelColor(list->numberStripWidth() + 100, y), background);
    }
    list->AddMoreThanOneRow(40);
    QVERIFY(!cover->isVisible());
}

void TestListLayout::numberStripGrowsWithTheDigits() {
    auto list = makeList(9, 6, 100, QSize(400, 300));
    auto* timer = part<QTimer>(*list, "tmrScroll");
    timer->setProperty("Tag", QStringLiteral("DE"));
    QMetaObject::invokeMethod(timer, "timeout");
    timer->stop();
    const int strip = list->numberStripWidth();
    const int scrolled = part(*list, "picOzadje")->x() - strip;
    QCOMPARE(scrolled, -15);
    list->AddRow();
    const int wider = list->numberStripWidth();
    QCOMPARE(wider - 2, 2 * (strip - 2));
    QCOMPARE(part(*list, "picCnt")->width(), wider);
    QCOMPARE(part(*list, "btnLevo")->x(), wider);
    QCOMPARE(part(*list, "picOzadje")->x() - wider, scrolled);
    QCOMPARE(part(*list, "picHeader")->x() - wider, scrolled);
    list->RemoveItem(10);
    QCOMPARE(list->numberStripWidth(), strip);
}

void TestListLayout::doNotRenderDrawsNothing() {
    auto list = makeList(3, 1, 100, QSize(400, 300));
    auto* column = part<RetainedSurface>(*list, "Stolpec1");
    auto* cover = part(*list, "StolpecHide");
    const qint64 drawn = column->canvas().cacheKey();
    const QRect coverAt = cover->geometry();
    list->setDoNotRender(true);
    list->table().setCellText(1, 1, QStringLiteral("changed"));
    list->AddMoreThanOneRow(2);
    list->RenderColumn(-1);
    QCOMPARE(column->canvas().cacheKey(), drawn);
    QCOMPARE(cover->geometry(), coverAt);
    list->setDoNotRender(false);
    list->RenderColumn(1);
    QVERIFY(column->canvas().cacheKey() != drawn);
    QCOMPARE(cover->geometry().top(), 5 * 16 + 1);
}

void TestListLayout::currentRowMarkerAndTintedColumn() {
    auto list = makeList(5, 2, 100, QSize(400, 300));
    list->SelectItem(3, 1, 2);
    auto* marker = part(*list, "PicEdit");
    QVERIFY(marker->isVisible());
    QCOMPARE(marker->y(), 32);
    QCOMPARE(marker->height(), 17);
    const QImage strip = part(*list, "picCnt")->grab().toImage();
    const int x = list->numberStripWidth() - 1;
    QCOMPARE(strip.pixelColor(x, 32), colorFromWindows(list->BorderColor));
    QCOMPARE(strip.pixelColor(x, 48), colorFromWindows(list->BorderColor));
    QCOMPARE(strip.pixelColor(x, 60), colorFromWindows(list->SelectedColor));
    const QColor tint = colorFromWindows(list->SelectedRowColor);
    const QColor plain = colorFromWindows(GridColours::ControlBackground);
    QCOMPARE(pixelOf(part(*list, "Stolpec2"), 98, 16 + 8 + 16 * 4), tint);
    QCOMPARE(pixelOf(part(*list, "Stolpec1"), 98, 16 + 8 + 16 * 4), plain);
    // Hiding the editor row removes the tint.
    QTest::mouseClick(list.get(), Qt::LeftButton, {},
                      QPoint(list->numberStripWidth() + 20, 20 + 80));
    QVERIFY(!marker->isVisible());
    QCOMPARE(pixelOf(part(*list, "Stolpec2"), 98, 16 + 8 + 16 * 4), plain);
}

void TestListLayout::buttonEdgesRaisedAndSunken() {
    auto list = makeList(50, 1, 100, QSize(400, 300));
    auto* down = part<cmdButton>(*list, "btnDol");
    const QColor light = colorFromWindows(pvAlphaBlend(windowsRgb(255, 255, 255), 13948116, 60));
    const QColor dark = colorFromWindows(pvAlphaBlend(0, 13948116, 60));
    QCOMPARE(light, QColor(222, 222, 222));
    QCOMPARE(dark, QColor(162, 162, 162));
    QImage image = down->grab().toImage();
    QCOMPARE(image.pixelColor(5, 0), light);
    QCOMPARE(image.pixelColor(0, 5), light);
    QCOMPARE(image.pixelColor(5, 15), dark);
    QCOMPARE(image.pixelColor(15, 5), dark);
    QTest::mousePress(down, Qt::LeftButton, {}, QPoint(8, 8));
    image = down->grab().toImage();
    QCOMPARE(image.pixelColor(5, 0), dark);
    QCOMPARE(image.pixelColor(15, 5), light);
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(down->grab().toImage().pixelColor(5, 0), light);
}

void TestListLayout::snapshotForReview() {
    auto list = makeList(30, 3, 150, QSize(420, 300));
    for (int r = 1; r <= 30; r += 4) {
        list->SetBold(r, 1, true);
        list->SetColor(r, 2, windowsRgb(200, 0, 0));
        list->SetItallic(r + 1, 3, true);
        list->SetUnderlined(r + 2, 1, true);
    }
    list->ChangeItem(12, 2, QStringLiteral("a longer text that runs past its column"));
    // Scroll down five rows and a little to the right, then edit row 12.
    auto* timer = part<QTimer>(*list, QStringLiteral("tmrScroll"));
    for (int i = 0; i < 5; ++i) {
        timer->setProperty("Tag", QStringLiteral("D"));
        QMetaObject::invokeMethod(timer, "timeout");
    }
    timer->setProperty("Tag", QStringLiteral("DE"));
    QMetaObject::invokeMethod(timer, "timeout");
    timer->stop();
    list->SelectItem(12, 1, 2);
    QCOMPARE(list->TopOffset(), -80);
    const QString dir = qEnvironmentVariable("QEL_TEST_OUTPUT_DIR", QDir::tempPath());
    const QString path = dir + QStringLiteral("/grid_snapshot.png");
    QVERIFY(list->grab().save(path));
    qInfo("snapshot written to %s", qPrintable(path));
}

QTEST_MAIN(TestListLayout)
#include "tst_listlayout.moc"
