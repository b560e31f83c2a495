#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>

/// Which dialog a script step answers or a record describes.
enum class DialogKind { MessageBox, InputBox, OpenFile, SaveFile, Color, OwnDialog };

/// One dialog the code under test showed, as the user would have seen it (titles and default
/// buttons already filled in). Only the member of its kind is meaningful.
struct DialogRecord {
    DialogKind kind = DialogKind::MessageBox;
    MessageBoxRequest message{};
    InputBoxRequest input{};
    FileDialogRequest file{};
    qint32 initialColor = 0;
    /// The objectName of one of the application's own dialogs.
    QString dialogName{};
};

/// The Platform of tests. Constructing it installs it (and the destructor puts back the one it
/// replaced). Each dialog the code under test shows is answered from a queue the test fills
/// beforehand and recorded. A dialog that the queue does not expect, of the wrong kind or
/// beyond its end, fails the running test at once and gets the answer that commits to the
/// least (Cancel, No, nothing chosen); it never blocks. A queue left with unused answers fails
/// the test too, when the platform is destroyed inside a test function or on
/// verifyAllAnswered().
///
/// Outside effects are recorded instead of done: the clipboard is an in-memory text, URLs,
/// sounds and requests to end the process are listed. The system facts are settable; the
/// documents folder defaults to a temporary folder of its own.
class ScriptedPlatform final : public Platform {
public:
    ScriptedPlatform();
    ~ScriptedPlatform() override;
    Q_DISABLE_COPY_MOVE(ScriptedPlatform)

    // --- the script ------------------------------------------------------------------------
    void answerMessageBox(MessageButton button);
    void answerInputBox(const QString& text);
    void cancelInputBox();
    void answerOpenDialog(const QString& path, bool readOnly = false);
    void cancelOpenDialog();
    void answerSaveDialog(const QString& path);
    void cancelSaveDialog();
    void answerColorDialog(qint32 color);
    void cancelColorDialog();
    /// Answers one of the application's own dialogs: `user` works it as a user would (types
    /// into it, clicks), instead of a modal loop; the dialog's result code is returned after.
    void answerDialog(std::function<void(QDialog& dialog)> user);

    /// Answers still waiting for their dialog.
    qsizetype pendingAnswers() const { return qsizetype(m_script.size()); }
    /// Fails the running test when answers are left; drops them.
    void verifyAllAnswered();

    // --- what happened ---------------------------------------------------------------------
    const QList<DialogRecord>& dialogs() const { return m_dialogs; }
    /// The message boxes alone, in order.
    QList<MessageBoxRequest> messageBoxes() const;
    void clearRecords();

    const QList<QUrl>& openedUrls() const { return m_openedUrls; }
    const QStringList& playedSounds() const { return m_playedSounds; }
    int endProcessCalls() const { return m_endProcessCalls; }

    // --- the system's facts ----------------------------------------------------------------
    void setProcessorMHz(int mhz) { m_processorMHz = mhz; }
    void setPhysicalMemory(qint64 bytes) { m_physicalMemory = bytes; }
    void setUserName(const QString& name) { m_userName = name; }
    void setDocumentsFolder(const QString& folder) { m_documentsFolder = folder; }
    void setDrives(const QStringList& drives) { m_drives = drives; }
    /// What openUrl reports back (true: the desktop took it).
    void setOpenUrlResult(bool result) { m_openUrlResult = result; }

    // --- Platform --------------------------------------------------------------------------
    std::optional<qint32> colorDialog(qint32 initialColor) override;
    int runDialog(QDialog& dialog) override;
    void setClipboardText(const QString& text) override { m_clipboard = text; }
    QString clipboardText() override { return m_clipboard; }
    void clearClipboard() override { m_clipboard.clear(); }
    bool openUrl(const QUrl& url) override;
    void playSound(const QString& wavPath) override { m_playedSounds.append(wavPath); }
    void endProcess() override { ++m_endProcessCalls; }
    int processorMHz() override { return m_processorMHz; }
    qint64 physicalMemory() override { return m_physicalMemory; }
    QString userName() override { return m_userName; }
    QString documentsFolder() override;
    QStringList drives() override { return m_drives; }

protected:
    MessageButton showMessageBox(const MessageBoxRequest& request) override;
    std::optional<QString> showInputBox(const InputBoxRequest& request) override;
    std::optional<FileChoice> showOpenFileDialog(const FileDialogRequest& request) override;
    std::optional<FileChoice> showSaveFileDialog(const FileDialogRequest& request) override;

private:
    /// One scripted answer; `given` false stands for Cancel in an input, file or colour dialog.
    struct Answer {
        DialogKind kind = DialogKind::MessageBox;
        bool given = false;
        MessageButton button = MessageButton::Ok;
        QString text{};
        FileChoice file{};
        qint32 color = 0;
        std::function<void(QDialog&)> user{};
    };

    /// Records the dialog and hands out the next answer when it is of this kind; otherwise
    /// fails the test and answers nothing (`given` false).
    Answer take(const DialogRecord& record);
    static FileChoice choiceFor(const QString& path, bool readOnly);

    Platform* m_previous = nullptr;
    std::deque<Answer> m_script;
    QList<DialogRecord> m_dialogs;
    QString m_clipboard;
    QList<QUrl> m_openedUrls;
    QStringList m_playedSounds;
    int m_endProcessCalls = 0;
    bool m_openUrlResult = true;
    int m_processorMHz = 1000;
    qint64 m_physicalMemory = qint64(8) << 30;
    QString m_userName = QStringLiteral("tester");
    QString m_documentsFolder;
    QStringList m_drives = {QStringLiteral("/")};
    std::unique_ptr<QTemporaryDir> m_ownDocuments;
};
