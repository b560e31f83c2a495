#include "exchange/sheets/XlsxReader.h"

#include "exchange/ImportBudget.h"
#include "exchange/sheets/ReadAheadStream.h"
#include "exchange/sheets/XlsxPackage.h"
#include "exchange/sheets/XlsxSharedStrings.h"
#include "exchange/sheets/XlsxSheetParser.h"
#include "exchange/sheets/XlsxStyles.h"
#include "exchange/sheets/ZipArchive.h"
#include "exchange/sheets/ZipEntryDevice.h"

Opened<XlsxReader> XlsxReader::openFile(const QString& path, ImportBudget* budget) {
    return over(ZipArchive::openFile(path), budget);
}

Opened<XlsxReader> XlsxReader::openBytes(const QByteArray& bytes, ImportBudget* budget) {
    return over(ZipArchive::openBytes(bytes), budget);
}

Opened<XlsxReader> XlsxReader::over(Opened<ZipArchive> archive, ImportBudget* budget) {
    if (!archive.object) {
        return Opened<XlsxReader>::failed(std::move(archive.result));
    }
    return {std::unique_ptr<XlsxReader>(new XlsxReader(std::move(archive.object), budget)),
            std::move(archive.result)};
}

XlsxReader::XlsxReader(std::unique_ptr<ZipArchive> archive, ImportBudget* budget)
    : m_archive(std::move(archive)), m_styles(std::make_unique<XlsxStyles>()), m_budget(budget) {
    const XlsxPackage::Parts parts = XlsxPackage::locate(*m_archive);
    if (auto styles = XlsxPackage::openPart(*m_archive, parts.styles)) {
        *m_styles = XlsxStyles::parse(*styles);
    }
    // The shared strings and the sheet are inflated side by side on one thread, through
    // handles of their own on the archive, while they are read on this one: a thread for each
    // would leave three to compete for the processor. Should the archive not open again, both
    // are read through its one handle, on this thread.
    std::unique_ptr<ZipEntryDevice> sheet = m_archive->openEntryAlone(parts.worksheet);
    std::unique_ptr<ZipEntryDevice> strings = m_archive->openEntryAlone(parts.sharedStrings);
    bool oneHandle = false;
    if (!sheet && (sheet = m_archive->openEntry(parts.worksheet))) {
        oneHandle = true;
    }
    if (!strings && (strings = m_archive->openEntry(parts.sharedStrings))) {
        oneHandle = true;
    }
    const ReadAheadStream::Reading reading =
        oneHandle ? ReadAheadStream::Reading::OnDemand : ReadAheadStream::Reading::Ahead;
    // The string table never holds more than the whole budget, so one row naming a string far
    // into it cannot read it all.
    const qsizetype maxHeldText =
        budget ? qBound<qsizetype>(1, budget->limit() / 2, XlsxSharedStrings::MaxHeldText)
               : XlsxSharedStrings::MaxHeldText;
    if (!oneHandle && (sheet || strings)) {
        m_inflating = std::make_unique<ReadAheadThread>();
    }
    m_strings = std::make_unique<XlsxSharedStrings>(std::move(strings), maxHeldText, reading,
                                                    m_inflating.get());
    if (sheet) {
        m_sheet = std::make_unique<XlsxSheetParser>(std::move(sheet), *m_strings, *m_styles,
                                                    parts.date1904, reading, m_inflating.get());
    }
}

XlsxReader::~XlsxReader() {
    if (m_budget) {
        m_budget->giveBack(m_stringsTaken);
    }
}

int XlsxReader::readNextRow(SheetCells& cells) {
    const int row = m_sheet ? m_sheet->readNextRow(cells) : 0;
    if (m_budget) {
        const qint64 held = m_strings->heldBytes();
        if (held > m_stringsTaken && !m_budget->take(held - m_stringsTaken)) {
            return 0;
        }
        m_stringsTaken = qMax(m_stringsTaken, held);
    }
    return row;
}
