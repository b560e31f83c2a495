#include "platform/Platform.h"

#include "platform/MessageButtonSet.h"
#include "text/ApplicationTitle.h"

namespace {
Platform* installedPlatform = nullptr;
}

Platform& Platform::current() {
    if (installedPlatform == nullptr) {
        qFatal("Platform::current(): no Platform is installed");
    }
    return *installedPlatform;
}

Platform* Platform::install(Platform* platform) {
    Platform* previous = installedPlatform;
    installedPlatform = platform;
    return previous;
}

MessageButton Platform::messageBox(const MessageBoxRequest& request) {
    MessageBoxRequest shown = request;
    if (shown.title.isEmpty()) {
        shown.title = applicationTitle();
    }
    const QList<MessageButton> offered = buttonsOf(shown.buttons);
    if (!shown.defaultButton || !offered.contains(*shown.defaultButton)) {
        shown.defaultButton = offered.first();
    }
    return showMessageBox(shown);
}

std::optional<QString> Platform::inputBox(const InputBoxRequest& request) {
    InputBoxRequest shown = request;
    if (shown.title.isEmpty()) {
        shown.title = applicationTitle();
    }
    return showInputBox(shown);
}

std::optional<FileChoice> Platform::openFileDialog(const FileDialogRequest& request) {
    FileDialogRequest shown = request;
    if (shown.title.isEmpty()) {
        shown.title = QStringLiteral("Open");
    }
    return showOpenFileDialog(shown);
}

std::optional<FileChoice> Platform::saveFileDialog(const FileDialogRequest& request) {
    FileDialogRequest shown = request;
    if (shown.title.isEmpty()) {
        shown.title = QStringLiteral("Save As");
    }
    return showSaveFileDialog(shown);
}
