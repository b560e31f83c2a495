#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

class ZipArchive;
class ZipEntryDevice;

/// Finds the parts of an .xlsx package that the import reads: the first worksheet, the shared
/// strings and the styles, through the package relationships, the workbook and its
/// relationships (targets relative or absolute), with the usual part names as a fallback.
namespace XlsxPackage {

struct Relationship {
    QString id;
    QString type;
    QString target;
    bool external = false;
};

struct Workbook {
    QStringList sheetRelationshipIds; // in the order of the workbook's sheets
    bool date1904 = false;
};

/// Part names; a workbook need not have shared strings or styles, so those may be missing.
struct Parts {
    QString worksheet;
    QString sharedStrings;
    QString styles;
    bool date1904 = false;
};

/// The relationships of a ".rels" part.
std::vector<Relationship> parseRelationships(QIODevice& part);
/// The sheet list and date system of a workbook part.
Workbook parseWorkbook(QIODevice& part);

/// The part a relationship of `sourcePart` points at: relative targets are taken from the
/// source part's folder, "/..." from the package root; "." and ".." are resolved.
QString resolveTarget(QStringView sourcePart, QStringView target);
/// The ".rels" part that holds the relationships of `part` ("" for the package's own).
QString relationshipsPartOf(QStringView part);

/// A part of the package that is read whole (relationships, workbook, styles), its stream
/// bounded far above any real one; nullptr when the package has no such part.
std::unique_ptr<ZipEntryDevice> openPart(const ZipArchive& archive, const QString& name);

/// Where the import's parts are in `archive`.
Parts locate(const ZipArchive& archive);

} // namespace XlsxPackage
