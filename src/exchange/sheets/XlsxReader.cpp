#include "exchange/sheets/XlsxReader.h"

#include "exchange/sheets/XlsxPackage.h"
#include "exchange/sheets/XlsxSharedStrings.h"
#include "exchange/sheets/XlsxSheetParser.h"
#include "exchange/sheets/XlsxStyles.h"
#include "exchange/sheets/ZipArchive.h"
#include "exchange/sheets/ZipEntryDevice.h"

Opened<XlsxReader> XlsxReader::openFile(const QString& path) {
    return over(ZipArchive::openFile(path));
}

Opened<XlsxReader> XlsxReader::openBytes(const QByteArray& bytes) {
    return over(ZipArchive::openBytes(bytes));
}

Opened<XlsxReader> XlsxReader::over(Opened<ZipArchive> archive) {
    if (!archive.object) {
        return Opened<XlsxReader>::failed(std::move(archive.result));
    }
    return {std::unique_ptr<XlsxReader>(new XlsxReader(std::move(archive.object))),
            std::move(archive.result)};
}

XlsxReader::XlsxReader(std::unique_ptr<ZipArchive> archive)
    : m_archive(std::move(archive)), m_styles(std::make_unique<XlsxStyles>()) {
    const XlsxPackage::Parts parts = XlsxPackage::locate(*m_archive);
    if (auto styles = XlsxPackage::openPart(*m_archive, parts.styles)) {
        *m_styles = XlsxStyles::parse(*styles);
    }
    // The shared strings and the sheet are each inflated on a thread of their own, through
    // handles of their own on the archive.
    m_strings = std::make_unique<XlsxSharedStrings>(m_archive->openEntryAlone(parts.sharedStrings));
    if (std::unique_ptr<ZipEntryDevice> sheet = m_archive->openEntryAlone(parts.worksheet)) {
        m_sheet = std::make_unique<XlsxSheetParser>(std::move(sheet), *m_strings, *m_styles,
                                                    parts.date1904);
    }
}

XlsxReader::~XlsxReader() = default;

int XlsxReader::readNextRow(SheetCells& cells) {
    return m_sheet ? m_sheet->readNextRow(cells) : 0;
}
