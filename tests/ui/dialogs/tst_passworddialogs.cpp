#include "platform/Twips.h"
#include "support/ScriptedPlatform.h"
#include "ui/dialogs/ClickableLabel.h"
#include "ui/dialogs/DatabasePasswordDialogs.h"
#include "ui/dialogs/PasswordDialogHost.h"
#include "ui/dialogs/frmPassword.h"
#include "ui/dialogs/frmSetPassword.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

class StandInHost final : public PasswordDialogHost {
public:
    bool databasePasswordEnabled() const override { return enabled; }
    QString databaseWindowCaption() const override { return QStringLiteral("Database [ a ]"); }
    void markDatabaseChanged() override { ++changed; }
    void closeDatabaseWindow() override { ++closed; }

    bool enabled = true;
    int changed = 0;
    int closed = 0;
};

// Types into the boxes and clicks the label named `label`.
void work(QDialog& dialog, const QString& first, const QString& second, const char* label) {
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(first);
    if (auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("Text2"))) {
        box->setText(second);
    }
    QTest::mouseClick(dialog.findChild<QWidget*>(QString::fromLatin1(label)), Qt::LeftButton);
}

} // namespace

/// The two database password dialogs: their look and every rule of their buttons.
class TestPasswordDialogs : public QObject {
    Q_OBJECT
private slots:
    void looks_data();
    void looks();
    void labelsTurnBoldUnderTheMouse();
    void setDialogRules_data();
    void setDialogRules();
    void setDialogStepsAsideWhenPasswordsAreOff();
    void openDialogLetsMarkerAndEmptyPasswordIn();
    void cancelledOpenDialogDropsTheCount();
};

void TestPasswordDialogs::looks_data() {
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::newRow("set: Label1") << true << "Label1" << QRect(960, 0, 2295, 735)
                                 << "Enter Database Password :\n\nVerify Database Password:";
    QTest::newRow("set: Text1") << true << "Text1" << QRect(840, 240, 2415, 225) << "";
    QTest::newRow("set: Text2") << true << "Text2" << QRect(840, 720, 2415, 225) << "";
    QTest::newRow("set: Save") << true << "lblSaveSetup" << QRect(840, 960, 975, 255) << "Save";
    QTest::newRow("set: Cancel") << true << "lblCancelSetup" << QRect(2280, 960, 855, 375)
                                 << " Cancel";
    QTest::newRow("open: Label1") << false << "Label1" << QRect(1080, 0, 2175, 255)
                                  << "Enter Database Password:";
    QTest::newRow("open: Text1") << false << "Text1" << QRect(840, 240, 2775, 210) << "";
    QTest::newRow("open: Open") << false << "lblSaveSetup" << QRect(1080, 480, 975, 255) << "Open";
    QTest::newRow("open: Cancel") << false << "lblCancelSetup" << QRect(2280, 480, 855, 255)
                                  << " Cancel";
}

void TestPasswordDialogs::looks() {
    QFETCH(bool, set);
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    frmSetPassword setDialog;
    frmPassword openDialog;
    QDialog& dialog = set ? static_cast<QDialog&>(setDialog) : openDialog;
    QCOMPARE(dialog.windowTitle(),
             set ? QStringLiteral("Database Security ") : QStringLiteral("Database Security"));
    QWidget* part = dialog.findChild<QWidget*>(name);
    QVERIFY(part);
    QCOMPARE(part->geometry(),
             Twips::toPixels(twips.left(), twips.top(), twips.width(), twips.height()));
    if (auto* box = qobject_cast<QLineEdit*>(part)) {
        QCOMPARE(box->echoMode(), QLineEdit::Password);
    } else {
        QCOMPARE(qobject_cast<QLabel*>(part)->text(), text);
    }
    if (name.startsWith(u"lbl")) {
        QCOMPARE(part->palette().color(QPalette::WindowText), QColor(111, 55, 0));
    }
}

void TestPasswordDialogs::labelsTurnBoldUnderTheMouse() {
    frmSetPassword dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* save = dialog.findChild<ClickableLabel*>(QStringLiteral("lblSaveSetup"));
    auto* cancel = dialog.findChild<ClickableLabel*>(QStringLiteral("lblCancelSetup"));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(save, &enter);
    QApplication::sendEvent(cancel, &enter);
    QVERIFY(save->font().bold());
    QVERIFY(cancel->font().bold());
    // Over the dialog's own background both turn normal again.
    QTest::mouseMove(&dialog, QPoint(4, dialog.height() - 4));
    QVERIFY(!save->font().bold());
    QVERIFY(!cancel->font().bold());
}

void TestPasswordDialogs::setDialogRules_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("the same") << "pw"
                              << "pw"
                              << "";
    QTest::newRow("different") << "pw"
                               << "pW"
                               << "Passwords are not the same. Please try again!";
    QTest::newRow("empty") << ""
                           << ""
                           << "You must setup database password";
}

void TestPasswordDialogs::setDialogRules() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, message);
    ScriptedPlatform platform;
    StandInHost host;
    frmSetPassword dialog;
    platform.answerDialog([&](QDialog& shown) {
        work(shown, first, second, "lblSaveSetup");
        if (shown.isVisible()) {
            QVERIFY(shown.findChild<QLineEdit*>(QStringLiteral("Text1"))->hasSelectedText() ||
                    first.isEmpty());
            work(shown, QString(), QString(), "lblCancelSetup");
        }
    });
    if (!message.isEmpty()) {
        platform.answerMessageBox(MessageButton::Ok);
        platform.answerMessageBox(MessageButton::Ok); // was not saved
    }
    const bool accepted = dialog.ShowForm(host);
    QCOMPARE(accepted, message.isEmpty());
    QCOMPARE(dialog.password(), message.isEmpty() ? first : QString());
    if (!message.isEmpty()) {
        QCOMPARE(platform.messageBoxes().at(0).text, message);
        QCOMPARE(platform.messageBoxes().at(1).text, QStringLiteral("Database [ a ]was not saved"));
        QCOMPARE(host.changed, 1);
    }
    QCOMPARE(host.closed, 0);
}

void TestPasswordDialogs::setDialogStepsAsideWhenPasswordsAreOff() {
    ScriptedPlatform platform;
    StandInHost host;
    host.enabled = false;
    DatabasePasswordDialogs dialogs;
    QCOMPARE(dialogs.askNewPassword(host), std::optional<QString>(QStringLiteral("!Dor@7%K")));
    QVERIFY(platform.dialogs().isEmpty());
}

void TestPasswordDialogs::openDialogLetsMarkerAndEmptyPasswordIn() {
    ScriptedPlatform platform;
    StandInHost host;
    DatabasePasswordDialogs dialogs;
    QVERIFY(dialogs.checkPassword(QStringLiteral("!Dor@7%K"), host));
    QVERIFY(dialogs.checkPassword(QString(), host));
    QVERIFY(platform.dialogs().isEmpty());
}

// Wrong entries are counted for as long as the dialog lives; Cancel discards it with them.
void TestPasswordDialogs::cancelledOpenDialogDropsTheCount() {
    ScriptedPlatform platform;
    StandInHost host;
    DatabasePasswordDialogs dialogs;
    platform.answerDialog([](QDialog& shown) {
        work(shown, QStringLiteral("no"), QString(), "lblSaveSetup");
        work(shown, QStringLiteral("no"), QString(), "lblSaveSetup");
        work(shown, QStringLiteral("pw"), QString(), "lblSaveSetup");
    });
    platform.answerMessageBox(MessageButton::Ok);
    platform.answerMessageBox(MessageButton::Ok);
    QVERIFY(dialogs.checkPassword(QStringLiteral("pw"), host));
    QCOMPARE(dialogs.wrongEntries(), 2);
    QCOMPARE(platform.messageBoxes().front().text,
             QStringLiteral("Your password is incorrect. Please try again!"));

    platform.answerDialog(
        [](QDialog& shown) { work(shown, QString(), QString(), "lblCancelSetup"); });
    QVERIFY(!dialogs.checkPassword(QStringLiteral("pw"), host));
    QCOMPARE(host.closed, 1);
    QCOMPARE(dialogs.wrongEntries(), 0);
    platform.verifyAllAnswered();
}

QTEST_MAIN(TestPasswordDialogs)
#include "tst_passworddialogs.moc"
