#include "LineCollector.h"
#include "qelfile/format/QelCellLine.h"
#include "qelfile/format/QelDecimal.h"
#include "qelfile/format/QelHeaderLine.h"
#include "qelfile/format/QelLineText.h"
#include "qelfile/read/LineSplitter.h"
#include "text/TextEncoding.h"

#include <QTest>

#include <algorithm>

namespace {

using Lines = QList<QByteArray>;

} // namespace

class TestQelLines : public QObject {
    Q_OBJECT
private slots:
    void splitting_data();
    void splitting();
    void stopping();
    void cellLine_data();
    void cellLine();
    void cellLinesOneAfterAnother();
    void cellLineFormat();
    void headerLine_data();
    void headerLine();
    void decimals_data();
    void decimals();
    void decodeLinesOfEveryLength();
};

void TestQelLines::splitting_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Lines>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << Lines{"a", "b"};
    QTest::newRow("lone cr") << QByteArray("a\rb\r") << Lines{"a", "b"};
    QTest::newRow("lone lf stays in the line") << QByteArray("a\nb\r\nc") << Lines{"a\nb", "c"};
    QTest::newRow("empty lines count") << QByteArray("\r\n\r\na\r\r\n") << Lines{"", "", "a", ""};
    QTest::newRow("last line without end") << QByteArray("a\r\nbc") << Lines{"a", "bc"};
    QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << Lines{"a", "", "b"};
    QTest::newRow("nothing") << QByteArray() << Lines{};
    QTest::newRow("overlong lines dropped") << QByteArray("0123456789ab\r\nok\r\n0123456789abc")
                                            << Lines{"<overlong>", "ok", "<overlong>"};
    QTest::newRow("longest kept line") << QByteArray("0123456789\r\n") << Lines{"0123456789"};
    QTest::newRow("nul and high bytes")
        << QByteArray("a\0b\xff\r\n", 6) << Lines{QByteArray("a\0b\xff", 4)};
}

// Every split of the bytes into blocks gives the same lines, so lines and CR LF pairs may
// straddle blocks.
void TestQelLines::splitting() {
    QFETCH(QByteArray, bytes);
    QFETCH(Lines, lines);
    for (qsizetype block = 1; block <= qMax<qsizetype>(bytes.size(), 1); ++block) {
        LineCollector collector;
        LineSplitter splitter(collector, 10);
        for (qsizetype at = 0; at < bytes.size(); at += block) {
            splitter.feed(QByteArrayView(bytes).sliced(at, qMin(block, bytes.size() - at)));
        }
        splitter.finish();
        QCOMPARE(collector.lines, lines);
    }
}

void TestQelLines::stopping() {
    LineCollector collector;
    collector.stopAfter = 2;
    LineSplitter splitter(collector);
    QVERIFY(!splitter.feed("a\r\nb\r\nc\r\n"));
    QVERIFY(!splitter.feed("d\r\n"));
    QVERIFY(!splitter.finish());
    QCOMPARE(collector.lines, (Lines{"a", "b"}));
}

void TestQelLines::cellLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");

    QTest::newRow("bold") << QByteArray("Ann#255#100#1#1") << true << QByteArray("Ann") << 255
                          << "100" << 1 << 1;
    QTest::newRow("text with #") << QByteArray("x#y#0#010#1#3") << true << QByteArray("x#y") << 0
                                 << "010" << 1 << 3;
    QTest::newRow("text of #s") << QByteArray("###-1#001#32#7") << true << QByteArray("##") << -1
                                << "001" << 32 << 7;
    QTest::newRow("any digit sets")
        << QByteArray("t#0#907#2#2") << true << QByteArray("t") << 0 << "101" << 2 << 2;
    QTest::newRow("empty text") << QByteArray("#5#000#1#1") << true << QByteArray() << 5 << "000"
                                << 1 << 1;
    QTest::newRow("largest values") << QByteArray("a#-2147483648#111#2147483647#2147483647") << true
                                    << QByteArray("a") << INT_MIN << "111" << INT_MAX << INT_MAX;
    QTest::newRow("leading zeros") << QByteArray("a#000000000000255#000#01#-0") << true
                                   << QByteArray("a") << 255 << "000" << 1 << 0;
    QTest::newRow("colour overflow") << QByteArray("a#2147483648#000#1#1") << false;
    QTest::newRow("row not a number") << QByteArray("a#0#000#1#x") << false;
    QTest::newRow("row empty") << QByteArray("a#0#000#1#") << false;
    QTest::newRow("row with blank") << QByteArray("a#0#000#1# 1") << false;
    QTest::newRow("column empty") << QByteArray("a#0#000##1") << false;
    QTest::newRow("flag letter") << QByteArray("a#0#0x0#1#1") << false;
    QTest::newRow("two flags") << QByteArray("a#0#00#1#1") << false;
    QTest::newRow("four flags") << QByteArray("a#0#0000#1#1") << false;
    QTest::newRow("three #") << QByteArray("0#000#1#1") << false;
    QTest::newRow("no #") << QByteArray("plain text") << false;
    QTest::newRow("only #s") << QByteArray("####") << false;
    QTest::newRow("nine-digit colour") << QByteArray("a#123456789#010#12#3") << true
                                       << QByteArray("a") << 123456789 << "010" << 12 << 3;
    QTest::newRow("ten-digit colour") << QByteArray("a#1234567890#010#12#3") << true
                                      << QByteArray("a") << 1234567890 << "010" << 12 << 3;
    QTest::newRow("three-digit column")
        << QByteArray("a#7#010#123#3") << true << QByteArray("a") << 7 << "010" << 123 << 3;
    QTest::newRow("negative column")
        << QByteArray("a#7#010#-1#3") << true << QByteArray("a") << 7 << "010" << -1 << 3;
    QTest::newRow("colour with blank") << QByteArray("a# 7#010#1#3") << false;
    QTest::newRow("colour empty") << QByteArray("a##010#1#3") << false;
    QTest::newRow("flags without #") << QByteArray("a#7x010#1#3") << false;
}

void TestQelLines::cellLine() {
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    QelCellLine parsed;
    QCOMPARE(parsed.parse(line), valid);
    const QelCellLine* cell = &parsed;
    if (!valid) {
        return;
    }
    QFETCH(QByteArray, text);
    QFETCH(int, color);
    QFETCH(QString, flags);
    QFETCH(int, column);
    QFETCH(int, row);
    QCOMPARE(cell->Text.toByteArray(), text);
    QCOMPARE(cell->Color, color);
    const QString got = QString(cell->Bold ? '1' : '0') + (cell->Underlined ? '1' : '0') +
                        (cell->Itallic ? '1' : '0');
    QCOMPARE(got, flags);
    QCOMPARE(cell->Column, column);
    QCOMPARE(cell->Row, row);
}

// A parser reused line after line takes the row of a line that ends as the last one did; every
// line must still read exactly as it reads on its own.
void TestQelLines::cellLinesOneAfterAnother() {
    QList<QByteArray> lines{"a#0#000#1#5",
                            "b#0#000#2#5",
                            "c#0#000#1#15",
                            "x#0#0a0#1#15",
                            "y#0#000#1#15",
                            "#5",
                            "z#0#000#1#15",
                            "a#0#000#1#-5",
                            "b#7#111#3#-5",
                            "c#0#000#1#5",
                            "junk#15",
                            "d#0#000#1#15",
                            "e#1#000#1#1234567",
                            "f#1#000#2#1234567",
                            "g#1#000#1#12345678",
                            "h#1#000#2#12345678",
                            "i#1#000#1#0000000015",
                            "j#1#000#1#15",
                            "k#1#000#1##15",
                            "l#1#000#1#x15",
                            "m#1#000#1#15",
                            "n#1#000#1#2147483648",
                            "o#1#000#1#2147483647",
                            "p#1#000#1#15"};
    for (int k = 0; k < 2; ++k) {
        QelCellLine reused;
        for (const QByteArray& line : lines) {
            QelCellLine alone;
            const bool valid = alone.parse(line);
            QCOMPARE(reused.parse(line), valid);
            if (valid) {
                QCOMPARE(reused.Text, alone.Text);
                QCOMPARE(reused.Row, alone.Row);
                QCOMPARE(reused.Column, alone.Column);
                QCOMPARE(reused.Color, alone.Color);
                QCOMPARE(reused.Bold, alone.Bold);
                QCOMPARE(reused.Underlined, alone.Underlined);
                QCOMPARE(reused.Itallic, alone.Itallic);
            }
        }
        std::reverse(lines.begin(), lines.end());
    }
}

void TestQelLines::cellLineFormat() {
    QByteArray out;
    const auto add = [&out](QStringView text, qint32 color, bool bold, bool underlined,
                            bool itallic, int column, int row) {
        const qsizetype start = out.size();
        out.resize(start + QelCellLine::maxSize(text));
        char* end = QelCellLine::write(out.data() + start, text, color, bold, underlined, itallic,
                                       column, row);
        out.resize(end - out.constData());
    };
    add(u"x#y", 0, false, true, false, 1, 3);
    add(u"\u0416\u00e9\u20AC\U0001F600", -16777216, true, false, true, 32, 500000);
    add(u"a\r\nb\rc\nd", INT_MIN, false, false, false, 2, 1);
    add(QStringView(u"\xD800z"), INT_MAX, false, false, false, 3, 2147483647);
    QCOMPARE(out,
             QByteArray("x#y#0#010#1#3\r\n"
                        "\xD0\x96\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80#-16777216#101#32#500000\r\n"
                        "a\nb\nc\nd#-2147483648#000#2#1\r\n"
                        "\xEF\xBF\xBDz#2147483647#000#3#2147483647\r\n"));
}

void TestQelLines::headerLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("widths");

    QTest::newRow("new table") << "\\\\1|#||A|220" << 1 << QStringList{"A"} << QList<int>{220};
    QTest::newRow("two columns") << "\\\\2|#||A|220||B|90" << 2 << QStringList{"A", "B"}
                                 << QList<int>{220, 90};
    QTest::newRow("caption with |")
        << "\\\\1|#||a|b|50" << 1 << QStringList{"a|b"} << QList<int>{50};
    QTest::newRow("definitions after the last marker")
        << "\\\\1|#||x|#||C|7" << 1 << QStringList{"C"} << QList<int>{7};
    QTest::newRow("backslashes not checked")
        << "ab3|#||A|1||B|2||C|3" << 3 << QStringList{"A", "B", "C"} << QList<int>{1, 2, 3};
    QTest::newRow("width not a number")
        << "\\\\2|#||A|wide||B" << 2 << QStringList{"A", "B"} << QList<int>{100, 100};
    QTest::newRow("negative width") << "\\\\1|#||A|-4" << 1 << QStringList{"A"} << QList<int>{100};
    QTest::newRow("no definitions") << "\\\\1|#||" << 1 << QStringList{} << QList<int>{};
    QTest::newRow("empty pieces") << "\\\\3|#||A|1||||" << 3 << QStringList{"A", "", ""}
                                  << QList<int>{1, 100, 100};
    QTest::newRow("no marker") << "\\\\1|A|220" << -1;
    QTest::newRow("count not a number") << "\\\\x|#||A|220" << -1;
    QTest::newRow("count empty") << "\\\\|#||A|220" << -1;
    QTest::newRow("no bar") << "\\\\1" << -1;
    QTest::newRow("bar first") << "||#||A|1" << -1;
}

void TestQelLines::headerLine() {
    QFETCH(QString, line);
    QFETCH(int, count);
    const auto header = QelHeaderLine::parse(line, 32);
    QCOMPARE(header.has_value(), count >= 0);
    if (!header) {
        return;
    }
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, widths);
    QCOMPARE(header->ColumnCount, count);
    QStringList gotCaptions;
    QList<int> gotWidths;
    for (const auto& column : header->Columns) {
        gotCaptions.append(column.Caption);
        gotWidths.append(column.Width);
    }
    QCOMPARE(gotCaptions, captions);
    QCOMPARE(gotWidths, widths);
}

void TestQelLines::decimals_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("value");
    QTest::newRow("zero") << QByteArray("0") << true << qint64(0);
    QTest::newRow("leading zeros") << QByteArray("007") << true << qint64(7);
    QTest::newRow("min") << QByteArray("-2147483648") << true << qint64(INT_MIN);
    QTest::newRow("max") << QByteArray("2147483647") << true << qint64(INT_MAX);
    QTest::newRow("above max") << QByteArray("2147483648") << false << qint64(0);
    QTest::newRow("below min") << QByteArray("-2147483649") << false << qint64(0);
    QTest::newRow("many digits") << QByteArray(5000, '9') << false << qint64(0);
    QTest::newRow("minus alone") << QByteArray("-") << false << qint64(0);
    QTest::newRow("plus") << QByteArray("+1") << false << qint64(0);
    QTest::newRow("empty") << QByteArray() << false << qint64(0);
}

void TestQelLines::decimals() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(qint64, value);
    const auto parsed = QelDecimal::parseInt32(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid) {
        QCOMPARE(*parsed, value);
        QByteArray formatted;
        QelDecimal::append(formatted, value);
        QCOMPARE(QelDecimal::parseInt32(formatted), parsed);
    }
}

// The line decoder widens ASCII a word at a time: every length, and a byte that is not ASCII
// at every position, must give what the full rule gives, with nothing written past the text.
void TestQelLines::decodeLinesOfEveryLength() {
    for (int length = 0; length <= 40; ++length) {
        for (int high = -1; high < length; ++high) {
            QByteArray bytes;
            for (int i = 0; i < length; ++i) {
                bytes.append(i == high ? '\xC8' : char('a' + i % 26));
            }
            const QString expected = TextEncoding::decodeUtf8OrWindows1250(bytes);
            std::vector<char16_t> out(size_t(length) + 8, u'~');
            const qsizetype written = QelLineText::decodeTo(out.data(), bytes);
            QCOMPARE(QStringView(out.data(), written), QStringView(expected));
            QCOMPARE(out[size_t(length)], u'~');
        }
    }
}

QTEST_APPLESS_MAIN(TestQelLines)
#include "tst_qellines.moc"
