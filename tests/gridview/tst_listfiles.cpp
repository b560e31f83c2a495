#include "ListFixture.h"

#include "PasswordPrompts.h"
#include "RetainedSurface.h"
#include "WindowsColor.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

namespace {

/// Password dialogs scripted by the test: they record what they were asked.
class ScriptedPrompts final : public PasswordPrompts {
public:
    bool checkPassword(const QString& stored) override {
        calls << QStringLiteral("check:") + stored;
        return letIn;
    }
    std::optional<QString> askNewPassword() override {
        calls << QStringLiteral("ask");
        return newPassword;
    }
    void announceSaved() override { calls << QStringLiteral("saved"); }

    QStringList calls;
    bool letIn = true;
    std::optional<QString> newPassword;
};

} // namespace

/// The grid's files: what passes through the password seam, and the redraw.
class TestListFiles : public QObject {
    Q_OBJECT
private slots:
    void saveAndOpenRedrawTheGrid();
    void protectedFilesAskThroughThePrompts();

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
    QVERIFY(!part(*list, "lblTxt1")->isVisible());
    QVERIFY(list->table().UndoStore().empty());
    // Drawn afresh: every column surface, header label and the two-digit number strip.
    QCOMPARE(part(*list, "Stolpec3")->geometry().left(), 162);
    QCOMPARE(part<QLabel>(*list, "lblHeader3")->text(), QStringLiteral("H3"));
    QCOMPARE(list->numberStripWidth(), source->numberStripWidth());
    QCOMPARE(pixelOf(part(*list, "Stolpec3"), 78, 16 * 12), colorFromWindows(list->BorderColor));

    const DatabaseFileResult missing = list->OpenFile(m_dir.filePath("missing.QEL"));
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
    prompts.letIn = false;
    QCOMPARE(list->OpenFile(path).outcome, DatabaseFileResult::Outcome::PasswordRefused);
    QCOMPARE(prompts.calls, (QStringList{"check:secret"}));
    QCOMPARE(list->ColumnCount(), 1);
    prompts.letIn = true;
    QVERIFY(list->OpenFile(path).ok());
    QCOMPARE(list->GetItem(3, 2), QStringLiteral("r3c2"));
    QVERIFY(list->iIsEncrypted());

    prompts.newPassword.reset();
    QCOMPARE(list->SaveFileAs(m_dir.filePath("other.QEL"), true).outcome,
             DatabaseFileResult::Outcome::Cancelled);
    QVERIFY(!QFile::exists(m_dir.filePath("other.QEL")));
}

QTEST_MAIN(TestListFiles)
#include "tst_listfiles.moc"
