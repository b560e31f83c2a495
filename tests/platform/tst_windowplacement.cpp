#include "platform/Twips.h"
#include "platform/WindowPlacement.h"

#include <QTest>

/// Window geometry between the settings' twips texts and the window's pixels.
class TestWindowPlacement : public QObject {
    Q_OBJECT
private slots:
    void twipsToPixels_data();
    void twipsToPixels();
    void fromSettings_data();
    void fromSettings();
    void toSettings_data();
    void toSettings();
    void storedPlaceComesBack();
    void truth_data();
    void truth();
};

void TestWindowPlacement::twipsToPixels_data() {
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("exact") << 4800 << 320;
    QTest::newRow("to the nearer pixel, down") << 112 << 7; // 7.47
    QTest::newRow("to the nearer pixel, up") << 8 << 1;     // 0.53
    QTest::newRow("negative") << -3000 << -200;
}

void TestWindowPlacement::twipsToPixels() {
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(Twips::toPixels(twips), pixels);
    QCOMPARE(Twips::toPixels(twips, 0, twips, 15), QRect(pixels, 0, pixels, 1));
}

void TestWindowPlacement::fromSettings_data() {
    QTest::addColumn<QStringList>("stored"); // state, left, top, width, height
    QTest::addColumn<WindowPlacement>("expected");
    QTest::newRow("search window defaults") << QStringList{"0", "1275", "1380", "4800", "6210"}
                                            << WindowPlacement{false, 85, 92, 320, 414};
    QTest::newRow("maximised") << QStringList{"2", "0", "0", "3000", "3000"}
                               << WindowPlacement{true, 0, 0, 200, 200};
    QTest::newRow("minimised shows normal")
        << QStringList{"1", "15", "30", "45", "60"} << WindowPlacement{false, 1, 2, 3, 4};
    QTest::newRow("blanks around numbers") << QStringList{" 0 ", " 150 ", "300", "450 ", "600"}
                                           << WindowPlacement{false, 10, 20, 30, 40};
    QTest::newRow("fraction of a twip")
        << QStringList{"0", "149.6", "0", "0", "0"} << WindowPlacement{false, 10, 0, 0, 0};
    QTest::newRow("what is no number stays unset")
        << QStringList{"", "left", "1e300", "nan", "-"}
        << WindowPlacement{std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
}

void TestWindowPlacement::fromSettings() {
    QFETCH(QStringList, stored);
    QFETCH(WindowPlacement, expected);
    QCOMPARE(WindowPlacement::fromSettings(stored[0], stored[1], stored[2], stored[3], stored[4]),
             expected);
}

void TestWindowPlacement::toSettings_data() {
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QStringList>("expected"); // state, left, top, width, height
    QTest::newRow("normal") << false << QRect(85, 92, 320, 414)
                            << QStringList{"0", "1275", "1380", "4800", "6210"};
    QTest::newRow("maximised") << true << QRect(0, 0, 1024, 768)
                               << QStringList{"2", "0", "0", "15360", "11520"};
    QTest::newRow("left of the screen")
        << false << QRect(-8, -2, 200, 100) << QStringList{"0", "-120", "-30", "3000", "1500"};
}

void TestWindowPlacement::toSettings() {
    QFETCH(bool, maximised);
    QFETCH(QRect, frame);
    QFETCH(QStringList, expected);
    const WindowPlacement::Stored stored = WindowPlacement::toSettings(maximised, frame);
    QCOMPARE((QStringList{stored.state, stored.left, stored.top, stored.width, stored.height}),
             expected);
}

void TestWindowPlacement::storedPlaceComesBack() {
    const QRect frame(123, 45, 678, 90);
    const WindowPlacement::Stored stored = WindowPlacement::toSettings(false, frame);
    const WindowPlacement placement = WindowPlacement::fromSettings(
        stored.state, stored.left, stored.top, stored.width, stored.height);
    QCOMPARE(placement, (WindowPlacement{false, 123, 45, 678, 90}));
}

void TestWindowPlacement::truth_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<std::optional<bool>>("expected");
    QTest::newRow("True") << "True" << std::optional<bool>(true);
    QTest::newRow("false, any case") << " fALSE " << std::optional<bool>(false);
    QTest::newRow("number -1") << "-1" << std::optional<bool>(true);
    QTest::newRow("number 0") << "0" << std::optional<bool>(false);
    QTest::newRow("empty") << "" << std::optional<bool>();
    QTest::newRow("word") << "yes" << std::optional<bool>();
}

void TestWindowPlacement::truth() {
    QFETCH(QString, stored);
    QFETCH(std::optional<bool>, expected);
    QCOMPARE(storedTruth(stored), expected);
    if (expected) {
        QCOMPARE(storedTruth(truthText(*expected)), expected);
    }
}

QTEST_APPLESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
