#include "gridview/List.h"
#include "gridview/lblTxt.h"
#include "settings/SettingsFile.h"
#include "support/ScriptedPlatform.h"
#include "table/Table.h"
#include "ui/database/frmItems.h"
#include "ui/shell/frmBalance.h"
#include "ui/shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

const QString kGeneralPassword = QStringLiteral("Gate 42");
const QString kDatabasePassword = QStringLiteral("db-Secret");

// A user working one of the database password dialogs: types the password into Text1 (and
// Text2 when there is one) and clicks Save or Open.
std::function<void(QDialog&)> enterPassword(const QString& password) {
    return [password](QDialog& dialog) {
        dialog.show();
        for (const char* name : {"Text1", "Text2"}) {
            if (auto* box = dialog.findChild<QLineEdit*>(QString::fromLatin1(name))) {
                box->setFocus();
                QTest::keyClicks(box, password);
            }
        }
        QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("lblSaveSetup")),
                          Qt::LeftButton);
    };
}

// Types `text` key by key; a letter beyond ASCII comes as a key event carrying its text, as a
// keyboard layout that has it sends it.
void typeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

} // namespace

/// The application from its start to its end and back, three times, in a temporary
/// application folder: every window real, driven with keys and clicks, every dialog scripted.
class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void generalPasswordDocumentAndRecentFile();

private:
    /// Starts the application: its start window, shown.
    void start();
    /// Closes the start window, which writes the settings and ends the application.
    void end();
    /// Answers the general password at the start.
    void passGate();
    frmItems& openDatabaseWindow();
    template <typename T = QWidget> T* child(const QString& name) const {
        return m_main->findChild<T*>(name);
    }
    void click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
    /// Clicks into a cell of the grid and types `text` there, key by key.
    void typeIntoCell(List& list, int row, int column, const QString& text);

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<frmMain> m_main;
};

void TestApplication::init() {
    m_platform = std::make_unique<ScriptedPlatform>();
    m_root = std::make_unique<QTemporaryDir>();
}

void TestApplication::cleanup() {
    m_main.reset();
    m_root.reset();
    m_platform.reset();
}

void TestApplication::start() {
    m_main.reset();
    m_platform->clearRecords();
    // The real probe: the spreadsheet stand-in in the application's scratch folder.
    m_main = std::make_unique<frmMain>(AppFolder(m_root->path()));
    m_main->show();
    QApplication::setActiveWindow(m_main.get());
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QCOMPARE(m_main->settings().lblEXCELSTATUS, QStringLiteral("RADI"));
}

void TestApplication::end() {
    m_main->close();
    QCOMPARE(m_platform->endProcessCalls(), 1);
    m_platform->verifyAllAnswered();
}

void TestApplication::passGate() {
    auto* prompt = child<QLineEdit>(QStringLiteral("txtpassword"));
    QVERIFY(prompt->isVisible());
    QVERIFY(!child(QStringLiteral("lblItems"))->isVisible());
    // One wrong answer first, in the wrong letter case.
    m_platform->answerMessageBox(MessageButton::Retry);
    QTest::keyClicks(prompt, kGeneralPassword.toLower());
    QTest::keyClick(prompt, Qt::Key_Return);
    QCOMPARE(m_platform->messageBoxes().back().text, QStringLiteral("Your Password is not valid!"));
    QTest::keyClicks(prompt, kGeneralPassword);
    QTest::keyClick(prompt, Qt::Key_Return);
    QVERIFY(child(QStringLiteral("lblItems"))->isVisible());
    QVERIFY(!prompt->isVisible());
}

frmItems& TestApplication::openDatabaseWindow() {
    click(child(QStringLiteral("lblItems")));
    frmItems* items = m_main->databaseWindow();
    if (!items) {
        qFatal("\"Database\" opened no window");
    }
    QApplication::setActiveWindow(items);
    if (!QTest::qWaitForWindowActive(items)) {
        qFatal("the database window did not become active");
    }
    return *items;
}

void TestApplication::typeIntoCell(List& list, int row, int column, const QString& text) {
    int x = list.numberStripWidth();
    for (int c = 1; c < column; ++c) {
        x += list.GetWidthColumn(c) + 1;
    }
    const QPoint cell(x + 10, 20 + 16 * (row - 1) + list.TopOffset() + 8);
    QTest::mouseClick(&list, Qt::LeftButton, {}, cell);
    auto* editor =
        list.findChild<lblTxt*>(QStringLiteral("lblTxt%1").arg(column))->findChild<QLineEdit*>();
    QVERIFY(editor->hasFocus());
    typeKeys(editor, text);
}

void TestApplication::generalPasswordDocumentAndRecentFile() {
    // The first start: no general password yet; one is set in the security window.
    start();
    QVERIFY(child(QStringLiteral("lblItems"))->isVisible());
    click(child(QStringLiteral("lblBalance")));
    frmBalance& security = m_main->securityWindow();
    QVERIFY(security.isVisible());
    for (const char* name : {"NewPassword", "ConfirmNewPassword"}) {
        QTest::keyClicks(security.findChild<QLineEdit*>(QString::fromLatin1(name)),
                         kGeneralPassword);
    }
    m_platform->answerMessageBox(MessageButton::Ok); // "Changes are successfully saved"
    click(security.findChild<QPushButton*>(QStringLiteral("cmdSavePassword")));
    QCOMPARE(m_platform->messageBoxes().back().text,
             QStringLiteral("Changes are successfully saved"));
    end();

    // The second start asks for it; the table is typed and saved under a database password.
    start();
    passGate();
    {
        frmItems& items = openDatabaseWindow();
        List& list = items.List1();
        QCOMPARE(items.windowTitle(), QStringLiteral("Database [ Unsaved ]"));
        m_platform->answerInputBox(QStringLiteral("Town"));
        items.menuItem(QStringLiteral("AddColumn"))->trigger();
        QCOMPARE(list.ColumnCount(), 2);

        typeIntoCell(list, 1, 1, QStringLiteral("Ann Smith"));
        click(items.findChild<QToolButton*>(QStringLiteral("cmdBold")));
        m_platform->answerColorDialog(0x0000C0);
        click(items.findChild<QToolButton*>(QStringLiteral("cmdFontColor")));
        typeIntoCell(list, 1, 2, QStringLiteral("Ljubljana"));
        click(items.findChild<QToolButton*>(QStringLiteral("cmdItalic")));
        typeIntoCell(list, 2, 1, QStringLiteral("Bob Brown"));
        click(items.findChild<QToolButton*>(QStringLiteral("cmdUnderlined")));
        typeIntoCell(list, 3, 2, QStringLiteral("Čakovec, 2005"));
        QCOMPARE(items.lblChangeStatus(), QStringLiteral("1"));

        // Typed without the extension, in the default folder.
        m_platform->answerSaveDialog(m_root->path() + QStringLiteral("/System/Qel/people"));
        m_platform->answerDialog(enterPassword(kDatabasePassword));
        m_platform->answerMessageBox(MessageButton::Ok); // "Saved"
        items.menuItem(QStringLiteral("saveas"))->trigger();
        QCOMPARE(m_platform->dialogs().back().message.text, QStringLiteral("Saved"));
        QCOMPARE(items.windowTitle(), QStringLiteral("Database [people.QEL]"));
        QCOMPARE(items.lblChangeStatus(), QStringLiteral("0"));
    }
    end();

    // The third start: the file comes back from the recent entry, after both passwords.
    start();
    passGate();
    frmItems& items = openDatabaseWindow();
    QAction* recent = items.menuItem(QStringLiteral("file1"));
    QVERIFY(recent->isVisible());
    QCOMPARE(recent->text(), QStringLiteral("people.QEL"));
    m_platform->answerDialog(enterPassword(kDatabasePassword));
    recent->trigger();
    QCOMPARE(m_platform->dialogs().back().dialogName, QStringLiteral("frmPassword"));

    const Table& table = items.List1().table();
    QCOMPARE(items.windowTitle(), QStringLiteral("Database [ people.QEL ]"));
    QCOMPARE(table.ColumnCount(), 2);
    QCOMPARE(table.GetColumnHeader(1), QStringLiteral("A"));
    QCOMPARE(table.GetColumnHeader(2), QStringLiteral("Town"));
    QCOMPARE(table.ListCount(), 30);
    struct Expected {
        int row;
        int column;
        const char16_t* text;
        bool bold;
        bool italic;
        bool underlined;
        qint32 color;
    };
    for (const Expected& cell : {Expected{1, 1, u"Ann Smith", true, false, false, 0x0000C0},
                                 Expected{1, 2, u"Ljubljana", false, true, false, 0},
                                 Expected{2, 1, u"Bob Brown", false, false, true, 0},
                                 Expected{3, 2, u"Čakovec, 2005", false, false, false, 0},
                                 Expected{2, 2, u"", false, false, false, 0}}) {
        const CellRef read = table.cellAt(cell.row, cell.column);
        QCOMPARE(read.Text.toString(), QString::fromUtf16(cell.text));
        QCOMPARE(read.Bold, cell.bold);
        QCOMPARE(read.Itallic, cell.italic);
        QCOMPARE(read.Underlined, cell.underlined);
        QCOMPARE(read.Color, cell.color);
    }
    QCOMPARE(items.lblChangeStatus(), QStringLiteral("0"));
    end();
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
