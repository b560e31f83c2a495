#include "platform/QtDialogs.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

/// Counts the closing steps a window runs.
class ClosingWindow final : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        event->accept();
    }
};

/// Shows message boxes through the normalising Platform members without a modal loop: it
/// builds the Qt box QtPlatform would show and keeps it.
class BuildingPlatform final : public Platform {
public:
    std::unique_ptr<QMessageBox> built;
    std::optional<qint32> colorDialog(qint32) override { return std::nullopt; }
    int runDialog(QDialog&) override { return 0; }
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }
    void clearClipboard() override {}
    bool openUrl(const QUrl&) override { return false; }
    void playSound(const QString&) override {}
    void endProcess() override {}
    int processorMHz() override { return 0; }
    qint64 physicalMemory() override { return 0; }
    QString userName() override { return {}; }
    QString documentsFolder() override { return {}; }
    QStringList drives() override { return {}; }

protected:
    MessageButton showMessageBox(const MessageBoxRequest& request) override {
        built = QtDialogs::buildMessageBox(request, nullptr);
        return MessageButton::Ok;
    }
    std::optional<QString> showInputBox(const InputBoxRequest&) override { return {}; }
    std::optional<FileChoice> showOpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<FileChoice> showSaveFileDialog(const FileDialogRequest&) override { return {}; }
};

} // namespace

Q_DECLARE_METATYPE(MessageBoxRequest)

class TestQtPlatform : public QObject {
    Q_OBJECT
private slots:
    void messageBoxIsBuiltAsAsked_data();
    void messageBoxIsBuiltAsAsked();
    void messageBoxReportsThePressedButton();
    void inputBoxShowsPromptTitleAndDefault();
    void openDialogOffersReadOnly();
    void openDialogMatchesPatternsInAnyCase();
    void saveDialogPresetsNameAndNeverAsksToReplace();
    void clipboardRoundTrip();
    void endProcessSkipsClosingSteps();
    void endProcessInsideModalLoop();
    void soundFailuresAreSilent();
};

void TestQtPlatform::messageBoxIsBuiltAsAsked_data() {
    QTest::addColumn<MessageBoxRequest>("request");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QMessageBox::StandardButtons>("buttons");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButton>("defaultButton");

    QTest::newRow("defaults") << MessageBoxRequest{.text = QStringLiteral("Saved")} << "Qel 2005"
                              << QMessageBox::StandardButtons(QMessageBox::Ok)
                              << QMessageBox::NoIcon << QMessageBox::Ok;
    QTest::newRow("save changes") << MessageBoxRequest{.text = QStringLiteral("Save Changes?"),
                                                       .title =
                                                           QStringLiteral("Database [ Unsaved ]"),
                                                       .buttons = MessageButtons::YesNoCancel,
                                                       .icon = MessageIcon::Question,
                                                       .defaultButton = MessageButton::Cancel}
                                  << "Database [ Unsaved ]"
                                  << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
                                  << QMessageBox::Question << QMessageBox::Cancel;
    QTest::newRow("blanks kept exactly")
        << MessageBoxRequest{.text = QStringLiteral("Your New Password is not confirmed "),
                             .title = QStringLiteral("Brevant      Excel Error"),
                             .icon = MessageIcon::Critical}
        << "Brevant      Excel Error" << QMessageBox::StandardButtons(QMessageBox::Ok)
        << QMessageBox::Critical << QMessageBox::Ok;
    QTest::newRow("yes no, no default")
        << MessageBoxRequest{.text = QStringLiteral("Start data import?"),
                             .buttons = MessageButtons::YesNo,
                             .icon = MessageIcon::Exclamation,
                             .defaultButton = MessageButton::No}
        << "Qel 2005" << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::Warning
        << QMessageBox::No;
    QTest::newRow("retry cancel") << MessageBoxRequest{.text = QStringLiteral("<b>x</b>"),
                                                       .buttons = MessageButtons::RetryCancel,
                                                       .icon = MessageIcon::Information}
                                  << "Qel 2005" << (QMessageBox::Retry | QMessageBox::Cancel)
                                  << QMessageBox::Information << QMessageBox::Retry;
    QTest::newRow("default not offered falls back to first")
        << MessageBoxRequest{.text = QStringLiteral("?"),
                             .buttons = MessageButtons::OkCancel,
                             .defaultButton = MessageButton::Yes}
        << "Qel 2005" << (QMessageBox::Ok | QMessageBox::Cancel) << QMessageBox::NoIcon
        << QMessageBox::Ok;
}

void TestQtPlatform::messageBoxIsBuiltAsAsked() {
    QFETCH(MessageBoxRequest, request);
    QFETCH(QString, title);
    QFETCH(QMessageBox::StandardButtons, buttons);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QMessageBox::StandardButton, defaultButton);
    BuildingPlatform platform;
    platform.messageBox(request);
    const QMessageBox& box = *platform.built;
    QCOMPARE(box.text(), request.text);
    QCOMPARE(box.textFormat(), Qt::PlainText);
    QCOMPARE(box.windowTitle(), title);
    QCOMPARE(box.standardButtons(), buttons);
    QCOMPARE(box.icon(), icon);
    QCOMPARE(box.defaultButton(), box.button(defaultButton));
}

void TestQtPlatform::messageBoxReportsThePressedButton() {
    const MessageBoxRequest request{.text = QStringLiteral("Save Changes?"),
                                    .title = QStringLiteral("Qel 2005"),
                                    .buttons = MessageButtons::YesNoCancel};
    for (const auto& [pressed, answer] : {std::pair{QMessageBox::Yes, MessageButton::Yes},
                                          std::pair{QMessageBox::No, MessageButton::No},
                                          std::pair{QMessageBox::Cancel, MessageButton::Cancel}}) {
        const auto box = QtDialogs::buildMessageBox(request, nullptr);
        box->button(pressed)->click();
        QCOMPARE(QtDialogs::messageBoxAnswer(*box, request.buttons), answer);
    }
    // Closed without a button: the answer that commits to the least.
    const auto unanswered = QtDialogs::buildMessageBox(request, nullptr);
    QCOMPARE(QtDialogs::messageBoxAnswer(*unanswered, MessageButtons::YesNo), MessageButton::No);
    QCOMPARE(QtDialogs::messageBoxAnswer(*unanswered, MessageButtons::Ok), MessageButton::Ok);
}

void TestQtPlatform::inputBoxShowsPromptTitleAndDefault() {
    const auto dialog = QtDialogs::buildInputBox(
        {.prompt = QStringLiteral("Enter the Column Name ( up to 15 characters) "),
         .title = QStringLiteral("Qel 2005"),
         .defaultText = QStringLiteral("B")},
        nullptr);
    QCOMPARE(dialog->labelText(), QStringLiteral("Enter the Column Name ( up to 15 characters) "));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Qel 2005"));
    QCOMPARE(dialog->textValue(), QStringLiteral("B"));
    QCOMPARE(dialog->inputMode(), QInputDialog::TextInput);
}

void TestQtPlatform::openDialogOffersReadOnly() {
    QTemporaryDir folder;
    const auto dialog =
        QtDialogs::buildOpenDialog({.title = QStringLiteral("Open"),
                                    .filter = QStringLiteral("Qel Database (*.QEL)|*.QEL|"),
                                    .folder = folder.path()},
                                   nullptr);
    QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Open"));
    QCOMPARE(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Qel Database (*.QEL)")});

    auto* readOnly = dialog->findChild<QCheckBox*>(QtDialogs::ReadOnlyCheckBoxName);
    QVERIFY(readOnly);
    QCOMPARE(readOnly->text(), QStringLiteral("Open as read-only"));
    QVERIFY(!readOnly->isChecked());

    const QString path = folder.filePath(QStringLiteral("Stock.QEL"));
    dialog->selectFile(path);
    QCOMPARE(QtDialogs::fileDialogChoice(*dialog),
             std::optional(FileChoice{path, QStringLiteral("Stock.QEL"), false}));
    readOnly->setChecked(true);
    QCOMPARE(QtDialogs::fileDialogChoice(*dialog)->readOnly, true);
}

void TestQtPlatform::openDialogMatchesPatternsInAnyCase() {
    QTemporaryDir folder;
    for (const char* name : {"upper.QEL", "lower.qel", "notes.txt"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const auto dialog = QtDialogs::buildOpenDialog(
        {.filter = QStringLiteral("Qel Database (*.QEL)|*.QEL|"), .folder = folder.path()},
        nullptr);
    auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QVERIFY(list);
    QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 2);
    QStringList shown;
    for (int row = 0; row < 2; ++row) {
        shown.append(list->model()->index(row, 0, list->rootIndex()).data().toString());
    }
    shown.sort();
    QCOMPARE(shown, (QStringList{QStringLiteral("lower.qel"), QStringLiteral("upper.QEL")}));
}

void TestQtPlatform::saveDialogPresetsNameAndNeverAsksToReplace() {
    QTemporaryDir folder;
    const auto dialog =
        QtDialogs::buildSaveDialog({.title = QStringLiteral("Save As"),
                                    .filter = QStringLiteral("Qel Database (*.QEL)|*.QEL|"),
                                    .folder = folder.path(),
                                    .fileName = QStringLiteral("Database1.QEL")},
                                   nullptr);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    QVERIFY(dialog->defaultSuffix().isEmpty());
    QVERIFY(!dialog->findChild<QCheckBox*>(QtDialogs::ReadOnlyCheckBoxName));
    const std::optional<FileChoice> choice = QtDialogs::fileDialogChoice(*dialog);
    QVERIFY(choice);
    QCOMPARE(choice->path, folder.filePath(QStringLiteral("Database1.QEL")));
    QCOMPARE(choice->fileTitle, QStringLiteral("Database1.QEL"));
}

void TestQtPlatform::clipboardRoundTrip() {
    QtPlatform platform;
    platform.setClipboardText(QStringLiteral("Ann"));
    QCOMPARE(platform.clipboardText(), QStringLiteral("Ann"));
    platform.clearClipboard();
    QCOMPARE(platform.clipboardText(), QString());
}

void TestQtPlatform::endProcessSkipsClosingSteps() {
    QtPlatform platform;
    ClosingWindow window;
    window.show();
    // Before the main loop runs: it ends as soon as it starts.
    platform.endProcess();
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(window.closes, 0);
    QVERIFY(window.isVisible());
}

void TestQtPlatform::endProcessInsideModalLoop() {
    QtPlatform platform;
    ClosingWindow window;
    window.show();
    bool modalEnded = false;
    QTimer::singleShot(0, &window, [&] {
        // A modal prompt's own loop, as when the last wrong password ends the application.
        QEventLoop modal;
        QTimer::singleShot(0, &window, [&platform] { platform.endProcess(); });
        modal.exec();
        modalEnded = true;
    });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(modalEnded);
    QCOMPARE(window.closes, 0);
}

// A sound that is missing or not a sound at all, played again before the last one loaded:
// nothing is asked, nothing is shown, and the application goes on.
void TestQtPlatform::soundFailuresAreSilent() {
    QTemporaryDir folder;
    const QString garbage = folder.filePath(QStringLiteral("2.wav"));
    QFile file(garbage);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RIFF, but nothing a sound is made of");
    file.close();
    QtPlatform platform;
    platform.playSound(folder.filePath(QStringLiteral("missing.wav")));
    platform.playSound(garbage);
    QTest::qWait(200);
    platform.playSound(garbage);
    QTest::qWait(200);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
