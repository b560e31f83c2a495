#include "gridview/List.h"

#include "gridview/GridGeometry.h"
#include "qelfile/DatabaseFile.h"

void List::setPasswordPrompts(PasswordPrompts* prompts) {
    m_file->setPasswordPrompts(prompts);
}

void List::setReadProgress(std::function<void(qint64, qint64)> progress) {
    m_file->setReadProgress(std::move(progress));
}

bool List::iIsEncrypted() const {
    return m_file->iIsEncrypted();
}
QString List::sFileName() const {
    return m_file->sFileName();
}

void List::redrawAfterLoad() {
    m_topOffset = GridGeometry::clampTopOffset(areaHeight(), contentHeight(), m_topOffset);
    LayoutColumns();
    BuildHeader();
    FitNumberColumn();
    RenderColumn(-1);
    SetScrollers();
}

FileResult List::OpenFile(const QString& filename) {
    HideEditors();
    const FileResult result = m_file->OpenFile(filename);
    if (result.ok()) {
        // A loaded table has no current row.
        m_table.setISelected(0);
        m_table.setISelectedColumn(0);
    }
    redrawAfterLoad();
    return result;
}

FileResult List::SaveFile(const QString& filename, bool Encrypted) {
    return m_file->SaveFile(filename, Encrypted);
}

FileResult List::SaveFileAs(const QString& filename, bool Encrypted) {
    return m_file->SaveFileAs(filename, Encrypted);
}
