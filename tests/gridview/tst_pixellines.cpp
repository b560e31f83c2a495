#include "gridview/PixelLines.h"

#include <QPixmap>
#include <QTest>

// The rules filled as rectangles must cover exactly the pixels an aliased one-pixel pen
// draws, endpoints included, wherever the line starts and ends.
class TestPixelLines : public QObject {
    Q_OBJECT

private slots:
    void sameAsAPen_data();
    void sameAsAPen();
};

void TestPixelLines::sameAsAPen_data() {
    QTest::addColumn<QLine>("line");
    QTest::newRow("row inside") << QLine(2, 5, 12, 5);
    QTest::newRow("row reversed") << QLine(12, 5, 2, 5);
    QTest::newRow("row past both edges") << QLine(-3, 19, 40, 19);
    QTest::newRow("row ending on the last pixel") << QLine(0, 0, 19, 0);
    QTest::newRow("column inside") << QLine(7, 1, 7, 14);
    QTest::newRow("column reversed") << QLine(7, 14, 7, 1);
    QTest::newRow("column past the bottom") << QLine(19, 0, 19, 25);
    QTest::newRow("one pixel") << QLine(4, 4, 4, 4);
}

void TestPixelLines::sameAsAPen() {
    QFETCH(QLine, line);
    const QColor colour(31, 81, 126);
    QPixmap drawn(20, 20);
    drawn.fill(Qt::white);
    {
        QPainter painter(&drawn);
        painter.setPen(colour);
        painter.drawLine(line);
    }
    QPixmap filled(20, 20);
    filled.fill(Qt::white);
    {
        QPainter painter(&filled);
        if (line.y1() == line.y2()) {
            PixelLines::horizontal(painter, line.x1(), line.x2(), line.y1(), colour);
        } else {
            PixelLines::vertical(painter, line.x1(), line.y1(), line.y2(), colour);
        }
    }
    QCOMPARE(filled.toImage(), drawn.toImage());
}

QTEST_MAIN(TestPixelLines)
#include "tst_pixellines.moc"
