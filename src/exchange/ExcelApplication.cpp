#include "exchange/ExcelApplication.h"

#include "exchange/ExcelAddress.h"
#include "exchange/Workbook.h"
#include "exchange/sheets/XlsxWorkbookWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

std::unique_ptr<ExcelApplication> ExcelApplication::create(const ExcelEnvironment& environment) {
    const QFileInfo folder(environment.tempFolder);
    if (environment.tempFolder.isEmpty() || !folder.isDir() || !folder.isWritable()) {
        return nullptr;
    }
    return std::unique_ptr<ExcelApplication>(new ExcelApplication(environment));
}

ExcelApplication::ExcelApplication(const ExcelEnvironment& environment)
    : m_environment(environment) {}

ExcelApplication::~ExcelApplication() = default;

FileResult ExcelApplication::setVisible(bool value) {
    if (m_quit || value == m_visible) {
        return FileResult::done();
    }
    m_visible = value;
    return value ? showActiveWorkbook() : FileResult::done();
}

FileResult ExcelApplication::showActiveWorkbook() {
    const Workbook* workbook = m_workbooks.active();
    if (!workbook) {
        return FileResult::done();
    }
    QString path = workbook->path();
    if (path.isEmpty()) {
        // Written under a temporary name first, so a failed write leaves no half file behind
        // and the final name is taken only by a complete workbook.
        const QString folder = m_environment.documentsFolder;
        if (folder.isEmpty() || !QDir().mkpath(folder)) {
            return FileResult::cannotWrite(folder,
                                           QStringLiteral("the documents folder is not available"));
        }
        QTemporaryFile temporary(QDir(folder).filePath(QStringLiteral(".qel-export-XXXXXX.xlsx")));
        if (!temporary.open()) {
            return FileResult::cannotWrite(temporary.fileTemplate(), temporary.errorString());
        }
        temporary.close();
        XlsxWorkbookWriter::Losses losses;
        const FileResult written = XlsxWorkbookWriter::write(
            workbook->cells(), temporary.fileName(), m_environment.tempFolder, &losses);
        if (!written.ok()) {
            return written;
        }
        m_cutCells = losses.cutCells;
        // Renaming never replaces an existing file, so a name taken meanwhile is skipped.
        for (int n = 1;; ++n) {
            const QString candidate = QDir(folder).filePath(QStringLiteral("Book%1.xlsx").arg(n));
            if (QFileInfo::exists(candidate)) {
                continue;
            }
            if (temporary.rename(candidate)) {
                temporary.setAutoRemove(false);
                path = candidate;
                break;
            }
            if (QFileInfo::exists(candidate)) {
                continue;
            }
            return FileResult::cannotWrite(candidate, temporary.errorString());
        }
    }
    if (m_environment.openWithDesktop) {
        m_environment.openWithDesktop(path);
    }
    return FileResult::done(path);
}

QString ExcelApplication::Range(QStringView address) const {
    Workbook* workbook = m_workbooks.active();
    const std::optional<ExcelAddress::Position> cell = ExcelAddress::parse(address);
    if (!workbook || !cell) {
        return QString();
    }
    return workbook->value(cell->row, cell->column).toString();
}

bool ExcelApplication::setRange(QStringView address, QStringView text) {
    Workbook* workbook = m_workbooks.active();
    const std::optional<ExcelAddress::Position> cell = ExcelAddress::parse(address);
    return workbook && cell && workbook->setValue(cell->row, cell->column, text);
}

void ExcelApplication::Quit() {
    m_workbooks.close();
    m_quit = true;
}
