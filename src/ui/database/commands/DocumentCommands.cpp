#include "ui/database/commands/DocumentCommands.h"

#include "gridview/List.h"
#include "platform/Platform.h"
#include "settings/FileChecks.h"
#include "settings/SettingsRecord.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/commands/DefaultTable.h"
#include "ui/database/commands/DocumentWindow.h"

#include <QFileInfo>

namespace {

const QString kUnsaved = QStringLiteral("Database [ Unsaved ]");
const QString kOpening = QStringLiteral("Open Database...");
// What the progress frame says once an open is over, ready for the next export.
const QString kCaptionAfterOpen = QStringLiteral("Exporting data into Microsoft Excel:");
const QString kCaptionAfterFoundFile =
    QStringLiteral("QeL 2005 is exporting data into Microsoft Excel file:");
const QString kExtension = QStringLiteral(".QEL");
constexpr int kColumnSteps = 32;

// The window's own reshaping of the table is no change of the user's.
class ChangeMarksSuspended final {
public:
    explicit ChangeMarksSuspended(DocumentWindow& window) : m_window(window) {
        m_window.suspendChangeMarks(true);
    }
    ~ChangeMarksSuspended() { m_window.suspendChangeMarks(false); }
    Q_DISABLE_COPY_MOVE(ChangeMarksSuspended)

private:
    DocumentWindow& m_window;
};

QString withoutTrailingSpaces(QString text) {
    while (text.endsWith(u' ')) {
        text.chop(1);
    }
    return text;
}

} // namespace

DocumentCommands::DocumentCommands(List& list, Platform& platform, DocumentWindow& window,
                                   DatabaseSession& session)
    : m_list(list), m_platform(platform), m_window(window), m_session(session) {}

QString DocumentCommands::fileFilter() {
    return QStringLiteral("Qel Database (*.QEL)|*.QEL|");
}

// --- the question ----------------------------------------------------------------------------

namespace {

MessageButton askSaveChanges(Platform& platform, const DocumentWindow& window) {
    return platform.messageBox({.text = QStringLiteral("Save Changes?"),
                                .title = window.title(),
                                .buttons = MessageButtons::YesNoCancel,
                                .icon = MessageIcon::Question,
                                .defaultButton = MessageButton::Cancel});
}

} // namespace

bool DocumentCommands::mayDiscardChanges() {
    if (!m_window.isDirty()) {
        return true;
    }
    switch (askSaveChanges(m_platform, m_window)) {
    case MessageButton::Yes:
        // Saved, and that is all this command does.
        save();
        return false;
    case MessageButton::No:
        return true;
    default:
        return false;
    }
}

bool DocumentCommands::mayClose() {
    return mayDiscardChanges();
}

// --- new and open ------------------------------------------------------------------------------

void DocumentCommands::NEWLIST() {
    if (m_window.isDirty()) {
        switch (askSaveChanges(m_platform, m_window)) {
        case MessageButton::Yes:
            save();
            // A save that did not happen (cancelled, failed) keeps the search window from
            // opening a file over the changes.
            if (m_window.isDirty()) {
                m_window.markSearchCancel();
            }
            return;
        case MessageButton::No:
            m_window.setDirty(false);
            break;
        default:
            m_window.markSearchCancel();
            return;
        }
    }
    {
        const ChangeMarksSuspended suspended(m_window);
        m_list.ClearEntireList();
        DefaultTable::apply(m_list, m_platform);
    }
    m_window.setTitle(kUnsaved);
    m_window.clearEditBar();
}

void DocumentCommands::open() {
    if (!mayDiscardChanges()) {
        return;
    }
    const std::optional<FileChoice> choice =
        m_platform.openFileDialog({.filter = fileFilter(), .folder = m_session.folder.qelFolder()});
    if (!choice || choice->path.isEmpty()) {
        return;
    }
    // The file open so far stays the one Save writes until the new one has been read: a file
    // that cannot be read must not be overwritten with the table still shown.
    if (!General::FileExists(choice->path) || !load(choice->path)) {
        return;
    }
    m_currentPath = choice->path;
    m_fileTitle = choice->fileTitle;
    PISEFILEADRES();
    m_list.SelectItem(1, 1);
    if (choice->readOnly) {
        m_window.setTitle(QStringLiteral("Qel READ-ONLY [") + m_fileTitle + QStringLiteral(" ]"));
        finishOpen(Editing::ReadOnly, kCaptionAfterOpen);
    } else {
        m_window.setTitle(QStringLiteral("Database [ ") + withoutTrailingSpaces(m_fileTitle) +
                          QStringLiteral(" ]"));
        finishOpen(Editing::Allowed, kCaptionAfterOpen);
    }
}

void DocumentCommands::openPath(const QString& path) {
    if (!mayDiscardChanges()) {
        return;
    }
    // A file that is missing or unreadable is said so by the read.
    if (!load(path)) {
        return;
    }
    m_currentPath = path;
    m_fileTitle = QFileInfo(path).fileName();
    PISEFILEADRES();
    m_list.SelectItem(1, 1);
    m_window.setTitle(QStringLiteral("Database [ ") + withoutTrailingSpaces(m_fileTitle) +
                      QStringLiteral(" ]"));
    finishOpen(Editing::Allowed, kCaptionAfterOpen);
}

void DocumentCommands::openRecent(int slot) {
    if (slot < 1 || slot > 3) {
        return;
    }
    RecentFileSlot& entry = m_session.settings.frmItemsfile[size_t(slot - 1)];
    if (!General::FileExists(entry.path)) {
        entry = RecentFileSlot();
        m_window.showRecentEntry(slot, QString());
        return;
    }
    if (!mayDiscardChanges()) {
        return;
    }
    const RecentFileSlot chosen = entry;
    if (!load(chosen.path)) {
        return;
    }
    m_list.SelectItem(1, 1);
    // The file's own name too, so Save writes the file that is open instead of asking for one.
    m_currentPath = chosen.path;
    m_fileTitle = QFileInfo(chosen.path).fileName();
    m_window.setTitle(QStringLiteral("Database [ ") + chosen.name + QStringLiteral(" ]"));
    finishOpen(Editing::Allowed, kCaptionAfterOpen);
}

void DocumentCommands::openFoundFile(const QString& path, const QString& fileName) {
    if (!load(path)) {
        return;
    }
    m_currentPath = path;
    m_fileTitle = fileName;
    PISEFILEADRES(fileName);
    m_list.SelectItem(1, 1);
    m_window.setTitle(QStringLiteral("Database [ ") + fileName + QStringLiteral(" ]"));
    finishOpen(Editing::Allowed, kCaptionAfterFoundFile);
}

bool DocumentCommands::load(const QString& path) {
    m_window.showOpenProgress(kOpening);
    m_window.setOpenProgress(0, kColumnSteps);
    m_list.setReadProgress(
        [this](qint64 done, qint64 total) { m_window.setOpenProgress(done, total); });
    FileResult result;
    {
        const ChangeMarksSuspended suspended(m_window);
        result = m_list.OpenFile(path);
    }
    m_list.setReadProgress({});
    switch (result.status) {
    case FileResult::Status::Done:
        return true;
    case FileResult::Status::Incomplete:
        // What could be read is kept, as an unsaved table: it is not the whole file, and
        // saving it must not replace the file.
        m_window.hideOpenProgress(kCaptionAfterOpen);
        m_platform.messageBox({.text = result.reason, .icon = MessageIcon::Critical});
        m_currentPath.clear();
        m_fileTitle.clear();
        m_window.setTitle(kUnsaved);
        finishOpen(Editing::Allowed, kCaptionAfterOpen);
        m_window.setDirty(true);
        return false;
    case FileResult::Status::Failed:
        m_window.hideOpenProgress(kCaptionAfterOpen);
        m_platform.messageBox({.text = result.reason, .icon = MessageIcon::Critical});
        return false;
    default:
        // A refused password: the table is as it was, and the password dialog has closed the
        // window when it had to.
        m_window.hideOpenProgress(kCaptionAfterOpen);
        return false;
    }
}

void DocumentCommands::finishOpen(Editing editing, const QString& caption) {
    for (int column = 1; column <= m_list.ColumnCount(); ++column) {
        m_window.setOpenProgress(column, kColumnSteps);
        if (editing == Editing::ReadOnly) {
            m_list.DisableEdit(column);
        } else {
            m_list.EnableEdit(column);
        }
    }
    m_readOnly = editing == Editing::ReadOnly;
    m_window.setEditingLocked(m_readOnly);
    m_window.hideOpenProgress(caption);
    m_window.setDirty(false);
}

// --- save ---------------------------------------------------------------------------------

void DocumentCommands::save() {
    if (m_window.title() == kUnsaved || m_fileTitle.isEmpty() ||
        !General::FileExists(m_currentPath)) {
        saveAs();
        return;
    }
    settle(m_list.SaveFile(m_currentPath, true));
}

void DocumentCommands::saveAs() {
    FileDialogRequest request{.filter = fileFilter(), .folder = m_session.folder.qelFolder()};
    if (m_window.title() == kUnsaved) {
        request.fileName = QStringLiteral("Database1.QEL");
    }
    const std::optional<FileChoice> choice = m_platform.saveFileDialog(request);
    if (!choice) {
        return;
    }
    takeSavedName(choice->path, choice->fileTitle);
    if (General::FileExists(m_currentPath) &&
        m_platform.messageBox({.text = QStringLiteral("Database ") + m_currentPath +
                                       QStringLiteral(" already exist. Replace file?"),
                               .buttons = MessageButtons::YesNo}) != MessageButton::Yes) {
        m_window.setDirty(true);
        return;
    }
    // Only a file that was written joins the recent list.
    if (settle(m_list.SaveFile(m_currentPath, true))) {
        PISEFILEADRES();
    }
}

void DocumentCommands::takeSavedName(const QString& path, const QString& fileTitle) {
    m_fileTitle = fileTitle;
    if (path.endsWith(kExtension)) {
        m_currentPath = path;
        m_window.setTitle(QStringLiteral("Database [") + fileTitle + QStringLiteral("]"));
    } else {
        m_currentPath = path + kExtension;
        m_window.setTitle(QStringLiteral("Database [") + fileTitle + kExtension +
                          QStringLiteral("]"));
    }
}

bool DocumentCommands::settle(const FileResult& result) {
    switch (result.status) {
    case FileResult::Status::Done:
        m_window.setDirty(false);
        return true;
    case FileResult::Status::Cancelled:
        // The password dialog has said that nothing was saved, and marked the table changed.
        return false;
    default:
        m_platform.messageBox({.text = result.reason, .icon = MessageIcon::Critical});
        m_window.setDirty(true);
        return false;
    }
}

// --- the recent files ------------------------------------------------------------------------

void DocumentCommands::PISEFILEADRES(const QString& displayName) {
    std::array<RecentFileSlot, 3>& recent = m_session.settings.frmItemsfile;
    int& next = m_session.nextRecentSlot;
    next = std::clamp(next, 1, 3);
    for (int slot = 1; slot <= 3; ++slot) {
        if (slot != next && recent[size_t(slot - 1)].path == m_currentPath) {
            return;
        }
    }
    QString name = displayName.isEmpty() ? m_fileTitle : displayName;
    if (!name.endsWith(kExtension)) {
        name += kExtension;
    }
    recent[size_t(next - 1)] = {m_currentPath, name};
    next = next % 3 + 1;
    for (int slot = 1; slot <= 3; ++slot) {
        m_window.showRecentEntry(slot, recent[size_t(slot - 1)].name);
    }
}
