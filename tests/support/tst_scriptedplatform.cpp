#include "ScriptedPlatform.h"

#include <QProcess>
#include <QTest>

class TestScriptedPlatform : public QObject {
    Q_OBJECT
private slots:
    void answersInOrderAndRecordsWhatWasShown();
    void cancelledDialogsAnswerNothing();
    void breakingTheScriptFailsTheTest_data();
    void breakingTheScriptFailsTheTest();
    void recordsOutsideEffects();
    void installsItselfAndRestoresThePrevious();
};

void TestScriptedPlatform::answersInOrderAndRecordsWhatWasShown() {
    ScriptedPlatform platform;
    platform.answerMessageBox(MessageButton::No);
    platform.answerInputBox(QStringLiteral("1000"));
    platform.answerOpenDialog(QStringLiteral("/data/Stock.QEL"), true);
    platform.answerMessageBox(MessageButton::Retry);

    Platform& current = Platform::current();
    QCOMPARE(current.messageBox({.text = QStringLiteral("Save Changes?"),
                                 .title = QStringLiteral("Database [ Unsaved ]"),
                                 .buttons = MessageButtons::YesNoCancel,
                                 .icon = MessageIcon::Question,
                                 .defaultButton = MessageButton::Cancel}),
             MessageButton::No);
    QCOMPARE(
        current.inputBox({.prompt = QStringLiteral("Enter the record (row) number to import:")}),
        std::optional<QString>(QStringLiteral("1000")));
    const std::optional<FileChoice> opened =
        current.openFileDialog({.filter = QStringLiteral("Qel Database (*.QEL)|*.QEL|"),
                                .folder = QStringLiteral("/data")});
    QVERIFY(opened);
    QCOMPARE(*opened,
             (FileChoice{QStringLiteral("/data/Stock.QEL"), QStringLiteral("Stock.QEL"), true}));
    QCOMPARE(current.messageBox({.text = QStringLiteral("Your Password is not valid!"),
                                 .buttons = MessageButtons::RetryCancel}),
             MessageButton::Retry);
    QCOMPARE(platform.pendingAnswers(), 0);

    // The records hold what the user saw: the application title where none was named, the
    // first button as default where none was named, the default Open title.
    const QList<DialogRecord>& shown = platform.dialogs();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown[0].kind, DialogKind::MessageBox);
    QCOMPARE(shown[0].message.title, QStringLiteral("Database [ Unsaved ]"));
    QCOMPARE(shown[0].message.defaultButton, std::optional(MessageButton::Cancel));
    QCOMPARE(shown[0].message.icon, MessageIcon::Question);
    QCOMPARE(shown[1].kind, DialogKind::InputBox);
    QCOMPARE(shown[1].input.title, QStringLiteral("Qel 2005"));
    QCOMPARE(shown[2].kind, DialogKind::OpenFile);
    QCOMPARE(shown[2].file.title, QStringLiteral("Open"));
    QCOMPARE(shown[2].file.folder, QStringLiteral("/data"));
    QCOMPARE(shown[3].message.title, QStringLiteral("Qel 2005"));
    QCOMPARE(shown[3].message.defaultButton, std::optional(MessageButton::Retry));
    QCOMPARE(platform.messageBoxes().size(), 2);
}

void TestScriptedPlatform::cancelledDialogsAnswerNothing() {
    ScriptedPlatform platform;
    platform.cancelInputBox();
    platform.cancelOpenDialog();
    platform.cancelSaveDialog();
    platform.cancelColorDialog();
    platform.answerColorDialog(0x0000FF);

    Platform& current = Platform::current();
    QCOMPARE(current.inputBox({.prompt = QStringLiteral("Name")}), std::nullopt);
    QCOMPARE(current.openFileDialog({}), std::nullopt);
    QCOMPARE(current.saveFileDialog({.fileName = QStringLiteral("Database1.QEL")}), std::nullopt);
    QCOMPARE(current.colorDialog(0x123456), std::nullopt);
    QCOMPARE(current.colorDialog(0), std::optional<qint32>(0x0000FF));
    QCOMPARE(platform.dialogs().at(2).file.title, QStringLiteral("Save As"));
    QCOMPARE(platform.dialogs().at(2).file.fileName, QStringLiteral("Database1.QEL"));
    QCOMPARE(platform.dialogs().at(3).initialColor, 0x123456);
}

void TestScriptedPlatform::breakingTheScriptFailsTheTest_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unexpected") << "unexpectedMessageBox"
                                << "unexpected message box \"Surprise\" titled \"Qel 2005\"";
    QTest::newRow("wrong kind") << "wrongKindOfDialog"
                                << "the script expected the input box, but the code showed the "
                                   "message box \"Surprise\"";
    QTest::newRow("unused") << "unusedAnswer"
                            << "1 scripted answer(s) never used; the next was for the Save dialog";
}

void TestScriptedPlatform::breakingTheScriptFailsTheTest() {
    QFETCH(QString, function);
    QFETCH(QString, reason);
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral(PROBE_PATH), {function});
    QVERIFY2(probe.waitForFinished(30000), "the probe hung on a dialog");
    const QString output = QString::fromUtf8(probe.readAll());
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QVERIFY2(probe.exitCode() != 0, qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("FAIL!")), qPrintable(output));
    QVERIFY2(output.contains(reason), qPrintable(output));
}

void TestScriptedPlatform::recordsOutsideEffects() {
    ScriptedPlatform platform;
    Platform& current = Platform::current();

    current.setClipboardText(QStringLiteral("Ann"));
    QCOMPARE(current.clipboardText(), QStringLiteral("Ann"));
    current.clearClipboard();
    QCOMPARE(current.clipboardText(), QString());

    QVERIFY(current.openLocalFile(QStringLiteral("/docs/Book1.xlsx")));
    QVERIFY(current.openUrl(QUrl(QStringLiteral("https://example.org/"))));
    platform.setOpenUrlResult(false);
    QVERIFY(!current.openUrl(QUrl(QStringLiteral("https://example.org/b"))));
    QCOMPARE(platform.openedUrls().size(), 3);
    QCOMPARE(platform.openedUrls().first(),
             QUrl::fromLocalFile(QStringLiteral("/docs/Book1.xlsx")));

    current.playSound(QStringLiteral("/app/System/Sound/2.wav"));
    QCOMPARE(platform.playedSounds(), QStringList{QStringLiteral("/app/System/Sound/2.wav")});
    current.endProcess();
    QCOMPARE(platform.endProcessCalls(), 1);

    platform.setProcessorMHz(0);
    QCOMPARE(current.processorMHz(), 0);
    // Without a folder of its own the documents land in a temporary folder, never the user's.
    QVERIFY(!current.documentsFolder().isEmpty());
    QVERIFY(QFileInfo(current.documentsFolder()).isDir());
    platform.setDocumentsFolder(QStringLiteral("/docs"));
    QCOMPARE(current.documentsFolder(), QStringLiteral("/docs"));
    QVERIFY(platform.dialogs().isEmpty());
}

void TestScriptedPlatform::installsItselfAndRestoresThePrevious() {
    ScriptedPlatform outer;
    QCOMPARE(&Platform::current(), &outer);
    {
        ScriptedPlatform inner;
        QCOMPARE(&Platform::current(), &inner);
    }
    QCOMPARE(&Platform::current(), &outer);
}

QTEST_MAIN(TestScriptedPlatform)
#include "tst_scriptedplatform.moc"
