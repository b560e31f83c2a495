#include "platform/CpuInfo.h"
#include "platform/FileDialogFilter.h"
#include "platform/LocalDrives.h"
#include "platform/QtPlatform.h"

#include <QTest>

class TestSystemFacts : public QObject {
    Q_OBJECT
private slots:
    void processorSpeed_data();
    void processorSpeed();
    void fileSystemTypes_data();
    void fileSystemTypes();
    void drivesStartWithRoot();
    void nameFilters_data();
    void nameFilters();
};

void TestSystemFacts::processorSpeed_data() {
    QTest::addColumn<QByteArray>("cpuInfo");
    QTest::addColumn<int>("mhz");
    QTest::newRow("x86") << QByteArray("processor\t: 0\nvendor_id\t: GenuineIntel\n"
                                       "cpu MHz\t\t: 2399.998\ncache size\t: 8192 KB\n\n")
                         << 2400;
    QTest::newRow("first processor counts")
        << QByteArray("processor\t: 0\ncpu MHz\t\t: 1800.4\n\nprocessor\t: 1\ncpu MHz\t\t: 3000\n")
        << 1800;
    QTest::newRow("rounded") << QByteArray("cpu MHz : 1000.5\n") << 1001;
    QTest::newRow("no speed (arm)") << QByteArray("processor\t: 0\nBogoMIPS\t: 50.00\n\n") << 0;
    QTest::newRow("only a later processor says")
        << QByteArray("processor\t: 0\n\nprocessor\t: 1\ncpu MHz\t: 2000\n") << 0;
    QTest::newRow("not a number") << QByteArray("cpu MHz\t: fast\n") << 0;
    QTest::newRow("absurd") << QByteArray("cpu MHz\t: 1e300\n") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("similar key") << QByteArray("cpu MHz dynamic : 1200\ncpu MHz : 900\n") << 900;
}

void TestSystemFacts::processorSpeed() {
    QFETCH(QByteArray, cpuInfo);
    QFETCH(int, mhz);
    QCOMPARE(processorMHzFromCpuInfo(cpuInfo), mhz);
}

void TestSystemFacts::fileSystemTypes_data() {
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("local");
    for (const char* type : {"ext4", "btrfs", "xfs", "vfat", "exfat", "ntfs3", "overlay"}) {
        QTest::newRow(type) << QByteArray(type) << true;
    }
    for (const char* type : {"proc", "sysfs", "tmpfs", "devtmpfs", "cgroup2", "squashfs", "nfs4",
                             "cifs", "fuse.sshfs"}) {
        QTest::newRow(type) << QByteArray(type) << false;
    }
}

void TestSystemFacts::fileSystemTypes() {
    QFETCH(QByteArray, type);
    QFETCH(bool, local);
    QCOMPARE(isLocalFileSystemType(type), local);
}

void TestSystemFacts::drivesStartWithRoot() {
    QStringList drives = QtPlatform().drives();
    QVERIFY(!drives.isEmpty());
    QCOMPARE(drives.first(), QStringLiteral("/"));
    QCOMPARE(drives.removeDuplicates(), 0);
    for (const QString& drive : drives) {
        QVERIFY2(QFileInfo(drive).isDir(), qPrintable(drive));
    }
}

void TestSystemFacts::nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("database") << "Qel Database (*.QEL)|*.QEL|"
                              << QStringList{"Qel Database (*.QEL)"};
    QTest::newRow("description only lists every file")
        << "All data, excel,text files(*.xl;*.xls;*.xlt;*.xla;*.xls;*.htm;*.html;*.prn;*.txt;)"
        << QStringList{"All data, excel,text files(*.xl;*.xls;*.xlt;*.xla;*.xls;*.htm;*.html;"
                       "*.prn;*.txt;) (*)"};
    QTest::newRow("several patterns and pairs")
        << "Text (*.txt;*.prn)|*.txt;*.prn|All|*.*"
        << QStringList{"Text (*.txt;*.prn) (*.txt *.prn)", "All (*.*)"};
    QTest::newRow("empty") << "" << QStringList{"*"};
}

void TestSystemFacts::nameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(qtNameFilters(filter), expected);
}

QTEST_MAIN(TestSystemFacts)
#include "tst_systemfacts.moc"
