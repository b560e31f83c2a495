#include "FolderTree.h"

#include "ui/search/FileNamePattern.h"
#include "ui/search/SearchFolder.h"
#include "ui/search/SearchListener.h"
#include "ui/search/SearchRunner.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <functional>

#include <sys/stat.h>

Q_DECLARE_METATYPE(SearchFolder::Outcome)

namespace {

/// Everything a search reported, as the window would show it.
struct Recorder final : SearchListener {
    QStringList paths;
    QStringList folders;
    QStringList statuses;
    qint64 fileNumber = 0;
    /// Called after each found file, on the searching thread.
    std::function<void(const QString&)> onFound;

    void examined(qint64 count) override { fileNumber += count; }
    void found(const QString& path, const QString& folder) override {
        paths.append(path);
        folders.append(folder);
        if (onFound) {
            onFound(path);
        }
    }
    void statusChanged(const QString& status) override { statuses.append(status); }
};

SearchFolder::Outcome search(Recorder& recorder, const QString& root,
                             const QString& pattern = QStringLiteral("*.QEL"),
                             const QString& status = QString()) {
    SearchFolder walk(recorder);
    return walk.run(root, pattern, status);
}

} // namespace

/// The recursive search over real folder trees: its order, its counters, what it matches and
/// what it never enters; and the same search on a worker thread.
class TestSearchFolder : public QObject {
    Q_OBJECT
private slots:
    void pattern_data();
    void pattern();
    void depthFirstInListingOrder();
    void matchesRegularFilesWithoutRegardToCase();
    void kwpdNamesAreSkipped_data();
    void kwpdNamesAreSkipped();
    void symbolicLinksAreNeverFollowed();
    void unreadableFoldersAreSkipped();
    void rootThatCannotBeListed_data();
    void rootThatCannotBeListed();
    void staysOnTheRootsFileSystem();
    void status_data();
    void status();
    void stopLeavesPendingFoldersUnsearched_data();
    void stopLeavesPendingFoldersUnsearched();
    void cancelEndsAtOnce();
    void workerThreadReportsTheSameInOrder();
    void runnerStopAndCancel();
};

void TestSearchFolder::pattern_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("same case") << "*.QEL" << QByteArray("db.QEL") << true;
    QTest::newRow("lower case") << "*.QEL" << QByteArray("x.qel") << true;
    QTest::newRow("mixed case") << "*.QEL" << QByteArray("Y.Qel") << true;
    QTest::newRow("nothing before the dot") << "*.QEL" << QByteArray(".QEL") << true;
    QTest::newRow("dots inside") << "*.QEL" << QByteArray("a.b.QEL") << true;
    QTest::newRow("extension inside") << "*.QEL" << QByteArray("x.qel.bak") << false;
    QTest::newRow("no dot") << "*.QEL" << QByteArray("xqel") << false;
    QTest::newRow("shorter extension") << "*.QEL" << QByteArray("x.QE") << false;
    QTest::newRow("non-ASCII name") << "*.QEL"
                                    << QByteArray("\xc4\x8d"
                                                  "a.QEL")
                                    << true;
    QTest::newRow("question mark takes one character")
        << "?.QEL" << QByteArray("\xc4\x8d.QEL") << true;
    QTest::newRow("question mark needs one") << "?.QEL" << QByteArray(".QEL") << false;
    QTest::newRow("star backtracks") << "*a*b" << QByteArray("xaxxab") << true;
    QTest::newRow("star backtracks, no match") << "*a*b" << QByteArray("xaxxa") << false;
    QTest::newRow("star alone") << "*" << QByteArray("") << true;
}

void TestSearchFolder::pattern() {
    QFETCH(QString, pattern);
    QFETCH(QByteArray, name);
    QFETCH(bool, matches);
    QCOMPARE(FileNamePattern(pattern).matches(std::string_view(name.constData(), name.size())),
             matches);
}

// Each folder is searched in full (its own matches first) before the next folder; subfolders
// in the order the folder lists them. Every entry of every searched folder counts, "." and
// ".." included.
void TestSearchFolder::depthFirstInListingOrder() {
    FolderTree tree({"top.QEL", "notes.txt", "alpha/a1.QEL", "alpha/beta/b1.QEL",
                     "alpha/beta/gamma/", "delta/d1.QEL", "delta/d2.QEL", "delta/epsilon/e.QEL",
                     "zeta/"});
    const QString root = tree.root() + u'/';
    // The order among siblings is the file system's; the test reads it from a listing.
    QStringList expected{root + "top.QEL"};
    for (const QString& name : listingOrder(root)) {
        if (name == u"alpha") {
            expected << root + "alpha/a1.QEL" << root + "alpha/beta/b1.QEL";
        } else if (name == u"delta") {
            for (const QString& file : listingOrder(root + "delta")) {
                if (file.endsWith(u".QEL")) {
                    expected << root + "delta/" + file;
                }
            }
            expected << root + "delta/epsilon/e.QEL";
        }
    }

    Recorder recorder;
    QCOMPARE(search(recorder, tree.root()), SearchFolder::Outcome::Done);
    QCOMPARE(recorder.paths, expected);
    // root 5 + alpha 2 + beta 2 + gamma 0 + delta 3 + epsilon 1 + zeta 0, and two dots each
    QCOMPARE(recorder.fileNumber, 13 + 7 * 2);
    QStringList folders;
    for (const QString& path : std::as_const(recorder.paths)) {
        folders << path.left(path.lastIndexOf(u'/') + 1);
    }
    QCOMPARE(recorder.folders, folders);
}

void TestSearchFolder::matchesRegularFilesWithoutRegardToCase() {
    FolderTree tree(
        {"x.qel", "Y.Qel", "z.QEL", "w.qel.txt", "qel", "d.QEL/inner.qel", "pipe.QEL|"});
    const QString root = tree.root() + u'/';
    Recorder recorder;
    QCOMPARE(search(recorder, tree.root()), SearchFolder::Outcome::Done);
    QStringList found = recorder.paths;
    found.sort();
    // A folder named like a database is entered, not listed; a pipe is no file to open.
    QCOMPARE(found, (QStringList{root + "Y.Qel", root + "d.QEL/inner.qel", root + "x.qel",
                                 root + "z.QEL"}));
}

void TestSearchFolder::kwpdNamesAreSkipped_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("last four characters, exact case")
        << "*" << QStringList{"dataKWPD", "datakwpd", "KWPDdata", "KWPD"}
        << QStringList{"KWPDdata", "datakwpd"};
    QTest::newRow("database files")
        << "*.QEL" << QStringList{"KWPD.QEL", "a.QELKWPD"} << QStringList{"KWPD.QEL"};
}

void TestSearchFolder::kwpdNamesAreSkipped() {
    QFETCH(QString, pattern);
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    FolderTree tree(files);
    Recorder recorder;
    search(recorder, tree.root(), pattern);
    QStringList names;
    for (const QString& path : std::as_const(recorder.paths)) {
        names << path.mid(path.lastIndexOf(u'/') + 1);
    }
    names.sort();
    QCOMPARE(names, listed);
    QCOMPARE(recorder.fileNumber, files.size() + 2);
}

void TestSearchFolder::symbolicLinksAreNeverFollowed() {
    FolderTree other({"o.QEL", "deeper/o2.QEL"});
    FolderTree tree({"a.QEL", "sub/s.QEL"});
    tree.add({"loop -> " + tree.root(), "sub/up -> ..", "other -> " + other.root(),
              "link.QEL -> " + tree.path("a.QEL"), "dangling.QEL -> " + tree.path("none")});
    const QString root = tree.root() + u'/';
    Recorder recorder;
    QCOMPARE(search(recorder, tree.root()), SearchFolder::Outcome::Done);
    QStringList found = recorder.paths;
    found.sort();
    QCOMPARE(found, (QStringList{root + "a.QEL", root + "sub/s.QEL"}));
    // The links are entries of their folders, examined but neither entered nor listed.
    QCOMPARE(recorder.fileNumber, (6 + 2) + (2 + 2));

    // The root itself is the user's choice: a link there is followed.
    FolderTree links({});
    links.add({"tree -> " + tree.root()});
    Recorder throughLink;
    QCOMPARE(search(throughLink, links.path("tree")), SearchFolder::Outcome::Done);
    QCOMPARE(throughLink.paths.size(), 2);
    QVERIFY(throughLink.paths.contains(links.path("tree/sub/s.QEL")));
}

void TestSearchFolder::unreadableFoldersAreSkipped() {
    FolderTree tree({"open/ok.QEL", "locked/hidden.QEL", "locked/inner/deep.QEL", "z.QEL"});
    QVERIFY(QFile::setPermissions(tree.path("locked"), QFileDevice::Permissions()));
    Recorder recorder;
    {
        const NoPermissionOverride closed;
        QCOMPARE(search(recorder, tree.root()), SearchFolder::Outcome::Done);
    }
    QFile::setPermissions(tree.path("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QStringList found = recorder.paths;
    found.sort();
    QCOMPARE(found, (QStringList{tree.path("open/ok.QEL"), tree.path("z.QEL")}));
    QCOMPARE(recorder.fileNumber, (3 + 2) + (1 + 2));
}

void TestSearchFolder::rootThatCannotBeListed_data() {
    QTest::addColumn<QString>("relativeRoot");
    QTest::newRow("missing") << "missing";
    QTest::newRow("a file") << "file.QEL";
    QTest::newRow("closed") << "closed";
    QTest::newRow("no root at all") << QString();
}

void TestSearchFolder::rootThatCannotBeListed() {
    QFETCH(QString, relativeRoot);
    FolderTree tree({"file.QEL", "closed/x.QEL"});
    QVERIFY(QFile::setPermissions(tree.path("closed"), QFileDevice::Permissions()));
    const QString root = relativeRoot.isNull() ? QString() : tree.path(relativeRoot);
    Recorder recorder;
    {
        const NoPermissionOverride closed;
        QCOMPARE(search(recorder, root, QStringLiteral("*.QEL"), QStringLiteral("Searching...")),
                 SearchFolder::Outcome::RootUnreadable);
    }
    QFile::setPermissions(tree.path("closed"),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::WriteOwner);
    QVERIFY(recorder.paths.isEmpty());
    QCOMPARE(recorder.fileNumber, 0);
    QVERIFY(recorder.statuses.isEmpty());
}

// /dev/shm is a file system of its own below /dev on Linux machines: searching /dev never
// reaches a file put there.
void TestSearchFolder::staysOnTheRootsFileSystem() {
    struct stat dev {};
    struct stat shm {};
    if (::stat("/dev", &dev) != 0 || ::stat("/dev/shm", &shm) != 0 || dev.st_dev == shm.st_dev) {
        QSKIP("no file system of its own mounted at /dev/shm");
    }
    QTemporaryFile file(QStringLiteral("/dev/shm/qelsearch-XXXXXX.QEL"));
    if (!file.open()) {
        QSKIP("/dev/shm cannot be written");
    }
    // Asking for the name gives the file one in its folder.
    const QString name = file.fileName();
    Recorder onShm;
    search(onShm, QStringLiteral("/dev/shm"));
    QVERIFY(onShm.paths.contains(name));
    Recorder onDev;
    search(onDev, QStringLiteral("/dev"));
    for (const QString& path : std::as_const(onDev.paths)) {
        QVERIFY2(!path.startsWith(u"/dev/shm/"), qPrintable(path));
    }
}

// Status: a folder without matches shows "Searching..." when the line is empty; each folder
// empties it when it and its subfolders are done.
void TestSearchFolder::status_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QStringList>("changes");
    QTest::newRow("listing: no match, then a match below")
        << QStringList{"sub/a.QEL"} << QString() << QStringList{"Searching...", ""};
    QTest::newRow("listing: a match at once") << QStringList{"a.QEL"} << QString() << QStringList{};
    QTest::newRow("find: line already set")
        << QStringList{"sub/a.QEL"} << "Searching..." << QStringList{""};
    QTest::newRow("emptied, then set again by the next folder without match")
        << QStringList{"a.QEL", "one/", "two/"} << QString()
        << QStringList{"Searching...", "", "Searching...", ""};
}

void TestSearchFolder::status() {
    QFETCH(QStringList, entries);
    QFETCH(QString, initial);
    QFETCH(QStringList, changes);
    FolderTree tree(entries);
    Recorder recorder;
    search(recorder, tree.root(), QStringLiteral("*.QEL"), initial);
    QCOMPARE(recorder.statuses, changes);
}

// Stop after a given file was found: the folder that found it finishes its own matches, the
// folders still pending are listed and counted but nothing in them is matched or entered.
void TestSearchFolder::stopLeavesPendingFoldersUnsearched_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("stopAt");
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<int>("fileNumber");

    QStringList deep;
    QString folder;
    for (int level = 1; level <= 30; ++level) {
        folder += QStringLiteral("d%1/").arg(level);
        deep << folder + "x.QEL";
    }
    QTest::newRow("deep chain") << deep << "d1/d2/d3/d4/d5/d6/d7/d8/d9/d10/x.QEL" << deep.mid(0, 10)
                                << (1 + 2) + 10 * (2 + 2) + (2 + 2);
    QTest::newRow("wide") << QStringList{"r.QEL",    "r2.QEL",     "p1/p.QEL", "p1/q/q.QEL",
                                         "p2/p.QEL", "p2/q/q.QEL", "p3/p.QEL", "p3/q/q.QEL"}
                          << "r.QEL" << QStringList{"r.QEL", "r2.QEL"} << (5 + 2) + 3 * (2 + 2);
}

void TestSearchFolder::stopLeavesPendingFoldersUnsearched() {
    QFETCH(QStringList, entries);
    QFETCH(QString, stopAt);
    QFETCH(QStringList, found);
    QFETCH(int, fileNumber);
    FolderTree tree(entries);
    Recorder recorder;
    SearchFolder walk(recorder);
    recorder.onFound = [&](const QString& path) {
        if (path == tree.path(stopAt)) {
            walk.stop();
        }
    };
    QCOMPARE(walk.run(tree.root(), QStringLiteral("*.QEL"), QString()),
             SearchFolder::Outcome::Done);
    QStringList relative;
    for (const QString& path : std::as_const(recorder.paths)) {
        relative << path.mid(tree.root().size() + 1);
    }
    relative.sort();
    found.sort();
    QCOMPARE(relative, found);
    QCOMPARE(recorder.fileNumber, fileNumber);
}

void TestSearchFolder::cancelEndsAtOnce() {
    FolderTree tree({"a/1.QEL", "a/2.QEL", "b/3.QEL", "b/4.QEL", "c/5.QEL", "c/6.QEL"});
    Recorder recorder;
    SearchFolder walk(recorder);
    recorder.onFound = [&](const QString&) { walk.cancel(); };
    QCOMPARE(walk.run(tree.root(), QStringLiteral("*.QEL"), QString()),
             SearchFolder::Outcome::Cancelled);
    // The folder that was matching finishes its matches; no other folder is listed.
    QCOMPARE(recorder.paths.size(), 2);
    QCOMPARE(recorder.folders[0], recorder.folders[1]);
    QCOMPARE(recorder.fileNumber, (3 + 2) + (2 + 2));
}

namespace {

// A tree of `folders` x `folders` folders with two database files each, as a list of entries.
QStringList grid(int folders) {
    QStringList entries;
    for (int i = 0; i < folders; ++i) {
        for (int j = 0; j < folders; ++j) {
            entries << QStringLiteral("f%1/g%2/a.QEL").arg(i).arg(j)
                    << QStringLiteral("f%1/g%2/b.qel").arg(i).arg(j);
        }
    }
    return entries;
}

} // namespace

void TestSearchFolder::workerThreadReportsTheSameInOrder() {
    FolderTree tree(grid(12));
    Recorder direct;
    search(direct, tree.root(), QStringLiteral("*.QEL"), QStringLiteral("Searching..."));

    SearchRunner runner;
    QStringList found;
    QStringList lastFolders;
    qint64 fileNumber = 0;
    QString status = QStringLiteral("Searching...");
    connect(&runner, &SearchRunner::filesFound, this,
            [&](const QStringList& paths, const QString& folder) {
                found += paths;
                lastFolders << folder;
            });
    connect(&runner, &SearchRunner::entriesExamined, this,
            [&](qint64 count) { fileNumber += count; });
    connect(&runner, &SearchRunner::statusUpdated, this, [&](const QString& s) { status = s; });
    QSignalSpy finished(&runner, &SearchRunner::finished);
    runner.start(tree.root(), QStringLiteral("*.QEL"), status);
    QVERIFY(runner.isRunning());
    QVERIFY(finished.wait(10000));
    QVERIFY(!runner.isRunning());
    QCOMPARE(finished.front().front().value<SearchFolder::Outcome>(), SearchFolder::Outcome::Done);
    QCOMPARE(found, direct.paths);
    QCOMPARE(found.size(), 288);
    QCOMPARE(lastFolders.back(), direct.folders.back());
    QCOMPARE(fileNumber, direct.fileNumber);
    QCOMPARE(status,
             direct.statuses.isEmpty() ? QStringLiteral("Searching...") : direct.statuses.back());
}

void TestSearchFolder::runnerStopAndCancel() {
    FolderTree tree(grid(12));
    Recorder direct;
    search(direct, tree.root());
    SearchRunner runner;
    QStringList found;
    connect(&runner, &SearchRunner::filesFound, this,
            [&](const QStringList& paths, const QString&) { found += paths; });
    QSignalSpy finished(&runner, &SearchRunner::finished);

    // Stopped: it still finishes and says so, with what it found up to then.
    runner.start(tree.root(), QStringLiteral("*.QEL"), QString());
    runner.stop();
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(found, direct.paths.mid(0, found.size()));

    // Cancelled: over when cancel() returns, and nothing more arrives.
    found.clear();
    finished.clear();
    runner.start(tree.root(), QStringLiteral("*.QEL"), QString());
    runner.cancel();
    QVERIFY(!runner.isRunning());
    QTest::qWait(50);
    QVERIFY(found.isEmpty());
    QVERIFY(finished.isEmpty());

    // A new start cancels the running search; only the new one reports.
    runner.start(tree.path("f1"), QStringLiteral("*.QEL"), QString());
    runner.start(tree.path("f2"), QStringLiteral("*.QEL"), QString());
    QVERIFY(finished.wait(10000));
    QTest::qWait(20);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(found.size(), 24);
    for (const QString& path : std::as_const(found)) {
        QVERIFY(path.startsWith(tree.path("f2/")));
    }
}

QTEST_GUILESS_MAIN(TestSearchFolder)
#include "tst_searchfolder.moc"
