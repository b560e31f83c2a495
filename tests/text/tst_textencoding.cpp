#include "text/TextEncoding.h"

#include <QTest>

class TestTextEncoding : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
};

void TestTextEncoding::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ascii") << QByteArray("Ann#255#100#1#1") << QStringLiteral("Ann#255#100#1#1");
    QTest::newRow("utf-8 latin") << QByteArray("\xC4\x8D\x65\x73\x6B\xC3\xBD")
                                 << QStringLiteral("\u010Desk\u00FD");
    QTest::newRow("utf-8 cyrillic")
        << QByteArray("\xD0\x96\xD0\xB8") << QStringLiteral("\u0416\u0438");
    QTest::newRow("utf-8 astral") << QByteArray("\xF0\x9F\x98\x80") << QStringLiteral("\U0001F600");
    // "Čeština" and "Łódź" as Windows wrote them.
    QTest::newRow("windows-1250") << QByteArray("\xC8\x65\x9A\x74\x69\x6E\x61")
                                  << QStringLiteral("\u010Ce\u0161tina");
    QTest::newRow("windows-1250 polish")
        << QByteArray("\xA3\xF3\x64\x9F") << QStringLiteral("\u0141\u00F3d\u017A");
    QTest::newRow("undefined byte") << QByteArray("a\x81z") << QStringLiteral("a\u0081z");
    QTest::newRow("truncated utf-8 sequence") << QByteArray("ab\xC4") << QStringLiteral("ab\u00C4");
    QTest::newRow("overlong utf-8") << QByteArray("\xC0\xAF") << QStringLiteral("\u0154\u017B");
    QTest::newRow("utf-8 surrogate")
        << QByteArray("\xED\xA0\x80") << QStringLiteral("\u00ED\u00A0\u20AC");
}

void TestTextEncoding::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(TextEncoding::decodeUtf8OrWindows1250(bytes), expected);
}

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
