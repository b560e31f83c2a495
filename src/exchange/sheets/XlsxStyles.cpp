#include "exchange/sheets/XlsxStyles.h"

#include <QHash>
#include <QXmlStreamReader>

using ExcelValueText::NumberKind;

XlsxStyles XlsxStyles::parse(QIODevice& part) {
    QHash<int, NumberKind> declared;
    std::vector<int> formatOfStyle;
    QXmlStreamReader xml(&part);
    bool inCellStyles = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs") {
            inCellStyles = false;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"numFmt") {
            const QXmlStreamAttributes attributes = xml.attributes();
            bool ok = false;
            const int id = attributes.value(QLatin1String("numFmtId")).toInt(&ok);
            if (ok) {
                declared.insert(id, ExcelValueText::kindOfFormatCode(
                                        attributes.value(QLatin1String("formatCode"))));
            }
        } else if (xml.name() == u"cellXfs") {
            inCellStyles = true;
        } else if (xml.name() == u"xf" && inCellStyles) {
            formatOfStyle.push_back(xml.attributes().value(QLatin1String("numFmtId")).toInt());
            xml.skipCurrentElement();
        }
    }
    // Formats may be declared after the styles that use them, so they are matched at the end.
    XlsxStyles styles;
    styles.m_kinds.reserve(formatOfStyle.size());
    for (int id : formatOfStyle) {
        styles.m_kinds.push_back(declared.contains(id) ? declared.value(id)
                                                       : ExcelValueText::kindOfBuiltInFormat(id));
    }
    return styles;
}

NumberKind XlsxStyles::kindOf(int styleIndex) const {
    if (styleIndex < 0 || size_t(styleIndex) >= m_kinds.size()) {
        return NumberKind::Number;
    }
    return m_kinds[size_t(styleIndex)];
}
