#include "exchange/sheets/ZipArchive.h"
#include "exchange/sheets/ZipEntryDevice.h"

#include <QTest>
#include <QtEndian>

#include <zip.h>

#include <memory>
#include <random>

class TestZipEntryDevice : public QObject {
    Q_OBJECT
private slots:
    void readsWhatLibzipReads_data();
    void readsWhatLibzipReads();
    void damageEndsTheStream_data();
    void damageEndsTheStream();
    void budgetCutsTheStream_data();
    void budgetCutsTheStream();
};

namespace {

const char* const kEntry = "xl/worksheets/sheet1.xml";

// Text of random words: it deflates to more than one read of compressed bytes, and a byte
// changed anywhere in it shows.
QByteArray words(qsizetype size) {
    std::mt19937 random(5);
    QByteArray text;
    text.reserve(size);
    while (text.size() < size) {
        text += char('a' + random() % 26);
        if (random() % 6 == 0) {
            text += random() % 10 == 0 ? '\n' : ' ';
        }
    }
    text.truncate(size);
    return text;
}

// An archive of one entry holding `content`, written by libzip with `method`.
QByteArray archiveOf(const QByteArray& content, zip_int32_t method) {
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, nullptr);
    zip_source_t* source =
        zip_source_buffer(archive, content.constData(), zip_uint64_t(content.size()), 0);
    const zip_int64_t index = zip_file_add(archive, kEntry, source, 0);
    zip_set_file_compression(archive, zip_uint64_t(index), method, 0);
    zip_close(archive);
    QByteArray bytes;
    if (zip_source_open(target) == 0) {
        zip_source_seek(target, 0, SEEK_END);
        bytes.resize(qsizetype(zip_source_tell(target)));
        zip_source_seek(target, 0, SEEK_SET);
        zip_source_read(target, bytes.data(), zip_uint64_t(bytes.size()));
        zip_source_close(target);
    }
    zip_source_free(target);
    return bytes;
}

struct LibzipRead {
    QByteArray bytes;
    bool failed = false;
};

// The entry as zip_fread gives it, and whether libzip found it damaged.
LibzipRead readWithLibzip(const QByteArray& archiveBytes) {
    LibzipRead read;
    zip_source_t* source = zip_source_buffer_create(archiveBytes.constData(),
                                                    zip_uint64_t(archiveBytes.size()), 0, nullptr);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, nullptr);
    zip_file_t* file = archive ? zip_fopen(archive, kEntry, 0) : nullptr;
    if (!file) {
        read.failed = true;
    } else {
        char buffer[65536];
        zip_int64_t got = 0;
        while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
            read.bytes.append(buffer, qsizetype(got));
        }
        read.failed = got < 0;
        zip_fclose(file);
    }
    if (archive) {
        zip_discard(archive);
    } else {
        zip_source_free(source);
    }
    return read;
}

// Reads the device to its end, asking for `pieces` in turn, round and round.
QByteArray readInPieces(QIODevice& device, const QList<qint64>& pieces) {
    QByteArray bytes;
    for (qsizetype i = 0;; ++i) {
        const QByteArray piece = device.read(pieces[i % pieces.size()]);
        if (piece.isEmpty()) {
            return bytes;
        }
        bytes += piece;
    }
}

// Little-endian fields of the archive's one entry.
qsizetype centralEntry(const QByteArray& archive) {
    const qsizetype end = archive.lastIndexOf("PK\x05\x06");
    return qFromLittleEndian<quint32>(archive.constData() + end + 16);
}
qsizetype dataStart(const QByteArray& archive) {
    return 30 + qFromLittleEndian<quint16>(archive.constData() + 26) +
           qFromLittleEndian<quint16>(archive.constData() + 28);
}
void add32(QByteArray& archive, qsizetype at, qint64 change) {
    const quint32 value = qFromLittleEndian<quint32>(archive.constData() + at);
    qToLittleEndian<quint32>(quint32(value + change), archive.data() + at);
}

const QByteArray& content() {
    static const QByteArray text = words(600000);
    return text;
}

} // namespace

void TestZipEntryDevice::readsWhatLibzipReads_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("method");
    QTest::addColumn<bool>("alone");
    QTest::addColumn<QList<qint64>>("pieces");
    const QList<QList<qint64>> pieceSets{
        {1, 7, 4093}, {65536 + 3}, {262144}, {3, 300007}, {599999, 1, 1}};
    for (const auto& [way, method] :
         {std::pair{"deflated", ZIP_CM_DEFLATE}, std::pair{"stored", ZIP_CM_STORE}}) {
        for (const QList<qint64>& pieces : pieceSets) {
            QTest::addRow("%s, pieces from %lld", way, qlonglong(pieces[0]))
                << content() << int(method) << false << pieces;
        }
        QTest::addRow("%s, on a handle of its own", way)
            << content() << int(method) << true << QList<qint64>{4093};
        QTest::addRow("%s, a few bytes", way)
            << QByteArray("<row/>") << int(method) << false << QList<qint64>{1, 2};
        QTest::addRow("%s, one repeated byte", way)
            << QByteArray(1 << 20, 'x') << int(method) << false << QList<qint64>{262144};
    }
}

void TestZipEntryDevice::readsWhatLibzipReads() {
    QFETCH(QByteArray, content);
    QFETCH(int, method);
    QFETCH(bool, alone);
    QFETCH(QList<qint64>, pieces);
    const QByteArray archiveBytes = archiveOf(content, method);
    const std::unique_ptr<ZipArchive> archive = ZipArchive::openBytes(archiveBytes).object;
    QVERIFY(archive);
    const std::unique_ptr<ZipEntryDevice> device =
        alone ? archive->openEntryAlone(kEntry) : archive->openEntry(kEntry);
    QVERIFY(device);
    QCOMPARE(device->inflatesItself(), method == ZIP_CM_DEFLATE);

    const LibzipRead expected = readWithLibzip(archiveBytes);
    QVERIFY(!expected.failed);
    QCOMPARE(expected.bytes, content);
    QCOMPARE(readInPieces(*device, pieces), expected.bytes);
    QVERIFY(device->atEnd());
    QVERIFY(!device->damaged());
}

void TestZipEntryDevice::damageEndsTheStream_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<bool>("libzipNotices");
    for (const auto& [way, method] :
         {std::pair{"deflated", ZIP_CM_DEFLATE}, std::pair{"stored", ZIP_CM_STORE}}) {
        const QByteArray whole = archiveOf(content(), method);
        const qsizetype central = centralEntry(whole);
        const qsizetype data = dataStart(whole);
        const qsizetype dataSize = qFromLittleEndian<quint32>(whole.constData() + central + 20);
        for (const qsizetype at : {qsizetype(1), dataSize / 2, dataSize - 2}) {
            QByteArray damaged = whole;
            damaged[data + at] = char(damaged[data + at] ^ 0x10);
            QTest::addRow("%s, a data byte at %lld changed", way, qlonglong(at))
                << int(method) << damaged << true;
        }
        QByteArray wrongCrc = whole;
        add32(wrongCrc, central + 16, 1);
        QTest::addRow("%s, the checksum changed", way) << int(method) << wrongCrc << true;
        if (method == ZIP_CM_DEFLATE) {
            // libzip reads on past a size that does not match; the inflating here does not.
            for (const int change : {-1, 1}) {
                QByteArray wrongSize = whole;
                add32(wrongSize, central + 24, change);
                QTest::addRow("deflated, the size off by %d", change)
                    << int(method) << wrongSize << false;
            }
            QByteArray cut = whole;
            add32(cut, central + 20, -dataSize / 3);
            QTest::addRow("deflated, the compressed data cut short") << int(method) << cut << true;
        }
    }
}

void TestZipEntryDevice::damageEndsTheStream() {
    // As libzip does, the damage ends the stream; what came before it may have been read.
    QFETCH(int, method);
    QFETCH(QByteArray, archive);
    QFETCH(bool, libzipNotices);
    QCOMPARE(readWithLibzip(archive).failed, libzipNotices);
    const std::unique_ptr<ZipArchive> zip = ZipArchive::openBytes(archive).object;
    QVERIFY(zip);
    const std::unique_ptr<ZipEntryDevice> device = zip->openEntry(kEntry);
    QVERIFY(device);
    QCOMPARE(device->inflatesItself(), method == ZIP_CM_DEFLATE);
    const QByteArray read = readInPieces(*device, {65536});
    QVERIFY(device->atEnd());
    QVERIFY(device->damaged());
    if (method == ZIP_CM_DEFLATE) {
        // The read that meets the damage delivers nothing of it.
        QVERIFY(read != content());
    }
    QVERIFY(device->read(1).isEmpty());
}

void TestZipEntryDevice::budgetCutsTheStream_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<qint64>("before");
    QTest::addColumn<qint64>("budget");
    const qint64 size = content().size();
    for (const auto& [way, method] :
         {std::pair{"deflated", ZIP_CM_DEFLATE}, std::pair{"stored", ZIP_CM_STORE}}) {
        for (const auto& [before, budget] : {std::pair<qint64, qint64>{0, 0},
                                             {0, 1},
                                             {0, 70001},
                                             {0, size - 1},
                                             {0, size},
                                             {5000, 10},
                                             {300000, 0},
                                             {size - 10, 100},
                                             {size, 5}}) {
            QTest::addRow("%s, %lld after %lld", way, qlonglong(budget), qlonglong(before))
                << int(method) << before << budget;
        }
    }
}

void TestZipEntryDevice::budgetCutsTheStream() {
    QFETCH(int, method);
    QFETCH(qint64, before);
    QFETCH(qint64, budget);
    const std::unique_ptr<ZipArchive> archive =
        ZipArchive::openBytes(archiveOf(content(), method)).object;
    QVERIFY(archive);
    const std::unique_ptr<ZipEntryDevice> device = archive->openEntry(kEntry);
    QVERIFY(device);
    QByteArray read;
    while (read.size() < before) {
        read += device->read(qMin<qint64>(before - read.size(), 4093));
    }
    device->setBudget(budget);
    read += readInPieces(*device, {4093, 65536});
    QCOMPARE(read, content().left(before + budget));
    QVERIFY(device->atEnd());
    QVERIFY(!device->damaged());
}

QTEST_GUILESS_MAIN(TestZipEntryDevice)
#include "tst_zipentrydevice.moc"
