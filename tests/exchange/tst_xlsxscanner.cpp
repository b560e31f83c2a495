#include "SpreadsheetFixtures.h"
#include "exchange/sheets/ReadAheadStream.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxSharedStrings.h"
#include "exchange/sheets/XlsxSheetParser.h"
#include "exchange/sheets/XlsxStyles.h"

#include <QBuffer>
#include <QTest>

#include <atomic>
#include <memory>
#include <random>
#include <stdexcept>

using namespace SpreadsheetFixtures;

class TestXlsxScanner : public QObject {
    Q_OBJECT
private slots:
    void readsXmlAsAParserDoes_data();
    void readsXmlAsAParserDoes();
    void chunkBoundariesFallAnywhere();
    void textsOfEveryLengthReadWhole_data();
    void textsOfEveryLengthReadWhole();
    void cellShapesReadTheSameEitherWay_data();
    void cellShapesReadTheSameEitherWay();
    void sharedStringIndicesAsWritten_data();
    void sharedStringIndicesAsWritten();
    void truncatedPartsKeepWholeCells();
    void malformedXmlEndsTheSheet_data();
    void malformedXmlEndsTheSheet();
    void textCutAtACellsLengthKeepsPairsWhole();
    void readingFailureReachesTheReader();
    void readAheadStaysBoundedAndEnds();
    void streamsSharingAThreadReadInOrder();
    void sharingStreamsStayBoundedAndEnd();
    void sharedStringsOfEveryShapeStayPut_data();
    void sharedStringsOfEveryShapeStayPut();
};

namespace {

/// Hands out its bytes at most `step` at a time, so every chunk boundary the reading thread
/// passes on falls where the test wants it; throws once `throwAt` bytes are read, when set.
class TrickleDevice final : public QIODevice {
public:
    TrickleDevice(QByteArray bytes, qsizetype step, qsizetype throwAt = -1,
                  std::atomic<int>* reads = nullptr, bool* destroyed = nullptr)
        : m_bytes(std::move(bytes)), m_step(step), m_throwAt(throwAt), m_reads(reads),
          m_destroyed(destroyed) {
        open(QIODevice::ReadOnly);
    }
    ~TrickleDevice() override {
        if (m_destroyed) {
            *m_destroyed = true;
        }
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_reads) {
            ++*m_reads;
        }
        if (m_throwAt >= 0 && m_pos >= m_throwAt) {
            throw std::runtime_error("the device failed");
        }
        // An empty byte array stands for an endless stream of spaces.
        const qint64 left = m_bytes.isEmpty() ? maxSize : m_bytes.size() - m_pos;
        qint64 count = qMin(qMin<qint64>(maxSize, m_step), left);
        if (m_throwAt >= 0) {
            count = qMin<qint64>(count, m_throwAt - m_pos);
        }
        if (m_bytes.isEmpty()) {
            std::memset(data, ' ', size_t(count));
        } else {
            std::memcpy(data, m_bytes.constData() + m_pos, size_t(count));
        }
        m_pos += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qsizetype m_step;
    qsizetype m_throwAt;
    std::atomic<int>* m_reads;
    bool* m_destroyed;
    qsizetype m_pos = 0;
};

std::unique_ptr<QIODevice> buffer(const QByteArray& bytes) {
    auto device = std::make_unique<QBuffer>();
    device->setData(bytes);
    device->open(QIODevice::ReadOnly);
    return device;
}

const QByteArray kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// A shared-string table with what the scanner must read as an XML parser does.
const QByteArray kStrings = R"(<?xml version="1.0" encoding="UTF-8"?>)"
                            "\n<sst xmlns=\"" +
                            kMain +
                            R"(" count="7">
  <si><t>plain</t></si>
  <si><t xml:space="preserve"> a &amp; b &lt;c&gt; &quot;d&quot; &apos;e&apos; </t></si>
  <si><r><rPr><b/></rPr><t>ri</t></r><r><t>ch</t></r><rPh sb="0" eb="1"><t>skip</t></rPh></si>
  <si><t><![CDATA[<c>not a cell</c> ]] & done]]></t></si>
  <si><t>&#x41;&#65;&#x10D;&#x1F600;)"
                            "\xE2\x98\x83"
                            R"(</t></si>
  <si/>
  <si><t>line)"
                            "\r\nend\rcr"
                            R"(&#13;kept</t></si>
</sst>)";

// A worksheet in the shapes the usual writers do not use: attributes in either quote and
// either order, white space inside tags, prefixes, comments and processing instructions,
// self-closing elements, references in attributes, CDATA, and texts in UTF-8 of every length.
const QByteArray kSheet =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<!-- written by hand -->
<worksheet xmlns=")" +
    kMain + R"(" xmlns:x=")" + kMain +
    R"(">
 <sheetPr><tabColor rgb="FF00FF00"/></sheetPr>
 <sheetData>
  <row r="1" spans="1:9">
   <c r="A1" t="s"><v>0</v></c>
   <c t='s' r='B1'><v>1</v></c>
   <c
     s = "0"
     r = "C1")"
    "\t"
    R"(t="s" ><v> 2 </v></c>
   <c r="D1" t="s"><v>3</v></c><c r="E1" t="s"><v>4</v></c>
   <c r="F1" t="s"><v>5</v></c><c r="G1" t="s"><v>6</v></c>
  </row>
  <row r="2"/>
  <x:row r="3"><x:c r="A3" t="inlineStr"><x:is><x:t>prefixed</x:t></x:is></x:c>
   <c r="B3"/><c r="C3"><v/></c>
   <c r="&#68;3" t="str"><f>"x"</f><v>a&amp;b&#x9;c</v></c>
   <c r="E3" t="inlineStr"><is><t>caf)"
    "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"
    R"(</t></is></c>
   <c r="F3"><!-- why --><?pi data?><v>1.5</v></c >
   <c r="G3" t="inlineStr"><is><t><![CDATA[a<b>&amp;]]></t></is></c>
  </x:row>
  <row r="4"><c r="A4" t="inlineStr"><is><t>)" +
    QByteArray("\xC5\xBE"
               "abc\xE2\x82\xAC")
        .repeated(40) +
    R"(</t></is></c></row>
 </sheetData>
</worksheet>)";

QList<QStringList> expectedRows() {
    return {{"plain", R"( a & b <c> "d" 'e' )", "rich", "<c>not a cell</c> ]] & done",
             QStringLiteral("AA\u010D\U0001F600\u2603"), "", "line\nend\ncr\rkept"},
            {},
            {"prefixed", "", "", "a&b\tc", QStringLiteral("caf\u00E9 \u20AC \U0001F600"), "1.5",
             "a<b>&amp;"},
            {QStringLiteral("\u017Eabc\u20AC").repeated(40)}};
}

QList<QStringList> readRows(std::unique_ptr<QIODevice> sheet, std::unique_ptr<QIODevice> strings,
                            ReadAheadStream::Reading reading = ReadAheadStream::Reading::Ahead) {
    XlsxSharedStrings table(std::move(strings), XlsxSharedStrings::MaxHeldText, reading);
    const XlsxStyles styles;
    XlsxSheetParser parser(std::move(sheet), table, styles, false, reading);
    SheetCells cells;
    readAll(parser, cells);
    QList<QStringList> rows;
    for (int r = 1; r <= cells.lastRow(); ++r) {
        rows.append(row(cells, r));
    }
    return rows;
}

QByteArray utf16WithByteOrderMark(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8).replace("UTF-8", "UTF-16");
    return QByteArray("\xFF\xFE") +
           QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// True when every cell of `part` is empty or the same as in `whole`.
bool isPartOf(const QList<QStringList>& part, const QList<QStringList>& whole) {
    if (part.size() > whole.size()) {
        return false;
    }
    for (qsizetype r = 0; r < part.size(); ++r) {
        for (qsizetype c = 0; c < part[r].size(); ++c) {
            if (!part[r][c].isEmpty() && (c >= whole[r].size() || part[r][c] != whole[r][c])) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

void TestXlsxScanner::readsXmlAsAParserDoes_data() {
    using Reading = ReadAheadStream::Reading;
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QByteArray>("strings");
    QTest::addColumn<Reading>("reading");
    QTest::newRow("UTF-8") << kSheet << kStrings << Reading::Ahead;
    QTest::newRow("UTF-8 read on the calling thread") << kSheet << kStrings << Reading::OnDemand;
    QTest::newRow("UTF-8 with a byte order mark")
        << QByteArray("\xEF\xBB\xBF") + kSheet << QByteArray("\xEF\xBB\xBF") + kStrings
        << Reading::Ahead;
    QTest::newRow("UTF-16") << utf16WithByteOrderMark(kSheet) << utf16WithByteOrderMark(kStrings)
                            << Reading::Ahead;
}

void TestXlsxScanner::readsXmlAsAParserDoes() {
    QFETCH(QByteArray, sheet);
    QFETCH(QByteArray, strings);
    QFETCH(ReadAheadStream::Reading, reading);
    QCOMPARE(readRows(buffer(sheet), buffer(strings), reading), expectedRows());
}

void TestXlsxScanner::chunkBoundariesFallAnywhere() {
    // With chunks of one byte, a boundary falls inside every tag, reference, CDATA marker,
    // line end and multi-byte character; the longer ones shift where they fall.
    for (qsizetype step : {1, 2, 3, 5, 7, 11, 64, 4093}) {
        QCOMPARE(readRows(std::make_unique<TrickleDevice>(kSheet, step),
                          std::make_unique<TrickleDevice>(kStrings, step)),
                 expectedRows());
    }
    // A tag longer than the room in front of a chunk is carried into the next one all the same.
    const QByteArray sheet =
        worksheet(R"(<row r="1"><c r="A1" x=")" + QByteArray(3 * ReadAheadStream::HeadRoom, 'a') +
                  R"(" t="inlineStr"><is><t>long</t></is></c>)"
                  R"(<c r="B1"><v>2</v></c></row>)");
    for (qsizetype step : {7, 4093, 65536}) {
        QCOMPARE(readRows(std::make_unique<TrickleDevice>(sheet, step), nullptr),
                 (QList<QStringList>{{"long", "2"}}));
    }
}

void TestXlsxScanner::textsOfEveryLengthReadWhole_data() {
    QTest::addColumn<QByteArray>("end");  // how a text ends, as written
    QTest::addColumn<QString>("endRead"); // the same, as read
    QTest::newRow("ASCII") << QByteArray("z") << QStringLiteral("z");
    QTest::newRow("beyond ASCII") << QByteArray("\xC3\xA9") << QString::fromUtf8("\xC3\xA9");
    QTest::newRow("an escape") << QByteArray("_x0041_") << QStringLiteral("A");
    QTest::newRow("a reference") << QByteArray("&amp;") << QStringLiteral("&");
}

void TestXlsxScanner::textsOfEveryLengthReadWhole() {
    QFETCH(QByteArray, end);
    QFETCH(QString, endRead);
    // Texts and attribute values are looked at many bytes per step: at any length, where they
    // end and what they hold is found all the same.
    for (int length = 0; length <= 40; ++length) {
        const QByteArray start(length, 'a');
        const QByteArray sheet = worksheet(
            R"(<row r="1"><c r="A1" x=")" + start + end + R"(" t="inlineStr"><is><t>)" + start +
            end + R"(</t></is></c><c r="B1" t="str"><v>)" + start + end + R"(</v></c></row>)");
        const QString text = QString(length, u'a') + endRead;
        QCOMPARE(readRows(buffer(sheet), nullptr), (QList<QStringList>{{text, text}}));
    }
}

void TestXlsxScanner::cellShapesReadTheSameEitherWay_data() {
    QTest::addColumn<QByteArray>("cells"); // the content of row 1
    QTest::addColumn<QStringList>("row");
    const QByteArray text = R"(t="inlineStr"><is><t>x</t></is></c>)";
    // The usual shapes, read in one step when the bytes are at hand.
    QTest::newRow("shared") << QByteArray(R"(<c r="B1" t="s"><v>4</v></c>)")
                            << QStringList{"", expectedRows()[0][4]};
    QTest::newRow("shared with a style") << QByteArray(R"(<c r="B1" s="0" t="s"><v>4</v></c>)")
                                         << QStringList{"", expectedRows()[0][4]};
    QTest::newRow("shared past the last column kept")
        << QByteArray(R"(<c r="AF1" t="s"><v>0</v></c><c r="AG1" t="s"><v>4</v></c>)")
        << QStringList(31, QString()) + QStringList{"plain"};
    QTest::newRow("inline") << QByteArray(R"(<c r="C1" )" + text) << QStringList{"", "", "x"};
    QTest::newRow("inline with a style")
        << QByteArray(R"(<c r="B1" s="12" )" + text) << QStringList{"", "x"};
    QTest::newRow("number with a style")
        << QByteArray(R"(<c r="A1" s="0"><v>1.5</v></c>)") << QStringList{"1.5"};
    QTest::newRow("empty, styled")
        << QByteArray(R"(<c r="A1" s="0"/><c )" + text) << QStringList{"", "x"};
    QTest::newRow("text with an escape")
        << QByteArray(R"(<c r="A1" t="str"><v>a_x0042_</v></c>)") << QStringList{"aB"};
    QTest::newRow("lower-case reference")
        << QByteArray(R"(<c r="b1" )" + text) << QStringList{"", "x"};
    QTest::newRow("white space between cells")
        << QByteArray("\n  <c r=\"A1\" " + text + "\r\n\t<c r=\"C1\" " + text)
        << QStringList{"x", "", "x"};
    QTest::newRow("past the last column kept")
        << QByteArray(R"(<c r="AF1" )" + text + R"(<c r="AG1" )" + text)
        << QStringList(31, QString()) + QStringList{"x"};
    // Shapes that are read tag by tag.
    QTest::newRow("four letters") << QByteArray(R"(<c r="B1" )" + text + R"(<c r="ABCD1" )" + text)
                                  << QStringList{"", "x", "x"};
    QTest::newRow("column past the sheet")
        << QByteArray(R"(<c r="B1" )" + text + R"(<c r="ZZZ1" )" + text)
        << QStringList{"", "x", "x"};
    QTest::newRow("reference with a reference")
        << QByteArray(R"(<c r="&#67;1" )" + text) << QStringList{"", "", "x"};
    QTest::newRow("no reference") << QByteArray(R"(<c )" + text + R"(<c )" + text)
                                  << QStringList{"x", "x"};
    QTest::newRow("type first") << QByteArray(R"(<c t="inlineStr" r="B1"><is><t>x</t></is></c>)")
                                << QStringList{"", "x"};
    QTest::newRow("text with a reference")
        << QByteArray(R"(<c r="A1" t="inlineStr"><is><t>a&amp;b</t></is></c>)")
        << QStringList{"a&b"};
    QTest::newRow("text with a line end")
        << QByteArray("<c r=\"A1\" t=\"str\"><v>a\r\nb</v></c>") << QStringList{"a\nb"};
    QTest::newRow("inline string as a value")
        << QByteArray(R"(<c r="A1" t="inlineStr"><v>v</v></c>)") << QStringList{"v"};
    QTest::newRow("formula") << QByteArray(R"(<c r="A1" t="str"><f>1</f><v>f</v></c>)")
                             << QStringList{"f"};
    QTest::newRow("CDATA") << QByteArray(R"(<c r="A1" t="str"><v><![CDATA[<&>]]></v></c>)")
                           << QStringList{"<&>"};
    QTest::newRow("style beyond digits")
        << QByteArray(R"(<c r="A1" s="x"><v>2</v></c>)") << QStringList{"2"};
}

void TestXlsxScanner::cellShapesReadTheSameEitherWay() {
    QFETCH(QByteArray, cells);
    QFETCH(QStringList, row);
    // Padded past the room a cell is read in one step with; byte by byte, every cell is read
    // tag by tag.
    const QByteArray sheet = worksheet("<row r=\"1\">" + cells + "</row>" + QByteArray(200, ' '));
    const QList<QStringList> expected{row};
    QCOMPARE(readRows(buffer(sheet), buffer(kStrings)), expected);
    QCOMPARE(readRows(std::make_unique<TrickleDevice>(sheet, 1),
                      std::make_unique<TrickleDevice>(kStrings, 1)),
             expected);
}

void TestXlsxScanner::sharedStringIndicesAsWritten_data() {
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<bool>("read"); // as the string at 4, or as no string
    QTest::newRow("one digit") << QByteArray("4") << true;
    QTest::newRow("leading zeros") << QByteArray("04") << true;
    QTest::newRow("four digits") << QByteArray("0004") << true;
    QTest::newRow("six digits") << QByteArray("000004") << true;
    QTest::newRow("eight digits") << QByteArray("00000004") << true;
    QTest::newRow("nine digits") << QByteArray("000000004") << true;
    QTest::newRow("ten digits") << QByteArray("0000000004") << true;
    QTest::newRow("white space around") << QByteArray(" 4 ") << true;
    QTest::newRow("a letter after") << QByteArray("4x") << false;
    QTest::newRow("a colon before") << QByteArray(":4") << false;
    QTest::newRow("a slash among eight") << QByteArray("0000/004") << false;
    QTest::newRow("a letter among five") << QByteArray("00a04") << false;
    QTest::newRow("past the table") << QByteArray("12345678") << false;
}

void TestXlsxScanner::sharedStringIndicesAsWritten() {
    QFETCH(QByteArray, index);
    QFETCH(bool, read);
    const QByteArray sheet = worksheet(R"(<row r="1"><c r="A1" t="s"><v>)" + index +
                                       R"(</v></c><c r="B1" t="inlineStr"><is><t>x</t></is></c>)"
                                       R"(</row>)");
    const QString fourth = read ? expectedRows()[0][4] : QString();
    QCOMPARE(readRows(buffer(sheet), buffer(kStrings)), (QList<QStringList>{{fourth, "x"}}));
}

void TestXlsxScanner::truncatedPartsKeepWholeCells() {
    // A part cut anywhere ends the sheet there: every cell read is one the whole part has.
    const QList<QStringList> whole = expectedRows();
    for (qsizetype size = 0; size < kSheet.size(); ++size) {
        const QList<QStringList> rows = readRows(buffer(kSheet.left(size)), buffer(kStrings));
        QVERIFY2(isPartOf(rows, whole), qPrintable(QStringLiteral("sheet cut at %1").arg(size)));
    }
    for (qsizetype size = 0; size < kStrings.size(); ++size) {
        const QList<QStringList> rows = readRows(buffer(kSheet), buffer(kStrings.left(size)));
        QVERIFY2(isPartOf(rows, whole), qPrintable(QStringLiteral("table cut at %1").arg(size)));
        QCOMPARE(rows.value(2), whole[2]); // inline strings do not need the table
    }
}

void TestXlsxScanner::malformedXmlEndsTheSheet_data() {
    QTest::addColumn<QByteArray>("second");
    QTest::newRow("unknown entity") << QByteArray(R"(<c t="inlineStr"><is><t>&nbsp;</t></is></c>)");
    QTest::newRow("bare ampersand") << QByteArray(R"(<c t="inlineStr"><is><t>AT&T</t></is></c>)");
    QTest::newRow("reference to a character XML has not")
        << QByteArray(R"(<c t="str"><v>&#0;</v></c>)");
    QTest::newRow("reference to half a surrogate pair")
        << QByteArray(R"(<c t="str"><v>&#xD800;</v></c>)");
    QTest::newRow("reference beyond Unicode") << QByteArray(R"(<c t="str"><v>&#x110000;</v></c>)");
    QTest::newRow("attribute without quotes") << QByteArray(R"(<c r=A2><v>2</v></c>)");
    QTest::newRow("attribute without value") << QByteArray(R"(<c r><v>2</v></c>)");
    QTest::newRow("markup inside a tag") << QByteArray(R"(<<c><v>2</v></c>)");
    QTest::newRow("end tag without a name") << QByteArray(R"(<c><v>2</v></></c>)");
    QTest::newRow("a tag longer than any part has")
        << QByteArray(R"(<c r="A2" x=")") + QByteArray(XlsxXmlScanner::MaxTagBytes + 1, 'a') +
               R"("><v>2</v></c>)";
}

void TestXlsxScanner::malformedXmlEndsTheSheet() {
    // The rows before the damage are read; the damaged one keeps its cells before it, and
    // nothing after it is read.
    QFETCH(QByteArray, second);
    const QByteArray sheet = worksheet(R"(<row r="1"><c r="A1"><v>1</v></c></row>)"
                                       R"(<row r="2"><c r="B2"><v>2</v></c>)" +
                                       second + R"(</row><row r="3"><c r="A3"><v>3</v></c></row>)");
    const QList<QStringList> rows = readRows(buffer(sheet), buffer(kStrings));
    QCOMPARE(rows, (QList<QStringList>{{"1"}, {"", "2"}}));
}

void TestXlsxScanner::textCutAtACellsLengthKeepsPairsWhole() {
    // A character beyond the BMP takes two UTF-16 units; where the cut falls between them,
    // the text ends before it rather than with half of it.
    const QByteArray text = QByteArray(SheetCells::MaxTextLength - 1, 'a') + "\xF0\x9F\x98\x80"
                                                                             "b";
    const QByteArray sheet = worksheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c>)"
                                       R"(<c r="B1" t="inlineStr"><is><r><t>)" +
                                       text + "</t></r></is></c></row>");
    const QByteArray strings = "<sst><si><t>" + text + "</t></si></sst>";
    const QList<QStringList> rows = readRows(buffer(sheet), buffer(strings));
    const QString expected(SheetCells::MaxTextLength - 1, u'a');
    QCOMPARE(rows, (QList<QStringList>{{expected, expected}}));
}

void TestXlsxScanner::readingFailureReachesTheReader() {
    // What the inflating thread throws is thrown on the reading one, after the rows before it.
    const QByteArray sheet = worksheet(R"(<row r="1"><c r="A1"><v>1</v></c></row>)"
                                       R"(<row r="2"><c r="A2"><v>2</v></c></row>)"
                                       R"(<row r="3"><c r="A3"><v>3</v></c></row>)");
    const qsizetype failAt = sheet.indexOf(R"(<row r="3")");
    XlsxSharedStrings strings(nullptr);
    const XlsxStyles styles;
    XlsxSheetParser parser(std::make_unique<TrickleDevice>(sheet, 7, failAt), strings, styles,
                           false);
    SheetCells cells;
    QCOMPARE(parser.readNextRow(cells), 1);
    QCOMPARE(parser.readNextRow(cells), 2);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, parser.readNextRow(cells));
    QCOMPARE(cells.at(2, 1), u"2");

    // The same from the thread that reads the shared strings, once a string it could not read
    // is asked for.
    const QByteArray table = "<sst><si><t>one</t></si><si><t>two</t></si></sst>";
    XlsxSharedStrings failing(
        std::make_unique<TrickleDevice>(table, 5, table.indexOf("<si><t>two")));
    QCOMPARE(failing.at(0), u"one");
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, failing.at(1));
}

void TestXlsxScanner::readAheadStaysBoundedAndEnds() {
    // An endless part: the reading thread runs only so many chunks ahead, and the stream ends
    // it when it goes, however far the part would go on.
    std::atomic<int> reads = 0;
    bool destroyed = false;
    constexpr int kTaken = 20;
    {
        ReadAheadStream stream(
            std::make_unique<TrickleDevice>(QByteArray(), 1024, -1, &reads, &destroyed), 1024);
        for (int i = 0; i < kTaken; ++i) {
            QCOMPARE(stream.next().size(), 1024);
        }
        QVERIFY(reads <= kTaken + ReadAheadStream::DefaultChunks);
    }
    QVERIFY(destroyed);
    QVERIFY(reads <= kTaken + ReadAheadStream::DefaultChunks);
}

namespace {

QByteArray patterned(qsizetype size, char seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        bytes[i] = char(seed + i % 251);
    }
    return bytes;
}

} // namespace

void TestXlsxScanner::streamsSharingAThreadReadInOrder() {
    // Two streams on one reading thread, taken unevenly: each yields its own bytes in order,
    // whoever read them, and a failure reaches only the stream it happened in, after its
    // bytes before it.
    const QByteArray first = patterned(300000, 'a');
    const QByteArray second = patterned(200000, 'A');
    const qsizetype failAt = 150000;
    ReadAheadThread thread;
    ReadAheadStream a(std::make_unique<TrickleDevice>(first, 1000), 1024, 4,
                      ReadAheadStream::Reading::Ahead, &thread);
    ReadAheadStream b(std::make_unique<TrickleDevice>(second, 777, failAt), 1024, 4,
                      ReadAheadStream::Reading::Ahead, &thread);
    QByteArray fromA;
    QByteArray fromB;
    bool bFailed = false;
    for (int turn = 0; turn < 100000 && !(fromA.size() == first.size() && bFailed); ++turn) {
        if (turn % 4 != 3) {
            fromA.append(a.next());
        } else if (!bFailed) {
            try {
                const QByteArrayView chunk = b.next();
                QVERIFY(!chunk.isEmpty());
                fromB.append(chunk);
            } catch (const std::runtime_error&) {
                bFailed = true;
            }
        }
    }
    QCOMPARE(fromA, first);
    QVERIFY(a.next().isEmpty());
    QVERIFY(bFailed);
    QCOMPARE(fromB, second.first(failAt));
}

void TestXlsxScanner::sharingStreamsStayBoundedAndEnd() {
    // Endless parts on one thread: a stream taken from runs only so many chunks ahead, one
    // never taken from fills its chunks and no more, and both end as they go.
    std::atomic<int> takenReads = 0;
    std::atomic<int> idleReads = 0;
    bool takenDestroyed = false;
    bool idleDestroyed = false;
    constexpr int kTaken = 40;
    constexpr int kChunks = 4;
    {
        ReadAheadThread thread;
        ReadAheadStream idle(
            std::make_unique<TrickleDevice>(QByteArray(), 1024, -1, &idleReads, &idleDestroyed),
            1024, kChunks, ReadAheadStream::Reading::Ahead, &thread);
        ReadAheadStream taken(
            std::make_unique<TrickleDevice>(QByteArray(), 1024, -1, &takenReads, &takenDestroyed),
            1024, kChunks, ReadAheadStream::Reading::Ahead, &thread);
        for (int i = 0; i < kTaken; ++i) {
            QCOMPARE(taken.next().size(), 1024);
        }
        QVERIFY(takenReads <= kTaken + kChunks);
        QVERIFY(idleReads <= kChunks);
    }
    QVERIFY(takenDestroyed && idleDestroyed);
    QVERIFY(takenReads <= kTaken + kChunks);
    QVERIFY(idleReads <= kChunks);
}

void TestXlsxScanner::sharedStringsOfEveryShapeStayPut_data() {
    QTest::addColumn<ReadAheadStream::Reading>("reading");
    QTest::addColumn<qsizetype>("step"); // the most bytes one read of the part gives, 0: all
    QTest::newRow("inflated ahead") << ReadAheadStream::Reading::Ahead << qsizetype(0);
    QTest::newRow("read on demand") << ReadAheadStream::Reading::OnDemand << qsizetype(0);
    QTest::newRow("in small pieces") << ReadAheadStream::Reading::Ahead << qsizetype(997);
}

void TestXlsxScanner::sharedStringsOfEveryShapeStayPut() {
    QFETCH(ReadAheadStream::Reading, reading);
    QFETCH(qsizetype, step);
    // Enough strings of every shape, some as long as a cell holds, to fill many of the
    // table's chunks: each reads as written, and stays valid while the table reads on.
    QByteArray part = "<sst>";
    QStringList expected;
    for (int i = 0; i < 40000; ++i) {
        const QByteArray n = QByteArray::number(i);
        switch (i % 9) {
        case 0:
            part += "<si><t>s" + n + "</t></si>";
            expected.append("s" + n);
            break;
        case 1:
            part += "<si><t>a longer plain string " + n + "</t></si>";
            expected.append("a longer plain string " + n);
            break;
        case 2:
            part += "<si><t></t></si><si/>";
            expected += {QString(), QString()};
            break;
        case 3:
            part += "<si><t>x_x0041_" + n + "&amp;</t></si>";
            expected.append("xA" + n + "&");
            break;
        case 4:
            part += "<si><t>caf\xC3\xA9 " + n + "</t></si>";
            expected.append(QString::fromUtf8("caf\xC3\xA9 " + n));
            break;
        case 5:
            part += "<si><r><t>ri</t></r><r><t>ch" + n + "</t></r></si>";
            expected.append("rich" + n);
            break;
        case 6:
            if (i % 5000 == 6) {
                // As long as a cell holds, and longer (cut to it).
                part += "<si><t>" + QByteArray(SheetCells::MaxTextLength, 'L') + "</t></si>";
                part += "<si><t>" + QByteArray(SheetCells::MaxTextLength + 9, 'M') + "</t></si>";
                expected += {QString(SheetCells::MaxTextLength, u'L'),
                             QString(SheetCells::MaxTextLength, u'M')};
            }
            break;
        default:
            part += "<si><t>" + n + "</t></si>";
            expected.append(QString::fromLatin1(n));
            break;
        }
    }
    part += "</sst>";
    std::unique_ptr<QIODevice> device =
        step > 0 ? std::unique_ptr<QIODevice>(std::make_unique<TrickleDevice>(part, step))
                 : buffer(part);
    XlsxSharedStrings table(std::move(device), XlsxSharedStrings::MaxHeldText, reading);
    const QStringView first = table.at(0);
    std::vector<QStringView> read;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        read.push_back(table.at(i));
        QCOMPARE(read.back(), expected[i]);
    }
    QCOMPARE(table.at(expected.size()), u"");
    QCOMPARE(first, expected[0]);
    std::mt19937 random(7);
    for (int k = 0; k < 1000; ++k) {
        const qsizetype i = qsizetype(random() % size_t(expected.size()));
        QCOMPARE(table.at(i), expected[i]);
        QCOMPARE(read[size_t(i)].utf16(), table.at(i).utf16());
    }
}

QTEST_APPLESS_MAIN(TestXlsxScanner)
#include "tst_xlsxscanner.moc"
