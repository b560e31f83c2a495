#include "exchange/sheets/XlsxPackage.h"

#include "exchange/sheets/ZipArchive.h"
#include "exchange/sheets/ZipEntryDevice.h"

#include <QUrl>
#include <QXmlStreamReader>

namespace XlsxPackage {
namespace {

// The small parts (relationships, workbook) are read whole; no real one comes near this.
constexpr qint64 kSmallPartBudget = 64 * 1024 * 1024;

bool typeIs(QStringView type, QStringView last) {
    // Transitional and strict packages differ only in the namespace before the last segment.
    return type.endsWith(last) && type.size() > last.size() &&
           type[type.size() - last.size() - 1] == u'/';
}

QString targetOfType(const std::vector<Relationship>& relationships, QStringView type,
                     QStringView sourcePart) {
    for (const Relationship& r : relationships) {
        if (!r.external && typeIs(r.type, type)) {
            return resolveTarget(sourcePart, r.target);
        }
    }
    return QString();
}

} // namespace

std::unique_ptr<ZipEntryDevice> openPart(const ZipArchive& archive, const QString& name) {
    std::unique_ptr<ZipEntryDevice> part = archive.openEntry(name);
    if (part) {
        part->setBudget(kSmallPartBudget);
    }
    return part;
}

std::vector<Relationship> parseRelationships(QIODevice& part) {
    std::vector<Relationship> relationships;
    QXmlStreamReader xml(&part);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship") {
            continue;
        }
        const QXmlStreamAttributes attributes = xml.attributes();
        relationships.push_back(
            Relationship{attributes.value(QLatin1String("Id")).toString(),
                         attributes.value(QLatin1String("Type")).toString(),
                         attributes.value(QLatin1String("Target")).toString(),
                         attributes.value(QLatin1String("TargetMode"))
                                 .compare(u"External", Qt::CaseInsensitive) == 0});
    }
    return relationships;
}

Workbook parseWorkbook(QIODevice& part) {
    Workbook workbook;
    QXmlStreamReader xml(&part);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"workbookPr") {
            const QStringView value = xml.attributes().value(QLatin1String("date1904"));
            workbook.date1904 = value == u"1" || value == u"true";
        } else if (xml.name() == u"sheet") {
            // r:id, whatever prefix the relationships namespace has here.
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty()) {
                    workbook.sheetRelationshipIds.append(attribute.value().toString());
                    break;
                }
            }
        } else if (xml.name() == u"sheetData") {
            break; // not a workbook part
        }
    }
    return workbook;
}

QString resolveTarget(QStringView sourcePart, QStringView target) {
    const QString decoded = QUrl::fromPercentEncoding(target.toUtf8());
    QString path;
    if (decoded.startsWith(u'/')) {
        path = decoded;
    } else {
        const qsizetype slash = sourcePart.lastIndexOf(u'/');
        path = (slash >= 0 ? sourcePart.first(slash + 1).toString() : QString()) + decoded;
    }
    QStringList kept;
    for (const QString& segment : path.split(u'/', Qt::SkipEmptyParts)) {
        if (segment == u"..") {
            if (!kept.isEmpty()) {
                kept.removeLast();
            }
        } else if (segment != u".") {
            kept.append(segment);
        }
    }
    return kept.join(u'/');
}

QString relationshipsPartOf(QStringView part) {
    if (part.isEmpty()) {
        return QStringLiteral("_rels/.rels");
    }
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.first(slash + 1).toString() + QStringLiteral("_rels/") +
           part.sliced(slash + 1).toString() + QStringLiteral(".rels");
}

Parts locate(const ZipArchive& archive) {
    Parts parts;
    QString workbookPart;
    if (auto rels = openPart(archive, relationshipsPartOf(u""))) {
        workbookPart = targetOfType(parseRelationships(*rels), u"officeDocument", u"");
    }
    if (workbookPart.isEmpty()) {
        workbookPart = QStringLiteral("xl/workbook.xml");
    }
    Workbook workbook;
    if (auto part = openPart(archive, workbookPart)) {
        workbook = parseWorkbook(*part);
    }
    parts.date1904 = workbook.date1904;

    std::vector<Relationship> relationships;
    if (auto rels = openPart(archive, relationshipsPartOf(workbookPart))) {
        relationships = parseRelationships(*rels);
    }
    // The first sheet that is a worksheet (chart sheets hold no cells).
    for (const QString& id : workbook.sheetRelationshipIds) {
        for (const Relationship& r : relationships) {
            if (r.id == id && !r.external && typeIs(r.type, u"worksheet")) {
                parts.worksheet = resolveTarget(workbookPart, r.target);
                break;
            }
        }
        if (!parts.worksheet.isEmpty()) {
            break;
        }
    }
    if (parts.worksheet.isEmpty()) {
        parts.worksheet = targetOfType(relationships, u"worksheet", workbookPart);
    }
    if (parts.worksheet.isEmpty()) {
        parts.worksheet = QStringLiteral("xl/worksheets/sheet1.xml");
    }
    parts.sharedStrings = targetOfType(relationships, u"sharedStrings", workbookPart);
    if (parts.sharedStrings.isEmpty()) {
        parts.sharedStrings = QStringLiteral("xl/sharedStrings.xml");
    }
    parts.styles = targetOfType(relationships, u"styles", workbookPart);
    if (parts.styles.isEmpty()) {
        parts.styles = QStringLiteral("xl/styles.xml");
    }
    return parts;
}

} // namespace XlsxPackage
