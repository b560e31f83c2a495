#include "LineCollector.h"
#include "qelfile/format/QelChunkWriter.h"
#include "qelfile/format/QelScrambler.h"
#include "qelfile/read/LineSplitter.h"
#include "qelfile/read/QelChunkReader.h"

#include <QBuffer>
#include <QTest>

namespace {

constexpr qint64 kChunk = 1048576;

// The scrambling as a stored file describes it, byte by byte: chunks of 1 MiB while more than
// one chunk and one byte remain, bytes numbered from 1 in each chunk, byte k XOR-ed with key
// character (k mod 11) + 1.
QByteArray referenceScramble(QByteArray bytes) {
    const char key[] = "kq#47@tmRVp";
    qint64 start = 0;
    for (qint64 remaining = bytes.size(); remaining > 0;) {
        const qint64 chunk = remaining - 1 > kChunk ? kChunk : remaining;
        for (qint64 k = 1; k <= chunk; ++k) {
            bytes[start + k - 1] = char(bytes[start + k - 1] ^ key[k % 11]);
        }
        start += chunk;
        remaining -= chunk;
    }
    return bytes;
}

QByteArray patternBytes(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i) {
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    }
    return bytes;
}

// Writes the bytes through a chunk writer, `block` bytes at a time.
QByteArray writeThrough(const QByteArray& bytes, bool scrambled, qint64 block) {
    QBuffer device;
    device.open(QIODevice::WriteOnly);
    QelChunkWriter writer(device, scrambled);
    for (qint64 at = 0; at < bytes.size(); at += block) {
        writer.append(QByteArrayView(bytes).sliced(at, qMin(block, bytes.size() - at)));
        writer.flushFullChunks();
    }
    writer.finish();
    return device.data();
}

} // namespace

class TestQelScrambling : public QObject {
    Q_OBJECT
private slots:
    void chunkSizes_data();
    void chunkSizes();
    void boundaryBytes();
    void writerMatchesReference_data();
    void writerMatchesReference();
    void readerUnscramblesBack_data();
    void readerUnscramblesBack();
    void recognisesOnlyTheMark();
};

void TestQelScrambling::chunkSizes_data() {
    QTest::addColumn<qint64>("remaining");
    QTest::addColumn<qint64>("chunk");
    QTest::newRow("one byte") << qint64(1) << qint64(1);
    QTest::newRow("one chunk") << kChunk << kChunk;
    QTest::newRow("one chunk and one byte") << kChunk + 1 << kChunk + 1;
    QTest::newRow("one chunk and two bytes") << kChunk + 2 << kChunk;
    QTest::newRow("far more") << 10 * kChunk << kChunk;
}

void TestQelScrambling::chunkSizes() {
    QFETCH(qint64, remaining);
    QFETCH(qint64, chunk);
    QCOMPARE(QelScrambler::nextChunkSize(remaining), chunk);
}

// The bytes where the chunking shows: a file of 1,048,577 bytes is one chunk, so its last byte
// takes key character 3; one of 1,048,578 bytes ends with a chunk of two bytes whose first
// byte takes key character 2 again.
void TestQelScrambling::boundaryBytes() {
    const QByteArray zeros577(kChunk + 1, '\0');
    const QByteArray one = writeThrough(zeros577, true, 4096);
    QCOMPARE(one.size(), kChunk + 1);
    QCOMPARE(one.first(3), QByteArray("q#4"));
    QCOMPARE(one.at(10), 'k');
    QCOMPARE(one.at(kChunk - 1), 'q'); // byte 1,048,576: 1,048,576 mod 11 = 1
    QCOMPARE(one.at(kChunk), '#');     // byte 1,048,577 of the same chunk

    const QByteArray zeros578(kChunk + 2, '\0');
    const QByteArray two = writeThrough(zeros578, true, 4096);
    QCOMPARE(two.at(kChunk - 1), 'q');
    QCOMPARE(two.at(kChunk), 'q');     // first byte of the last chunk
    QCOMPARE(two.at(kChunk + 1), '#'); // its second byte
}

void TestQelScrambling::writerMatchesReference_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("block");
    for (const qint64 size : {qint64(0), qint64(1), qint64(11), qint64(12), kChunk - 1, kChunk,
                              kChunk + 1, kChunk + 2, 2 * kChunk, 2 * kChunk + 1, 3 * kChunk + 5}) {
        QTest::addRow("%lld bytes in small blocks", size) << size << qint64(1000);
    }
    QTest::newRow("2 MiB + 1 in one block") << 2 * kChunk + 1 << 2 * kChunk + 1;
    QTest::newRow("2 MiB + 1 in blocks of one chunk") << 2 * kChunk + 1 << kChunk;
}

// Whatever blocks the bytes arrive in, the writer scrambles as the whole-file rule does.
void TestQelScrambling::writerMatchesReference() {
    QFETCH(qint64, size);
    QFETCH(qint64, block);
    const QByteArray plain = patternBytes(size);
    QCOMPARE(writeThrough(plain, true, block), referenceScramble(plain));
    QCOMPARE(writeThrough(plain, false, block), plain);
}

void TestQelScrambling::readerUnscramblesBack_data() {
    QTest::addColumn<qint64>("lines");
    // Lines of 10 bytes with CR LF: the sizes put a chunk border inside a line, between CR and
    // LF, and make the last chunk one chunk and one byte long.
    QTest::newRow("small") << qint64(3);
    QTest::newRow("border between CR and LF") << qint64(kChunk / 12 + 1);
    QTest::newRow("two chunks") << qint64(2 * kChunk / 12 + 7);
}

void TestQelScrambling::readerUnscramblesBack() {
    QFETCH(qint64, lines);
    QByteArray plain("#@#\r\n");
    QList<QByteArray> expected{"#@#"};
    for (qint64 i = 0; i < lines; ++i) {
        const QByteArray line = QByteArray::number(1000000000 + i);
        plain += line + "\r\n";
        expected.append(line);
    }
    QBuffer device;
    device.setData(referenceScramble(plain));
    device.open(QIODevice::ReadOnly);
    LineCollector collector;
    LineSplitter splitter(collector);
    const auto outcome = QelChunkReader::read(device, device.size(), splitter);
    QVERIFY(outcome.scrambled);
    QVERIFY(outcome.error.isEmpty());
    QCOMPARE(collector.lines, expected);
}

void TestQelScrambling::recognisesOnlyTheMark() {
    QVERIFY(QelScrambler::hasScrambledMark(referenceScramble("#@#\r\n")));
    QVERIFY(QelScrambler::hasScrambledMark(QByteArray("Rc\x17")));
    QVERIFY(!QelScrambler::hasScrambledMark(QByteArray("Rc")));
    QVERIFY(!QelScrambler::hasScrambledMark(QByteArray("#@#")));
    QVERIFY(!QelScrambler::hasScrambledMark(referenceScramble("\\\\1|#||A|220")));
}

QTEST_APPLESS_MAIN(TestQelScrambling)
#include "tst_qelscrambling.moc"
