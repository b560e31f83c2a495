#pragma once

#include "platform/Platform.h"

#include <memory>

class QSoundEffect;

/// The Platform of the running application: Qt's message box, input dialog, non-native file
/// dialogs and colour dialog, the system clipboard, the desktop services and QSoundEffect.
/// Dialogs are parented to the active window.
class QtPlatform final : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;
    Q_DISABLE_COPY_MOVE(QtPlatform)

    std::optional<qint32> colorDialog(qint32 initialColor) override;
    int runDialog(QDialog& dialog) override;

    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    void clearClipboard() override;

    bool openUrl(const QUrl& url) override;
    void playSound(const QString& wavPath) override;
    void endProcess() override;

    int processorMHz() override;
    qint64 physicalMemory() override;
    QString userName() override;
    QString documentsFolder() override;
    QStringList drives() override;

protected:
    MessageButton showMessageBox(const MessageBoxRequest& request) override;
    std::optional<QString> showInputBox(const InputBoxRequest& request) override;
    std::optional<FileChoice> showOpenFileDialog(const FileDialogRequest& request) override;
    std::optional<FileChoice> showSaveFileDialog(const FileDialogRequest& request) override;

private:
    // Kept alive between requests: QSoundEffect loads asynchronously and plays once loaded.
    std::unique_ptr<QSoundEffect> m_sound;
};
