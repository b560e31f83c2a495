#pragma once

#include "platform/DialogTypes.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtGlobal>

#include <optional>

class QDialog;

/// Everything that blocks on the user or reaches outside the application: message and input
/// boxes, the file and colour dialogs, the clipboard, the desktop, sound, ending the process
/// and the few facts read from the system. The application installs a QtPlatform at start-up;
/// tests install a scripted one that answers from a queue. Code reaches the installed one
/// through Platform::current().
///
/// The dialog members normalise their request (the application title for an empty title, the
/// first button as default when none is named) before the implementation sees it, so every
/// implementation and every test record shows what the user would see.
class Platform {
public:
    virtual ~Platform() = default;

    /// The installed platform. Installing none is a programming error and ends the process
    /// with a message rather than letting a dialog block a test.
    static Platform& current();
    /// Installs `platform` (not owned; nullptr uninstalls) and returns the one it replaces.
    static Platform* install(Platform* platform);

    /// Shows a modal message box and returns the button pressed.
    MessageButton messageBox(const MessageBoxRequest& request);
    /// Shows a modal input box; no value when the user cancelled.
    std::optional<QString> inputBox(const InputBoxRequest& request);
    /// The Open dialog, with its "Open as read-only" check box; no value when cancelled.
    std::optional<FileChoice> openFileDialog(const FileDialogRequest& request);
    /// The Save dialog; it never asks about replacing a file (callers ask themselves). No
    /// value when cancelled.
    std::optional<FileChoice> saveFileDialog(const FileDialogRequest& request);
    /// The colour dialog starting at `initialColor` (0x00BBGGRR); no value when cancelled.
    virtual std::optional<qint32> colorDialog(qint32 initialColor) = 0;
    /// Shows one of the application's own dialogs modally and returns once it is hidden or
    /// finished, with its result code.
    virtual int runDialog(QDialog& dialog) = 0;

    /// The clipboard as plain text.
    virtual void setClipboardText(const QString& text) = 0;
    virtual QString clipboardText() = 0;
    virtual void clearClipboard() = 0;

    /// Hands a web address or a local file to the desktop; false when it refused.
    virtual bool openUrl(const QUrl& url) = 0;
    bool openLocalFile(const QString& path) { return openUrl(QUrl::fromLocalFile(path)); }

    /// Plays a .wav file once without waiting for it; silent on any failure.
    virtual void playSound(const QString& wavPath) = 0;

    /// Ends the application at once: the event loop stops and no window runs its closing
    /// steps. The call returns; the caller must not go on with its own work.
    virtual void endProcess() = 0;

    /// The speed of the first processor in MHz, 0 when the system does not say.
    virtual int processorMHz() = 0;
    /// The machine's physical memory in bytes, 0 when the system does not say.
    virtual qint64 physicalMemory() = 0;
    /// The login name of the current user.
    virtual QString userName() = 0;
    /// The user's documents folder.
    virtual QString documentsFolder() = 0;
    /// The root paths of the mounted local file systems, "/" first.
    virtual QStringList drives() = 0;

protected:
    virtual MessageButton showMessageBox(const MessageBoxRequest& request) = 0;
    virtual std::optional<QString> showInputBox(const InputBoxRequest& request) = 0;
    virtual std::optional<FileChoice> showOpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> showSaveFileDialog(const FileDialogRequest& request) = 0;
};
