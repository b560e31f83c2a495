#include "ui/database/commands/ExchangeCommandMessages.h"
#include "ui/database/commands/ImportEstimate.h"

#include <QTest>

using ImportEstimate::RowAnswer;

Q_DECLARE_METATYPE(ExchangeMessage)
Q_DECLARE_METATYPE(std::optional<ExchangeMessage>)

class TestImportEstimate : public QObject {
    Q_OBJECT
private slots:
    void answer_data();
    void answer();
    void warning_data();
    void warning();
    void windowMessages();
};

void TestImportEstimate::answer_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rows");
    const int stop = int(RowAnswer::Kind::Stop);
    const int tooMany = int(RowAnswer::Kind::TooMany);
    const int import = int(RowAnswer::Kind::Import);
    QTest::newRow("text") << "abc" << stop << 0;
    QTest::newRow("empty") << "" << stop << 0;
    QTest::newRow("zero") << "0" << stop << 0;
    QTest::newRow("below one") << "0.7" << stop << 0;
    QTest::newRow("negative") << "-5" << stop << 0;
    QTest::newRow("infinity") << "inf" << stop << 0;
    QTest::newRow("hexadecimal") << "0x10" << stop << 0;
    QTest::newRow("one") << "1" << import << 1;
    QTest::newRow("spaces around") << " 7 " << import << 7;
    QTest::newRow("half to even") << "12.5" << import << 12;
    QTest::newRow("exponent") << "1e3" << import << 1000;
    QTest::newRow("50,000") << "50000" << import << 50000;
    QTest::newRow("50,001") << "50001" << tooMany << 0;
    QTest::newRow("just above 50,000") << "50000.4" << tooMany << 0;
}

void TestImportEstimate::answer() {
    QFETCH(QString, typed);
    QFETCH(int, kind);
    QFETCH(int, rows);
    const RowAnswer answer = ImportEstimate::evaluateAnswer(typed);
    QCOMPARE(int(answer.kind), kind);
    QCOMPARE(answer.rows, rows);
}

void TestImportEstimate::warning_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("mhz");
    QTest::addColumn<std::optional<ExchangeMessage>>("expected");
    using Icon = ExchangeMessage::Icon;
    const auto yesNo = ExchangeMessage::Buttons::YesNoDefaultNo;

    QTest::newRow("498 starts at once") << "498" << 1000 << std::optional<ExchangeMessage>();
    QTest::newRow("499 asks")
        << "499" << 1000
        << std::optional<ExchangeMessage>(
               {"With 499 of records you entered, import action will take approximately 57 "
                "seconds, during which you will not be able to stop importing process. Start "
                "data import?",
                "Data Import Warning!", Icon::Question, yesNo});
    QTest::newRow("1,000 rows at 1,000 MHz: 115 seconds")
        << " 1000" << 1000
        << std::optional<ExchangeMessage>(
               {"With  1000 of records you entered, import action will take approximately 115 "
                "seconds, during which you will not be able to stop importing process. Start "
                "data import?",
                "Data Import Warning!", Icon::Question, yesNo});
    QTest::newRow("2,000 rows: 230 seconds, 4 minutes")
        << "2000" << 1000
        << std::optional<ExchangeMessage>(
               {"Because on the the significant difference in the selected data format, with  "
                "2000 of records you entered and with the current system processor speed at 1000 "
                "MHz, this action could take approximately 230 seconds (4 ) minutes during "
                "which you will not be able to stop importing process. Start data import?",
                "Long Processing Warning ( 4 minutes) !!! ", Icon::Question, yesNo});
    QTest::newRow("6,000 rows: 690 seconds, 12 minutes")
        << "6000" << 1000
        << std::optional<ExchangeMessage>(
               {"You entered very large amount of records to be imported. Because of the the "
                "significant difference in the selected data format and with the current system "
                "processor speed at 1000 MHz, this action could take approximately 690 seconds "
                "(12 ) minutes, during which you will not be able to stop importing process. "
                "Start data import?",
                "Attention! Very Long Processing Time Warning ( 12 minutes) !!! ", Icon::Error,
                yesNo});
    QTest::newRow("10.5 minutes round to 10: still the long warning")
        << "5478" << 1000 // 629.97 -> 630 s -> 10.5 -> 10 min
        << std::optional<ExchangeMessage>(
               {"Because on the the significant difference in the selected data format, with  "
                "5478 of records you entered and with the current system processor speed at 1000 "
                "MHz, this action could take approximately 630 seconds (10 ) minutes during "
                "which you will not be able to stop importing process. Start data import?",
                "Long Processing Warning ( 10 minutes) !!! ", Icon::Question, yesNo});
    QTest::newRow("unknown speed: 0 seconds")
        << "50000" << 0
        << std::optional<ExchangeMessage>(
               {"With 50000 of records you entered, import action will take approximately 0 "
                "seconds, during which you will not be able to stop importing process. Start "
                "data import?",
                "Data Import Warning!", Icon::Question, yesNo});
}

void TestImportEstimate::warning() {
    QFETCH(QString, typed);
    QFETCH(int, mhz);
    QFETCH(std::optional<ExchangeMessage>, expected);
    const std::optional<ExchangeMessage> actual =
        ImportEstimate::warning(typed, ImportEstimate::evaluateAnswer(typed), mhz);
    QCOMPARE(actual.has_value(), expected.has_value());
    if (expected) {
        QCOMPARE(actual->text, expected->text);
        QCOMPARE(actual->title, expected->title);
        QVERIFY(*actual == *expected);
    }
}

void TestImportEstimate::windowMessages() {
    const ExchangeMessage unavailable = ExchangeCommandMessages::excelUnavailable();
    QCOMPARE(unavailable.text, "QEL 2005 failed to initialize Microsoft Excel when started ");
    QCOMPARE(unavailable.title, "Brevant      Excel Error");
    const ExchangeMessage tooLarge = ExchangeCommandMessages::tooLargeForExport(65001);
    QCOMPARE(tooLarge.text,
             "Your database is larger then what Microsoft Excel is able to accept ( 65001 rows )");
    QCOMPARE(tooLarge.title, "Qel 2005");
    QCOMPARE(ExchangeCommandMessages::rowLimitExceeded().text,
             "QEL 2005 for Excel can't exceed Microsoft Excel row limitation!");
    QCOMPARE(ExchangeCommandMessages::rowLimitExceeded().icon, ExchangeMessage::Icon::Error);
}

QTEST_APPLESS_MAIN(TestImportEstimate)
#include "tst_importestimate.moc"
