#include "exchange/sheets/XlsxSheetParser.h"

#include "exchange/ExcelAddress.h"
#include "exchange/ExcelValueText.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxEscapes.h"
#include "exchange/sheets/XlsxSharedStrings.h"
#include "exchange/sheets/XlsxStyles.h"
#include "exchange/sheets/ZipEntryDevice.h"

namespace {

// One row may take this many bytes of the part; past it the sheet ends there. Even 16,384
// cells of long texts stay far below it.
constexpr qint64 kRowBudget = 256 * 1024 * 1024;

} // namespace

XlsxSheetParser::XlsxSheetParser(std::unique_ptr<QIODevice> sheet, XlsxSharedStrings& strings,
                                 const XlsxStyles& styles, bool date1904)
    : m_sheet(std::move(sheet)), m_xml(m_sheet.get()), m_strings(strings), m_styles(styles),
      m_date1904(date1904) {}

XlsxSheetParser::~XlsxSheetParser() = default;

int XlsxSheetParser::readNextRow(SheetCells& cells) {
    auto* zipped = qobject_cast<ZipEntryDevice*>(m_sheet.get());
    while (!m_done && !m_xml.atEnd()) {
        if (zipped) {
            zipped->setBudget(kRowBudget);
        }
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::EndElement && m_xml.name() == u"sheetData") {
            break;
        }
        if (token != QXmlStreamReader::StartElement || m_xml.name() != u"row") {
            continue;
        }
        bool ok = false;
        int row = m_xml.attributes().value(QLatin1String("r")).toInt(&ok);
        if (!ok) {
            row = m_lastRow + 1;
        }
        if (row < 1 || row > ExcelAddress::MaxSheetRows) {
            break;
        }
        m_lastRow = row;
        readRow(cells, row);
        return row;
    }
    m_done = true;
    return 0;
}

void XlsxSheetParser::readRow(SheetCells& cells, int row) {
    int column = 0;
    int count = 0;
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (m_xml.name() == u"row") {
                return;
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (m_xml.name() != u"c") {
            m_xml.skipCurrentElement();
            continue;
        }
        if (++count > ExcelAddress::MaxSheetColumns) {
            m_done = true; // no sheet has more cells in a row
            return;
        }
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QStringView reference = attributes.value(QLatin1String("r"));
        qsizetype letters = 0;
        while (letters < reference.size() && reference[letters].isLetter()) {
            ++letters;
        }
        const int named = ExcelAddress::columnOfLetters(reference.first(letters));
        column = named > 0 ? named : column + 1;
        if (column > ExcelAddress::MaxColumns) {
            m_xml.skipCurrentElement();
            continue;
        }
        readCell(cells, row, column, attributes.value(QLatin1String("t")),
                 attributes.value(QLatin1String("s")).toInt());
    }
}

void XlsxSheetParser::readValue() {
    m_value.clear();
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            if (m_value.size() < 7 * SheetCells::MaxTextLength) {
                m_value.append(m_xml.text());
            }
        } else if (token == QXmlStreamReader::StartElement) {
            m_xml.skipCurrentElement();
        } else if (token == QXmlStreamReader::EndElement) {
            return;
        }
    }
}

void XlsxSheetParser::readCell(SheetCells& cells, int row, int column, QStringView type,
                               int style) {
    enum class Type { Number, Shared, Inline, Text, Boolean, IsoDate } kind = Type::Number;
    if (type == u"s") {
        kind = Type::Shared;
    } else if (type == u"inlineStr") {
        kind = Type::Inline;
    } else if (type == u"str" || type == u"e") {
        kind = Type::Text;
    } else if (type == u"b") {
        kind = Type::Boolean;
    } else if (type == u"d") {
        kind = Type::IsoDate;
    }
    bool hasValue = false;
    QString inlineText;
    bool hasInline = false;
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            break; // </c>
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (m_xml.name() == u"v") {
            readValue();
            hasValue = true;
        } else if (m_xml.name() == u"is") {
            inlineText = XlsxSharedStrings::readStringItem(m_xml);
            hasInline = true;
        } else {
            m_xml.skipCurrentElement(); // formulas and extensions
        }
    }
    if (hasInline && (kind == Type::Inline || !hasValue)) {
        cells.set(row, column, inlineText);
        return;
    }
    if (!hasValue || m_value.isEmpty()) {
        return;
    }
    switch (kind) {
    case Type::Shared: {
        bool ok = false;
        const int index = QStringView(m_value).trimmed().toInt(&ok);
        if (ok) {
            cells.set(row, column, m_strings.at(index));
        }
        return;
    }
    case Type::Inline:
    case Type::Text:
        cells.set(row, column, XlsxEscapes::decode(m_value));
        return;
    case Type::Boolean:
        cells.set(row, column, ExcelValueText::boolean(QStringView(m_value).trimmed()));
        return;
    case Type::IsoDate: {
        // "2024-03-15T13:45:00": the date, and the time when there is one.
        QString text = m_value.trimmed();
        text.replace(u'T', u' ');
        if (text.endsWith(u" 00:00:00")) {
            text.chop(9);
        }
        cells.set(row, column, text);
        return;
    }
    case Type::Number: {
        bool ok = false;
        const double number = QStringView(m_value).trimmed().toDouble(&ok);
        if (!ok) {
            cells.set(row, column, m_value);
            return;
        }
        cells.set(row, column, ExcelValueText::serial(number, m_styles.kindOf(style), m_date1904));
        return;
    }
    }
}
