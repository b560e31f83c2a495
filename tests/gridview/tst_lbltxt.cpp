#include "gridview/lblTxt.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestLblTxt : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editBoxFillsTheControl();
    void lineBreaksAreJoined_data();
    void lineBreaksAreJoined();
    void settingTextRaisesChange();
    void sidewaysExits_data();
    void sidewaysExits();
    void keyDownComesFirstAndCanKeepTheKey();
    void typingLimitedButProgramTextKeptWhole_data();
    void typingLimitedButProgramTextKeptWhole();
    void deletingFromLongTextAllowed();
    void focusReportsThenSelectsAll();
    void disableSelectAllKeepsSelection();
    void windowSwitchIsNoNewVisit();

private:
    QWidget* m_window = nullptr;
    lblTxt* m_editor = nullptr;
    QLineEdit* m_txt = nullptr;
    QLineEdit* m_elsewhere = nullptr;
};

void TestLblTxt::init() {
    m_window = new QWidget;
    m_window->resize(300, 100);
    m_editor = new lblTxt(m_window);
    m_editor->setGeometry(10, 10, 120, 15);
    m_elsewhere = new QLineEdit(m_window);
    m_elsewhere->move(10, 50);
    m_txt = m_editor->findChild<QLineEdit*>(QStringLiteral("TXT"));
    QVERIFY(m_txt);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_elsewhere->setFocus();
}

void TestLblTxt::cleanup() {
    delete m_window;
}

void TestLblTxt::editBoxFillsTheControl() {
    QCOMPARE(m_txt->geometry(), QRect(0, -1, 120, 16));
    QVERIFY(!m_txt->hasFrame());
    QCOMPARE(m_txt->font().family(), QStringLiteral("Arial"));
    QCOMPARE(m_txt->font().pixelSize(), 13);
    m_editor->setBold(true);
    m_editor->setItallic(true);
    m_editor->setForeColor(0x0000FF);
    QVERIFY(m_txt->font().bold() && m_txt->font().italic() && !m_txt->font().underline());
    QCOMPARE(m_txt->palette().color(QPalette::Text), QColor(255, 0, 0));

    QSignalSpy moves(m_editor, &lblTxt::MouseMove);
    QTest::mouseMove(m_txt, QPoint(7, 4));
    QCOMPARE(moves.size(), 1);
    QCOMPARE(moves[0], (QVariantList{0, 0, 7.0f, 4.0f}));
}

void TestLblTxt::lineBreaksAreJoined_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<int>("changes");
    QTest::newRow("pairs joined") << "" << 0 << "a\r\nb\r\nc"
                                  << "abc" << 3 << 1;
    QTest::newRow("pair at the end") << "" << 0 << "abc\r\n"
                                     << "abc" << 3 << 1;
    QTest::newRow("pasted in the middle") << "xy" << 1 << "1\r\n2"
                                          << "x12y" << 3 << 1;
    QTest::newRow("joining makes a new pair") << "" << 0 << "a\r\r\n\nb"
                                              << "ab" << 2 << 1;
    // Lone CR and LF would split the cell's line in its file as well.
    QTest::newRow("lone CR") << "" << 0 << "a\rb"
                             << "ab" << 2 << 1;
    QTest::newRow("lone LF") << "" << 0 << "a\nb"
                             << "ab" << 2 << 1;
    QTest::newRow("only a break") << "ab" << 2 << "\r\n"
                                  << "ab" << 2 << 0;
}

void TestLblTxt::lineBreaksAreJoined() {
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    QFETCH(int, caretAfter);
    QFETCH(int, changes);
    m_editor->setText(before);
    m_editor->setFocus();
    m_txt->setCursorPosition(caret);
    QSignalSpy changed(m_editor, &lblTxt::Change);
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(m_txt, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_editor->Text(), after);
    QCOMPARE(m_txt->cursorPosition(), caretAfter);
    QCOMPARE(changed.size(), changes);
}

void TestLblTxt::settingTextRaisesChange() {
    QSignalSpy changed(m_editor, &lblTxt::Change);
    m_editor->setText(QStringLiteral("Ann"));
    QCOMPARE(changed.size(), 1);
    m_editor->setText(QStringLiteral("p\r\nq"));
    QCOMPARE(m_editor->Text(), QStringLiteral("pq"));
    QCOMPARE(changed.size(), 2);
}

void TestLblTxt::sidewaysExits_data() {
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("rights");
    QTest::addColumn<int>("lefts");
    QTest::newRow("right at the end") << 3 << 0 << int(Qt::Key_Right) << 1 << 0;
    QTest::newRow("right with all selected") << 0 << 3 << int(Qt::Key_Right) << 0 << 0;
    QTest::newRow("right inside") << 2 << 0 << int(Qt::Key_Right) << 0 << 0;
    QTest::newRow("left at the start") << 0 << 0 << int(Qt::Key_Left) << 0 << 1;
    QTest::newRow("left with a selection") << 0 << 1 << int(Qt::Key_Left) << 0 << 0;
    QTest::newRow("left inside") << 1 << 0 << int(Qt::Key_Left) << 0 << 0;
    QTest::newRow("home at the start") << 0 << 0 << int(Qt::Key_Home) << 0 << 0;
}

void TestLblTxt::sidewaysExits() {
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(int, key);
    QFETCH(int, rights);
    QFETCH(int, lefts);
    m_editor->setText(QStringLiteral("abc"));
    m_editor->setFocus();
    if (selectionLength > 0) {
        m_editor->SelectText(selectionStart, selectionLength);
    } else {
        m_txt->setCursorPosition(selectionStart);
    }
    QSignalSpy right(m_editor, &lblTxt::Right);
    QSignalSpy left(m_editor, &lblTxt::Left);
    QTest::keyClick(m_txt, Qt::Key(key));
    QCOMPARE(right.size(), rights);
    QCOMPARE(left.size(), lefts);
}

void TestLblTxt::keyDownComesFirstAndCanKeepTheKey() {
    m_editor->setText(QStringLiteral("abc"));
    m_editor->setFocus();
    m_txt->setCursorPosition(3);
    QStringList seen;
    connect(m_editor, &lblTxt::Right, this, [&seen] { seen.append(QStringLiteral("Right")); });
    connect(m_editor, &lblTxt::KeyDown, this, [&](int& keyCode, int& shift) {
        seen.append(
            QStringLiteral("KeyDown %1 %2 %3").arg(keyCode).arg(shift).arg(m_editor->Text()));
        if (keyCode == 46 && shift == 2) {
            keyCode = 0; // the grid keeps Ctrl+Delete from the edit box
        }
        if (keyCode == 46 && shift == 1) {
            m_elsewhere->setFocus(); // the grid took the editing elsewhere
        }
    });
    QTest::keyClick(m_txt, Qt::Key_Right);
    QTest::keyClick(m_txt, Qt::Key_Backspace);
    QTest::keyClick(m_txt, Qt::Key_Home);
    QTest::keyClick(m_txt, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_editor->Text(), QStringLiteral("ab"));
    QTest::keyClick(m_txt, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(m_editor->Text(), QStringLiteral("ab"));
    QCOMPARE(seen, (QStringList{"KeyDown 39 0 abc", "Right", "KeyDown 8 0 abc", "KeyDown 36 0 ab",
                                "KeyDown 17 2 ab", "KeyDown 46 2 ab", "KeyDown 16 1 ab",
                                "KeyDown 46 1 ab"}));
}

void TestLblTxt::typingLimitedButProgramTextKeptWhole_data() {
    QTest::addColumn<QString>("programText");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("expected");
    const QString eighty(80, QLatin1Char('e'));
    const QString long100(100, QLatin1Char('L'));
    QTest::newRow("typing stops at 80")
        << "" << QString(85, QLatin1Char('t')) << "" << QString(80, QLatin1Char('t'));
    QTest::newRow("paste cut to what fits")
        << QString(70, QLatin1Char('p')) << "" << QString(20, QLatin1Char('c'))
        << QString(70, QLatin1Char('p')) + QString(10, QLatin1Char('c'));
    QTest::newRow("paste of breaks counts joined")
        << QString(76, QLatin1Char('p')) << ""
        << "a\r\nb\r\nc\r\nd" << QString(76, QLatin1Char('p')) + "abcd";
    QTest::newRow("full text takes no more") << eighty << "x"
                                             << "" << eighty;
    QTest::newRow("long program text kept whole") << long100 << "x"
                                                  << "yz" << long100;
    const QString huge(40000, QLatin1Char('h'));
    QTest::newRow("beyond QLineEdit's own limit") << huge << ""
                                                  << "" << huge;
}

void TestLblTxt::typingLimitedButProgramTextKeptWhole() {
    QFETCH(QString, programText);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, expected);
    m_editor->setText(programText);
    m_editor->setFocus();
    m_txt->end(false);
    QTest::keyClicks(m_txt, typed);
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(m_txt, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(m_editor->Text().size(), expected.size());
    QCOMPARE(m_editor->Text(), expected);
    QVERIFY(m_txt->hasAcceptableInput()); // so the edit box still reports finished edits
}

void TestLblTxt::deletingFromLongTextAllowed() {
    const QString long100 = QString(50, QLatin1Char('a')) + QString(50, QLatin1Char('b'));
    m_editor->setText(long100);
    m_editor->setFocus();
    m_txt->end(false);
    QSignalSpy changed(m_editor, &lblTxt::Change);
    QTest::keyClick(m_txt, Qt::Key_Backspace);
    QCOMPARE(m_editor->Text(), long100.left(99));
    QCOMPARE(changed.size(), 1);
    // Replacing a selection with one character shrinks the text below 80 again.
    m_editor->SelectText(10, 60);
    QTest::keyClicks(m_txt, QStringLiteral("Z"));
    QCOMPARE(m_editor->Text(), long100.left(10) + "Z" + long100.mid(70, 29));
    QCOMPARE(changed.size(), 2);
}

void TestLblTxt::focusReportsThenSelectsAll() {
    m_editor->setText(QStringLiteral("Ann"));
    m_editor->setBold(true);
    m_editor->setUnderlined(true);
    m_editor->setForeColor(0x00FF00);
    QStringList seen;
    connect(m_editor, &lblTxt::GotFocus, this,
            [&](const QString& text, bool bold, bool italic, bool underlined, qint32 color) {
                seen.append(QStringLiteral("GotFocus %1 %2%3%4 %5 selected:%6")
                                .arg(text)
                                .arg(bold)
                                .arg(italic)
                                .arg(underlined)
                                .arg(color)
                                .arg(m_txt->selectedText()));
            });
    QSignalSpy exits(m_editor, &lblTxt::ExitFocus);
    m_editor->setFocus();
    QCOMPARE(seen, QStringList{"GotFocus Ann 101 65280 selected:"});
    QCOMPARE(m_txt->selectedText(), QStringLiteral("Ann"));
    QCOMPARE(m_txt->selectionStart(), 0);
    QCOMPARE(m_editor->OnFocus(), QStringLiteral("Ann"));
    QCOMPARE(exits.size(), 0);
    m_elsewhere->setFocus();
    QCOMPARE(exits.size(), 1);
}

void TestLblTxt::disableSelectAllKeepsSelection() {
    m_editor->setText(QStringLiteral("first"));
    m_editor->setFocus();
    m_elsewhere->setFocus();
    QCOMPARE(m_editor->OnFocus(), QStringLiteral("first"));

    // Find: select the match, keep it through the focus.
    m_editor->setText(QStringLiteral("Smith and Jones"));
    m_editor->SelectText(10, 5);
    m_editor->setDisableSelectAll(true);
    m_editor->setFocus();
    QCOMPARE(m_txt->selectedText(), QStringLiteral("Jones"));
    QVERIFY(!m_editor->DisableSelectAll());
    QCOMPARE(m_editor->OnFocus(), QStringLiteral("first"));

    // The flag holds for one focus only.
    m_elsewhere->setFocus();
    m_editor->setFocus();
    QCOMPARE(m_txt->selectedText(), QStringLiteral("Smith and Jones"));
    QCOMPARE(m_editor->OnFocus(), QStringLiteral("Smith and Jones"));

    // Out-of-range selections are clamped to the text.
    m_editor->SelectText(12, 100);
    QCOMPARE(m_txt->selectedText(), QStringLiteral("nes"));
    m_editor->SelectText(-3, 2);
    QCOMPARE(m_txt->selectedText(), QStringLiteral("Sm"));
}

void TestLblTxt::windowSwitchIsNoNewVisit() {
    m_editor->setText(QStringLiteral("Ann"));
    m_editor->setFocus();
    m_txt->setCursorPosition(1);
    QSignalSpy visits(m_editor, &lblTxt::GotFocus);
    QSignalSpy exits(m_editor, &lblTxt::ExitFocus);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QVERIFY(m_txt->hasFocus());
    // The edit goes on where the user left it: no exit, no new visit selecting all.
    QCOMPARE(exits.size(), 0);
    QCOMPARE(visits.size(), 0);
    QVERIFY(!m_txt->hasSelectedText());
    QCOMPARE(m_txt->cursorPosition(), 1);
}

QTEST_MAIN(TestLblTxt)
#include "tst_lbltxt.moc"
