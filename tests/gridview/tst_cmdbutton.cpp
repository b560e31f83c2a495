#include "gridview/ColorBlend.h"
#include "gridview/Rounding.h"
#include "gridview/cmdButton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

/// A container that records the presses that reach it.
class PressRecorder final : public QWidget {
public:
    QList<QPoint> presses;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        presses.append(event->position().toPoint());
    }
};

QColor pixel(QWidget& widget, int x, int y) {
    return widget.grab().toImage().pixelColor(x, y);
}

const QColor Light(222, 222, 222);
const QColor Dark(162, 162, 162);
const QColor Face(212, 212, 212);

} // namespace

class TestCmdButton : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pressAndReleaseClicks();
    void dragOffAndBack();
    void otherButtonsRaiseOnlyMouseUp();
    void edgesInBlendedColours();
    void captionCentredHalvesToEven_data();
    void captionCentredHalvesToEven();
    void focusMakesCaptionBold();
    void keysRaiseKeyDownAfterClickForEnter();
    void enabledIsChangedAlsoForSameValue();
    void disabledButtonPassesMouseToContainer();
    void childInsideDoesNotStealMouse();

private:
    PressRecorder* m_container = nullptr;
    cmdButton* m_button = nullptr;
};

void TestCmdButton::init() {
    m_container = new PressRecorder;
    m_container->resize(200, 100);
    m_button = new cmdButton(QStringLiteral("btnTest"), m_container);
    m_button->setGeometry(10, 10, 40, 20);
    m_container->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_container));
}

void TestCmdButton::cleanup() {
    delete m_container;
}

void TestCmdButton::pressAndReleaseClicks() {
    QSignalSpy clicks(m_button, &cmdButton::Click);
    QSignalSpy downs(m_button, &cmdButton::MouseDown);
    QSignalSpy ups(m_button, &cmdButton::MouseUp);

    QTest::mousePress(m_button, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
    QVERIFY(m_button->PressedShown());
    QCOMPARE(downs.size(), 1);
    QCOMPARE(downs[0], (QVariantList{1, 1, 5.0f, 6.0f}));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 6));

    QCOMPARE(clicks.size(), 1);
    QCOMPARE(ups.size(), 1);
    QCOMPARE(ups[0].at(0).toInt(), 1);
    QVERIFY(!m_button->PressedShown());
    QVERIFY(!m_button->RaisedShown());
    QCOMPARE(pixel(*m_button, 1, 0), Light);
}

void TestCmdButton::dragOffAndBack() {
    QSignalSpy clicks(m_button, &cmdButton::Click);
    QSignalSpy moves(m_button, &cmdButton::MouseMove);
    const QPoint centred(m_button->CaptionLeft(), m_button->CaptionTop());

    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(pixel(*m_button, 1, 0), Dark);
    QCOMPARE(m_button->captionPosition(), centred + QPoint(1, 1));

    // Off the button: raised again, nothing clicks on release there.
    QTest::mouseMove(m_button, QPoint(60, 5));
    QVERIFY(m_button->RaisedShown());
    QVERIFY(!m_button->PressedShown());
    QCOMPARE(pixel(*m_button, 1, 0), Light);
    QCOMPARE(m_button->captionPosition(), centred);
    QCOMPARE(moves.last().at(0).toInt(), 1);

    // The right and bottom edges count as inside.
    QTest::mouseMove(m_button, QPoint(40, 20));
    QVERIFY(m_button->PressedShown());
    QVERIFY(!m_button->RaisedShown());
    QCOMPARE(pixel(*m_button, 1, 0), Dark);
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(40, 20));
    QCOMPARE(clicks.size(), 1);

    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(m_button, QPoint(60, 5));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(60, 5));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(pixel(*m_button, 1, 0), Light);
}

void TestCmdButton::otherButtonsRaiseOnlyMouseUp() {
    QSignalSpy clicks(m_button, &cmdButton::Click);
    QSignalSpy downs(m_button, &cmdButton::MouseDown);
    QSignalSpy ups(m_button, &cmdButton::MouseUp);
    QTest::mousePress(m_button, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(downs.size(), 0);
    QCOMPARE(pixel(*m_button, 1, 0), Light);
    QTest::mouseRelease(m_button, Qt::RightButton, Qt::ControlModifier, QPoint(5, 5));
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(ups.size(), 1);
    QCOMPARE(ups[0], (QVariantList{2, 2, 5.0f, 5.0f}));
}

void TestCmdButton::edgesInBlendedColours() {
    QCOMPARE(pvAlphaBlend(windowsRgb(255, 255, 255), windowsRgb(212, 212, 212), 60),
             windowsFromColor(Light));
    const int w = m_button->width();
    const int h = m_button->height();
    struct Probe {
        QPoint at;
        QColor raised;
    };
    // Top and left light, bottom and right dark; the right edge owns the top-right corner and
    // the bottom edge both bottom corners.
    const QList<Probe> probes = {
        {{0, 0}, Light},    {{w / 2, 0}, Light},    {{0, h / 2}, Light},
        {{w - 1, 0}, Dark}, {{w / 2, h - 1}, Dark}, {{w - 1, h / 2}, Dark},
        {{0, h - 1}, Dark}, {{w - 1, h - 1}, Dark}, {{3, 2}, Face},
    };
    for (const Probe& probe : probes) {
        QCOMPARE(pixel(*m_button, probe.at.x(), probe.at.y()), probe.raised);
    }

    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
    const auto swapped = [](const QColor& c) { return c == Light ? Dark : c == Dark ? Light : c; };
    for (const Probe& probe : probes) {
        QCOMPARE(pixel(*m_button, probe.at.x(), probe.at.y()), swapped(probe.raised));
    }
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 5));
}

void TestCmdButton::captionCentredHalvesToEven_data() {
    QTest::addColumn<int>("extraWidth");
    QTest::addColumn<int>("extraHeight");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::newRow("2.5 -> 2") << 5 << 5 << 2 << 2;
    QTest::newRow("3.5 -> 4") << 7 << 7 << 4 << 4;
    QTest::newRow("exact") << 6 << 8 << 3 << 4;
}

void TestCmdButton::captionCentredHalvesToEven() {
    QFETCH(int, extraWidth);
    QFETCH(int, extraHeight);
    QFETCH(int, left);
    QFETCH(int, top);
    m_button->setCaption(QStringLiteral("OK"));
    const QFontMetrics metrics(m_button->captionFont());
    m_button->resize(metrics.horizontalAdvance(QStringLiteral("OK")) + extraWidth,
                     metrics.height() + extraHeight);
    QCOMPARE(m_button->CaptionLeft(), left);
    QCOMPARE(m_button->CaptionTop(), top);
    QCOMPARE(m_button->captionPosition(), QPoint(left, top));
    QCOMPARE(m_button->Caption(), QStringLiteral("OK"));
}

void TestCmdButton::focusMakesCaptionBold() {
    QCOMPARE(m_button->Caption(), QStringLiteral("btnTest"));
    QCOMPARE(m_button->captionFont().family(), QStringLiteral("Arial"));
    QCOMPARE(m_button->captionFont().pointSizeF(), 8.25);
    QLineEdit* other = new QLineEdit(m_container);
    other->move(100, 50);
    other->show();
    QApplication::setActiveWindow(m_container);
    QVERIFY(QTest::qWaitForWindowActive(m_container));
    other->setFocus();
    QVERIFY(!m_button->captionFont().bold());

    m_button->setFocus();
    QVERIFY(m_button->captionFont().bold());
    QCOMPARE(m_button->CaptionLeft(),
             roundHalfEven(
                 (m_button->width() -
                  QFontMetrics(m_button->captionFont()).horizontalAdvance(m_button->Caption())) /
                 2.0));
    other->setFocus();
    QVERIFY(!m_button->captionFont().bold());
}

void TestCmdButton::keysRaiseKeyDownAfterClickForEnter() {
    QList<QString> order;
    connect(m_button, &cmdButton::Click, this, [&order] { order.append(QStringLiteral("Click")); });
    connect(m_button, &cmdButton::KeyDown, this, [&order](int keyCode, int shift) {
        order.append(QStringLiteral("KeyDown %1 %2").arg(keyCode).arg(shift));
    });
    QTest::keyClick(m_button, Qt::Key_Return);
    QTest::keyClick(m_button, Qt::Key_Left, Qt::ShiftModifier | Qt::AltModifier);
    QTest::keyClick(m_button, Qt::Key_A, Qt::ControlModifier);
    // Modifier keys go down as keys of their own first.
    QCOMPARE(order, (QList<QString>{"Click", "KeyDown 13 0", "KeyDown 16 1", "KeyDown 18 5",
                                    "KeyDown 37 5", "KeyDown 17 2", "KeyDown 65 2"}));
}

void TestCmdButton::enabledIsChangedAlsoForSameValue() {
    QSignalSpy changes(m_button, &cmdButton::EnabledIsChanged);
    m_button->setButtonEnabled(true);
    m_button->setButtonEnabled(false);
    m_button->setButtonEnabled(false);
    QCOMPARE(changes.size(), 3);
    QCOMPARE(changes[0].at(0).toBool(), true);
    QCOMPARE(changes[2].at(0).toBool(), false);
    QVERIFY(!m_button->Enabled());
    // The disabled look stays raised.
    QCOMPARE(pixel(*m_button, 1, 0), Light);
}

void TestCmdButton::disabledButtonPassesMouseToContainer() {
    QSignalSpy downs(m_button, &cmdButton::MouseDown);
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(3, 4));
    QCOMPARE(downs.size(), 1);
    QVERIFY(m_container->presses.isEmpty());

    m_button->setButtonEnabled(false);
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(3, 4));
    QCOMPARE(downs.size(), 1);
    QCOMPARE(m_container->presses, QList<QPoint>{QPoint(13, 14)});
}

void TestCmdButton::childInsideDoesNotStealMouse() {
    // The grid places an arrow icon inside the button; the input over it stays the button's.
    auto* icon = new QLabel(m_button);
    icon->setGeometry(3, 3, 9, 9);
    icon->show();
    QCOMPARE(m_button->childAt(5, 5), nullptr);
    QSignalSpy downs(m_button, &cmdButton::MouseDown);
    QSignalSpy clicks(m_button, &cmdButton::Click);
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(downs.size(), 1);
    QCOMPARE(clicks.size(), 1);
}

QTEST_MAIN(TestCmdButton)
#include "tst_cmdbutton.moc"
