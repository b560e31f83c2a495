#include "gridview/ColorBlend.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

class TestColorBlend : public QObject {
    Q_OBJECT
private slots:
    void blend_data();
    void blend();
    void convertsToAndFromQColor();
};

void TestColorBlend::blend_data() {
    QTest::addColumn<qint32>("first");
    QTest::addColumn<qint32>("second");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<qint32>("expected");

    const qint32 white = windowsRgb(255, 255, 255);
    const qint32 black = 0;
    const qint32 border = windowsRgb(170, 193, 227);
    const qint32 scroll = windowsRgb(212, 212, 212);
    // The grid's and the button's own colours.
    QTest::newRow("SelectedColor") << white << border << 130 << windowsRgb(213, 225, 241);
    QTest::newRow("ScrollBackColor") << white << scroll << 170 << windowsRgb(241, 241, 241);
    QTest::newRow("button light edge") << white << scroll << 60 << windowsRgb(222, 222, 222);
    QTest::newRow("button dark edge") << black << scroll << 60 << windowsRgb(162, 162, 162);
    QTest::newRow("number text") << windowsRgb(15, 40, 62) << border << 180
                                 << windowsRgb(61, 85, 111);
    // The ends of the scale.
    QTest::newRow("alpha 255 is first") << border << scroll << 255 << border;
    QTest::newRow("alpha 0 is second") << border << scroll << 0 << scroll;
    QTest::newRow("alpha clamped") << border << scroll << 400 << border;
    // Rounding to nearest, not truncating, per channel: 128/255 = 0.502 rounds up,
    // 127/255 = 0.498 down; channels never borrow from each other.
    QTest::newRow("just above half") << windowsRgb(1, 0, 1) << 0 << 128 << windowsRgb(1, 0, 1);
    QTest::newRow("just below half") << windowsRgb(1, 0, 1) << 0 << 127 << 0;
    QTest::newRow("high bits ignored") << qint32(0x05FFFFFF) << 0 << 255 << white;
    // A system colour (button face) is translated through the palette first.
    QTest::newRow("system colour")
        << qint32(0x8000000F) << 0 << 255
        << windowsFromColor(QGuiApplication::palette().color(QPalette::Button));
}

void TestColorBlend::blend() {
    QFETCH(qint32, first);
    QFETCH(qint32, second);
    QFETCH(int, alpha);
    QFETCH(qint32, expected);
    QCOMPARE(pvAlphaBlend(first, second, alpha), expected);
}

void TestColorBlend::convertsToAndFromQColor() {
    QCOMPARE(colorFromWindows(windowsRgb(170, 193, 227)), QColor(170, 193, 227));
    QCOMPARE(windowsRgb(170, 193, 227), 14926250); // 0x00E3C1AA: blue in the high byte
    QCOMPARE(windowsFromColor(QColor(61, 85, 111)), windowsRgb(61, 85, 111));
    QCOMPARE(windowsFromColor(QColor::fromHsv(120, 255, 255)), windowsRgb(0, 255, 0));
}

QTEST_MAIN(TestColorBlend)
#include "tst_colorblend.moc"
