#pragma once

#include "exchange/sheets/SheetReader.h"
#include "text/FileResult.h"

#include <QByteArray>
#include <QString>

#include <memory>

class ImportBudget;
class ReadAheadThread;
class XlsxSharedStrings;
class XlsxSheetParser;
class XlsxStyles;
class ZipArchive;

/// Reads the first worksheet of an .xlsx, .xlsm or .xltx workbook, streaming its cells from
/// the zip package as they are asked for.
class XlsxReader final : public SheetReader {
public:
    /// The reader, or nullptr and why when the file is no readable zip package. The shared
    /// strings it holds are taken from `budget` (none: not bounded), which outlives it; once
    /// they pass it, no further row is read.
    static Opened<XlsxReader> openFile(const QString& path, ImportBudget* budget = nullptr);
    static Opened<XlsxReader> openBytes(const QByteArray& bytes, ImportBudget* budget = nullptr);
    ~XlsxReader() override;
    Q_DISABLE_COPY_MOVE(XlsxReader)

    int readNextRow(SheetCells& cells) override;

private:
    XlsxReader(std::unique_ptr<ZipArchive> archive, ImportBudget* budget);
    /// The reader of the package, when it could be opened.
    static Opened<XlsxReader> over(Opened<ZipArchive> archive, ImportBudget* budget);

    std::unique_ptr<ZipArchive> m_archive;
    std::unique_ptr<XlsxStyles> m_styles;
    std::unique_ptr<ReadAheadThread> m_inflating; // outlives the parts it inflates
    std::unique_ptr<XlsxSharedStrings> m_strings;
    std::unique_ptr<XlsxSheetParser> m_sheet; // nullptr when the package has no worksheet
    ImportBudget* m_budget;
    qint64 m_stringsTaken = 0; // of the budget
};
