#pragma once

#include "SheetReader.h"

#include <QByteArray>
#include <QString>

#include <memory>

class XlsxSharedStrings;
class XlsxSheetParser;
class XlsxStyles;
class ZipArchive;

/// Reads the first worksheet of an .xlsx, .xlsm or .xltx workbook, streaming its cells from
/// the zip package as they are asked for.
class XlsxReader final : public SheetReader {
public:
    /// The reader, or nullptr when the file is no readable zip package.
    static std::unique_ptr<XlsxReader> openFile(const QString& path);
    static std::unique_ptr<XlsxReader> openBytes(const QByteArray& bytes);
    ~XlsxReader() override;
    Q_DISABLE_COPY_MOVE(XlsxReader)

    int readNextRow(SheetCells& cells) override;

private:
    explicit XlsxReader(std::unique_ptr<ZipArchive> archive);

    std::unique_ptr<ZipArchive> m_archive;
    std::unique_ptr<XlsxStyles> m_styles;
    std::unique_ptr<XlsxSharedStrings> m_strings;
    std::unique_ptr<XlsxSheetParser> m_sheet; // nullptr when the package has no worksheet
};
