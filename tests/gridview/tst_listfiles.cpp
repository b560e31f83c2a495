#include "ListFixture.h"

#include "gridview/RetainedSurface.h"
#include "platform/WindowsColor.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedPrompts.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

/// The grid's files and spreadsheet exchange: what passes through its seams, and the redraw.
class TestListFiles : public QObject {
    Q_OBJECT
private slots:
    void saveAndOpenRedrawTheGrid();
    void protectedFilesAskThroughThePrompts();
    void exportTalksThroughHostAndPlatform();
    void importFillsTheTableAndRedraws();

private:
    QTemporaryDir m_dir;
};

void TestListFiles::saveAndOpenRedrawTheGrid() {
    auto source = makeList(12, 3, 80);
    source->SetBold(2, 2, true);
    const QString path = m_dir.filePath("plain.QEL");
    QVERIFY(source->SaveFile(path, false).ok());
    QCOMPARE(source->sFileName(), path);
    QVERIFY(!source->iIsEncrypted());

    auto list = makeList(2, 1);
    list->SelectItem(2, 1, 1);
    QVERIFY(list->OpenFile(path).ok());
    QCOMPARE(list->ListCount(), 12);
    QCOMPARE(list->ColumnCount(), 3);
    QCOMPARE(list->GetItem(12, 3), QStringLiteral("r12c3"));
    QVERIFY(list->table().cellAt(2, 2).Bold);
    QCOMPARE(list->iSelected(), 0);
    QVERIFY(!partShown(*list, "lblTxt1"));
    QVERIFY(list->table().UndoStore().empty());
    // Drawn afresh: every column surface, header label and the two-digit number strip.
    QCOMPARE(part(*list, "Stolpec3")->geometry().left(), 162);
    QCOMPARE(part<QLabel>(*list, "lblHeader3")->text(), QStringLiteral("H3"));
    QCOMPARE(list->numberStripWidth(), source->numberStripWidth());
    QCOMPARE(pixelOf(part(*list, "Stolpec3"), 78, 16 * 12), colorFromWindows(list->BorderColor));

    const FileResult missing = list->OpenFile(m_dir.filePath("missing.QEL"));
    QVERIFY(!missing.ok());
    QCOMPARE(list->ListCount(), 12);
}

void TestListFiles::protectedFilesAskThroughThePrompts() {
    auto source = makeList(3, 2);
    ScriptedPrompts prompts;
    prompts.newPassword = QStringLiteral("secret");
    source->setPasswordPrompts(&prompts);
    const QString path = m_dir.filePath("protected.QEL");
    QVERIFY(source->SaveFile(path, true).ok());
    QCOMPARE(prompts.calls, (QStringList{"ask", "saved"}));
    QVERIFY(source->iIsEncrypted());

    // A second protected save of the same document asks nothing.
    prompts.calls.clear();
    QVERIFY(source->SaveFile(path, true).ok());
    QVERIFY(prompts.calls.isEmpty());

    auto list = makeList(1, 1);
    list->setPasswordPrompts(&prompts);
    prompts.letIn(false);
    QCOMPARE(list->OpenFile(path).status, FileResult::Status::PasswordRefused);
    QCOMPARE(prompts.calls, (QStringList{"check:secret"}));
    QCOMPARE(list->ColumnCount(), 1);
    prompts.letIn(true);
    QVERIFY(list->OpenFile(path).ok());
    QCOMPARE(list->GetItem(3, 2), QStringLiteral("r3c2"));
    QVERIFY(list->iIsEncrypted());

    prompts.newPassword.reset();
    QCOMPARE(list->SaveFileAs(m_dir.filePath("other.QEL"), true).status,
             FileResult::Status::Cancelled);
    QVERIFY(!QFile::exists(m_dir.filePath("other.QEL")));
}

void TestListFiles::exportTalksThroughHostAndPlatform() {
    ScriptedPlatform platform;
    platform.setDocumentsFolder(m_dir.path());
    auto list = makeList(4, 2);
    list->table().setCellText(3, 1, QString());
    list->table().setCellText(3, 2, QString());
    RecordingHost host(list.get());
    list->setHost(&host);
    const FileResult outcome = list->exporttoexcel();
    QVERIFY2(outcome.ok(), qPrintable(outcome.reason));
    QVERIFY(QFile::exists(outcome.path));
    QCOMPARE(platform.openedUrls().size(), 1);
    QCOMPARE(platform.openedUrls().front().toLocalFile(), outcome.path);
    // The progress follows the rows that hold text.
    QCOMPARE(host.calls, (QStringList{"value:1", "value:2", "value:4"}));
    QVERIFY(platform.messageBoxes().isEmpty());
    list->setHost(nullptr);
}

void TestListFiles::importFillsTheTableAndRedraws() {
    ScriptedPlatform platform;
    platform.setDocumentsFolder(m_dir.path());
    const QString path = m_dir.filePath("sheet.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("a,b,c\nd,,f\ng,h,i\n");
    file.close();

    auto list = makeList(2, 2);
    RecordingHost host(list.get());
    list->setHost(&host);
    auto* column = part<RetainedSurface>(*list, "Stolpec1");
    const qint64 drawn = column->canvas().cacheKey();
    QVERIFY(list->importexcel(path, 3).ok());
    QCOMPARE(list->ListCount(), 3);
    QCOMPARE(list->GetItem(1, 1), QStringLiteral("a"));
    QCOMPARE(list->GetItem(2, 2), QStringLiteral("r2c2"));
    QCOMPARE(list->GetItem(3, 2), QStringLiteral("h"));
    QCOMPARE(list->table().cellAt(1, 3).Text.toString(), QStringLiteral("c"));
    QVERIFY(host.calls.contains("max:3"));
    QVERIFY(host.calls.contains("value:3"));
    QVERIFY(column->canvas().cacheKey() != drawn);
    QVERIFY(part(*list, "StolpecHide")->isVisible());
    QCOMPARE(part(*list, "StolpecHide")->y(), 3 * 16 + 1);

    // Unavailable at start-up: the message goes through the Platform, and nothing else.
    struct Unavailable final : public ListHost {
        QString excelStatus() const override { return QStringLiteral("NERADI"); }
    } unavailable;
    list->setHost(&unavailable);
    platform.answerMessageBox(MessageButton::Ok);
    QVERIFY(!list->exporttoexcel().ok());
    QCOMPARE(platform.messageBoxes().size(), 1);
    QCOMPARE(platform.messageBoxes().front().icon, MessageIcon::Critical);
    QCOMPARE(platform.messageBoxes().front().title, QStringLiteral("Brevant      Excel Error"));
    QVERIFY(platform.messageBoxes().front().text.endsWith(
        QStringLiteral(" failed to initialize Microsoft Excel when started ")));
    list->setHost(nullptr);
}

QTEST_MAIN(TestListFiles)
#include "tst_listfiles.moc"
