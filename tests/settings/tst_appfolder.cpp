#include "settings/AppFolder.h"
#include "settings/FileChecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestAppFolder : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void paths();
    void chooseRoot_data();
    void chooseRoot();
    void resolveTakesTheWritableExecutableFolder();
    void ensureFoldersCreatesTheTree();
    void ensureFoldersSkipsWhatCannotBeCreated();
    void emptyTempFolderDeletesFilesOnly();
    void emptyTempFolderLeavesALinkedTempAlone();
    void fileChecks_data();
    void fileChecks();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAppFolder::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAppFolder::cleanup() {
    // A read-only folder left by a failed test must not stop the clean-up.
    QFile::setPermissions(path("readonly"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir.reset();
}

void TestAppFolder::paths() {
    const AppFolder folder(QStringLiteral("/data/qel"));
    QCOMPARE(folder.root(), QStringLiteral("/data/qel"));
    QCOMPARE(folder.systemFolder(), QStringLiteral("/data/qel/System"));
    QCOMPARE(folder.tempFolder(), QStringLiteral("/data/qel/System/Temp"));
    QCOMPARE(folder.soundFolder(), QStringLiteral("/data/qel/System/Sound"));
    QCOMPARE(folder.qelFolder(), QStringLiteral("/data/qel/System/Qel"));
    QCOMPARE(folder.settingsFile(), QStringLiteral("/data/qel/System/0.dat"));
}

void TestAppFolder::chooseRoot_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<bool>("takesExecutable");

    QTest::newRow("writable folder") << "exe"
                                     << "/home/u/.local/share/qel2005" << true;
    QTest::newRow("missing folder") << "missing"
                                    << "/home/u/.local/share/qel2005" << false;
    QTest::newRow("a file, not a folder") << "file"
                                          << "/home/u/.local/share/qel2005" << false;
    QTest::newRow("read-only folder") << "readonly"
                                      << "/home/u/.local/share/qel2005" << false;
    QTest::newRow("no fallback known") << "missing"
                                       << "" << true;
}

void TestAppFolder::chooseRoot() {
    QFETCH(QString, executable);
    QFETCH(QString, fallback);
    QFETCH(bool, takesExecutable);
    QVERIFY(QDir(m_dir->path()).mkdir("exe"));
    writeFile(path("file"));
    QVERIFY(QDir(m_dir->path()).mkdir("readonly"));
    QVERIFY(QFile::setPermissions(path("readonly"), QFile::ReadOwner | QFile::ExeOwner));
    if (executable == "readonly" && geteuid() == 0) {
        QSKIP("permissions do not bind root");
    }
    QCOMPARE(AppFolder::chooseRoot(path(executable), fallback),
             takesExecutable ? path(executable) : fallback);
}

void TestAppFolder::resolveTakesTheWritableExecutableFolder() {
    // The tests run from their build folder, writable unless another user built it.
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(executableFolder).isWritable()) {
        QCOMPARE(AppFolder::resolve().root(), executableFolder);
    } else {
        // ~/.local/share/qel2005, whatever the organisation
        QCOMPARE(AppFolder::resolve().root(),
                 QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                     QStringLiteral("/qel2005"));
    }
}

void TestAppFolder::ensureFoldersCreatesTheTree() {
    // The per-user data folder may not exist yet on a first start.
    const AppFolder folder(path("share/qel2005"));
    folder.EnsureFolders();
    for (const QString& created :
         {folder.systemFolder(), folder.tempFolder(), folder.soundFolder(), folder.qelFolder()}) {
        QVERIFY2(QFileInfo(created).isDir(), qPrintable(created));
    }
    // Existing folders and what they hold are kept.
    writeFile(folder.qelFolder() + "/a.QEL");
    folder.EnsureFolders();
    QCOMPARE(entriesOf(folder.qelFolder()), QStringList{"a.QEL"});
    QCOMPARE(entriesOf(folder.systemFolder()), (QStringList{"Qel", "Sound", "Temp"}));
}

void TestAppFolder::ensureFoldersSkipsWhatCannotBeCreated() {
    const AppFolder folder(m_dir->path());
    QVERIFY(QDir(m_dir->path()).mkdir("System"));
    writeFile(folder.soundFolder(), "not a folder");
    folder.EnsureFolders();
    QVERIFY(QFileInfo(folder.tempFolder()).isDir());
    QVERIFY(QFileInfo(folder.soundFolder()).isFile());
    QVERIFY(QFileInfo(folder.qelFolder()).isDir());
}

void TestAppFolder::emptyTempFolderDeletesFilesOnly() {
    const AppFolder folder(path("app"));
    folder.EnsureFolders();
    const QString temp = folder.tempFolder();
    writeFile(temp + "/Temp.tmp", "ERROR");
    writeFile(temp + "/.hidden");
    QVERIFY(QDir(temp).mkdir("sub"));
    writeFile(temp + "/sub/kept");
    QVERIFY(QDir(m_dir->path()).mkdir("outside"));
    writeFile(path("outside/target"), "keep me");
    QVERIFY(QFile::link(path("outside/target"), temp + "/linkToFile"));
    QVERIFY(QFile::link(path("outside"), temp + "/linkToFolder"));
    QVERIFY(QFile::link(path("nowhere"), temp + "/dangling"));

    folder.EmptyTempFolder();

    QCOMPARE(entriesOf(temp), QStringList{"sub"});
    QCOMPARE(entriesOf(temp + "/sub"), QStringList{"kept"});
    QCOMPARE(entriesOf(path("outside")), QStringList{"target"});
    QFile target(path("outside/target"));
    QVERIFY(target.open(QIODevice::ReadOnly));
    QCOMPARE(target.readAll(), QByteArray("keep me"));
}

void TestAppFolder::emptyTempFolderLeavesALinkedTempAlone() {
    const AppFolder folder(path("app"));
    QVERIFY(QDir().mkpath(folder.systemFolder()));
    QVERIFY(QDir(m_dir->path()).mkdir("elsewhere"));
    writeFile(path("elsewhere/precious"));
    QVERIFY(QFile::link(path("elsewhere"), folder.tempFolder()));
    folder.EmptyTempFolder();
    QCOMPARE(entriesOf(path("elsewhere")), QStringList{"precious"});

    // Nothing to empty is no error either.
    AppFolder(path("none")).EmptyTempFolder();
}

void TestAppFolder::fileChecks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("folderExists");

    QTest::newRow("file") << "a.QEL" << true << false;
    QTest::newRow("folder") << "folder" << true << true;
    QTest::newRow("empty folder, trailing slash") << "empty/" << true << true;
    QTest::newRow("link to a folder") << "folderLink" << true << true;
    QTest::newRow("missing") << "b.QEL" << false << false;
    QTest::newRow("dangling link") << "dangling" << false << false;
    QTest::newRow("wildcards are literal") << "*.QEL" << false << false;
    QTest::newRow("file used as a folder") << "a.QEL/" << false << false;
    QTest::newRow("empty path") << "" << false << false;
}

void TestAppFolder::fileChecks() {
    QFETCH(QString, name);
    QFETCH(bool, fileExists);
    QFETCH(bool, folderExists);
    writeFile(path("a.QEL"));
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    QVERIFY(QDir(m_dir->path()).mkdir("empty"));
    writeFile(path("folder/inside"));
    QVERIFY(QFile::link(path("folder"), path("folderLink")));
    QVERIFY(QFile::link(path("nowhere"), path("dangling")));
    const QString full = name.isEmpty() ? QString() : m_dir->path() + "/" + name;
    QCOMPARE(General::FileExists(full), fileExists);
    QCOMPARE(General::FolderExists(full), folderExists);
}

QTEST_GUILESS_MAIN(TestAppFolder)
#include "tst_appfolder.moc"
