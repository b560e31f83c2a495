#include "exchange/sheets/XlsxWorkbookWriter.h"

#include "exchange/ExcelAddress.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxEscapes.h"

#include <QFile>
#include <QStringEncoder>

#include <vector>

#include <xlsxwriter.h>

namespace XlsxWorkbookWriter {
namespace {

/// The UTF-8 form of each cell's text, NUL-terminated, in one buffer used again and again.
class CellEncoder final {
public:
    /// A literal escape sequence must not come back as the character it looks like;
    /// protecting it lengthens the text, which must still fit a cell (libxlsxwriter refuses
    /// longer ones). `cut` tells whether it had to be cut for that.
    const char* encode(QStringView text, bool* cut) {
        *cut = false;
        QString safe;
        if (text.contains(u'_')) {
            safe = XlsxEscapes::protectLiteralEscapes(text);
            if (safe.size() > SheetCells::MaxTextLength) {
                qsizetype keep = SheetCells::MaxTextLength;
                if (safe[keep - 1].isHighSurrogate()) {
                    --keep;
                }
                safe.truncate(keep);
                *cut = true;
            }
            text = safe;
        }
        m_buffer.resize(size_t(m_encoder.requiredSpace(text.size())) + 1);
        char* end = m_encoder.appendToBuffer(m_buffer.data(), text);
        *end = '\0';
        return m_buffer.data();
    }

private:
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    std::vector<char> m_buffer;
};

} // namespace

FileResult write(const SheetCells& cells, const QString& path, const QString& tempFolder,
                 Losses* losses) {
    QByteArray tempDir = QFile::encodeName(tempFolder);
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tempDir.isEmpty() ? nullptr : tempDir.data();
    lxw_workbook* workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!workbook) {
        return FileResult::cannotWrite(path, QStringLiteral("the workbook could not be created"));
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    Losses result;
    CellEncoder encoder;
    for (int row = 1; sheet && row <= cells.lastRow(); ++row) {
        if (cells.rowIsEmpty(row)) {
            continue;
        }
        for (int column = 1; column <= ExcelAddress::MaxColumns; ++column) {
            const QStringView text = cells.at(row, column);
            if (text.isEmpty()) {
                continue;
            }
            bool cut = false;
            const char* utf8 = encoder.encode(text, &cut);
            result.cutCells += cut ? 1 : 0;
            const lxw_error error = worksheet_write_string(sheet, lxw_row_t(row - 1),
                                                           lxw_col_t(column - 1), utf8, nullptr);
            result.refusedCells += error != LXW_NO_ERROR ? 1 : 0;
        }
    }
    result.cutCells += cells.cutTexts();
    if (losses) {
        *losses = result;
    }
    const lxw_error closed = workbook_close(workbook);
    if (closed != LXW_NO_ERROR) {
        return FileResult::cannotWrite(path, QString::fromUtf8(lxw_strerror(closed)));
    }
    if (!sheet) {
        return FileResult::cannotWrite(path, QStringLiteral("the worksheet could not be added"));
    }
    return FileResult::done(path);
}

} // namespace XlsxWorkbookWriter
