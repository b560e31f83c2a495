#pragma once

#include "platform/DialogTypes.h"

#include <QMessageBox>

#include <memory>
#include <optional>

class QFileDialog;
class QInputDialog;
class QWidget;

// The Qt dialogs QtPlatform shows, built and configured but not shown, so their texts, buttons
// and options can be checked without a modal loop. Requests arrive normalised by Platform.
namespace QtDialogs {

/// The object name of the Open dialog's "Open as read-only" check box.
inline constexpr char ReadOnlyCheckBoxName[] = "chkReadOnly";

std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request, QWidget* parent);
/// The button a finished message box reports, mapped back from Qt's standard buttons.
MessageButton messageBoxAnswer(const QMessageBox& box, MessageButtons offered);

std::unique_ptr<QInputDialog> buildInputBox(const InputBoxRequest& request, QWidget* parent);

/// A non-native Open dialog with the "Open as read-only" check box.
std::unique_ptr<QFileDialog> buildOpenDialog(const FileDialogRequest& request, QWidget* parent);
/// A non-native Save dialog that never asks about replacing a file.
std::unique_ptr<QFileDialog> buildSaveDialog(const FileDialogRequest& request, QWidget* parent);
/// The choice a confirmed file dialog reports (path, file title, read-only check box).
std::optional<FileChoice> fileDialogChoice(const QFileDialog& dialog);

} // namespace QtDialogs
