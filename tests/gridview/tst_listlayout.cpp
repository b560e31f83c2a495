#include "ListFixture.h"

#include "ColorBlend.h"
#include "WindowsColor.h"

#include <QDir>
#include <QLabel>
#include <QTimer>

/// The grid's composition, start-up, resizing and drawing, checked on the surfaces it draws.
class TestListLayout : public QObject {
    Q_OBJECT
private slots:
    void snapshotForReview();
};

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
