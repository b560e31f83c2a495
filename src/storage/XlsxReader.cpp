#include "XlsxReader.h"

#include "XlsxPackage.h"
#include "XlsxSharedStrings.h"
#include "XlsxSheetParser.h"
#include "XlsxStyles.h"
#include "ZipArchive.h"
#include "ZipEntryDevice.h"

std::unique_ptr<XlsxReader> XlsxReader::openFile(const QString& path) {
    std::unique_ptr<ZipArchive> archive = ZipArchive::openFile(path);
    return archive ? std::unique_ptr<XlsxReader>(new XlsxReader(std::move(archive))) : nullptr;
}

std::unique_ptr<XlsxReader> XlsxReader::openBytes(const QByteArray& bytes) {
    std::unique_ptr<ZipArchive> archive = ZipArchive::openBytes(bytes);
    return archive ? std::unique_ptr<XlsxReader>(new XlsxReader(std::move(archive))) : nullptr;
}

XlsxReader::XlsxReader(std::unique_ptr<ZipArchive> archive)
    : m_archive(std::move(archive)), m_styles(std::make_unique<XlsxStyles>()) {
    const XlsxPackage::Parts parts = XlsxPackage::locate(*m_archive);
    if (auto styles = XlsxPackage::openPart(*m_archive, parts.styles)) {
        *m_styles = XlsxStyles::parse(*styles);
    }
    m_strings = std::make_unique<XlsxSharedStrings>(m_archive->openEntry(parts.sharedStrings));
    if (std::unique_ptr<ZipEntryDevice> sheet = m_archive->openEntry(parts.worksheet)) {
        m_sheet = std::make_unique<XlsxSheetParser>(std::move(sheet), *m_strings, *m_styles,
                                                    parts.date1904);
    }
}

XlsxReader::~XlsxReader() = default;

int XlsxReader::readNextRow(SheetCells& cells) {
    return m_sheet ? m_sheet->readNextRow(cells) : 0;
}
