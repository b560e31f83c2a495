#include "exchange/sheets/Crc32.h"

#include <QTest>

#include <zlib.h>

#include <random>

class TestCrc32 : public QObject {
    Q_OBJECT
private slots:
    void knownValue();
    void matchesZlib_data();
    void matchesZlib();
    void continuesOverPieces_data();
    void continuesOverPieces();
};

namespace {

// Bytes with no pattern a folding slip could hide behind.
QByteArray noise(qsizetype size, unsigned seed = 1) {
    std::mt19937 random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) {
        byte = char(random());
    }
    return bytes;
}

quint32 zlibCrc(quint32 crc, const char* bytes, qsizetype size) {
    return quint32(crc32_z(crc, reinterpret_cast<const Bytef*>(bytes), size_t(size)));
}

using Crc = quint32 (*)(quint32, const char*, std::size_t);

Crc crcUnderTest(bool portable) {
    return portable ? &crc32Portable : &crc32Update;
}

} // namespace

void TestCrc32::knownValue() {
    QCOMPARE(crc32Update(0, "123456789", 9), quint32(0xCBF43926));
    QCOMPARE(crc32Portable(0, "123456789", 9), quint32(0xCBF43926));
#if defined(__x86_64__)
    // Every x86-64 machine we build on folds; one that did not would leave the folding untested.
    QVERIFY(crc32Folds());
#endif
}

void TestCrc32::matchesZlib_data() {
    QTest::addColumn<bool>("portable");
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<qsizetype>("offset");
    QTest::addColumn<quint32>("initial");
    for (const bool portable : {false, true}) {
        for (const qsizetype size :
             {0, 1, 15, 16, 17, 63, 64, 65, 79, 80, 127, 128, 129, 191, 1000, 4096, 65536 + 7}) {
            for (const qsizetype offset : {0, 1, 3, 8, 15}) {
                QTest::addRow("%s, %lld bytes at +%lld", portable ? "portable" : "fast",
                              qlonglong(size), qlonglong(offset))
                    << portable << size << offset << quint32(0);
            }
        }
        // A running value other than the start reaches every lane of the fold.
        QTest::addRow("%s, continuing a running value", portable ? "portable" : "fast")
            << portable << qsizetype(1000) << qsizetype(5) << quint32(0x9E3779B9);
        QTest::addRow("%s, continuing all ones", portable ? "portable" : "fast")
            << portable << qsizetype(256) << qsizetype(0) << quint32(0xFFFFFFFF);
    }
}

void TestCrc32::matchesZlib() {
    QFETCH(bool, portable);
    QFETCH(qsizetype, size);
    QFETCH(qsizetype, offset);
    QFETCH(quint32, initial);
    const QByteArray bytes = noise(offset + size);
    const char* start = bytes.constData() + offset;
    QCOMPARE(crcUnderTest(portable)(initial, start, std::size_t(size)),
             zlibCrc(initial, start, size));
}

void TestCrc32::continuesOverPieces_data() {
    QTest::addColumn<bool>("portable");
    QTest::addColumn<QList<qsizetype>>("pieces");
    for (const bool portable : {false, true}) {
        const char* way = portable ? "portable" : "fast";
        QTest::addRow("%s, short then long", way) << portable << QList<qsizetype>{1, 15, 64, 1000};
        QTest::addRow("%s, long then short", way) << portable << QList<qsizetype>{1000, 3, 64, 17};
        QTest::addRow("%s, just past the fold", way)
            << portable << QList<qsizetype>{65, 65, 65, 65, 129};
        QTest::addRow("%s, odd primes", way) << portable << QList<qsizetype>{7, 131, 4099, 61, 97};
        QTest::addRow("%s, empty pieces between", way)
            << portable << QList<qsizetype>{0, 200, 0, 0, 333, 0};
    }
}

void TestCrc32::continuesOverPieces() {
    QFETCH(bool, portable);
    QFETCH(QList<qsizetype>, pieces);
    qsizetype total = 0;
    for (const qsizetype piece : pieces) {
        total += piece;
    }
    const QByteArray bytes = noise(total, 7);
    quint32 crc = 0;
    qsizetype at = 0;
    for (const qsizetype piece : pieces) {
        crc = crcUnderTest(portable)(crc, bytes.constData() + at, std::size_t(piece));
        at += piece;
    }
    QCOMPARE(crc, zlibCrc(0, bytes.constData(), bytes.size()));
}

QTEST_GUILESS_MAIN(TestCrc32)
#include "tst_crc32.moc"
