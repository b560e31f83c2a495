#pragma once

#include <QString>

#include <optional>

// The value types that cross the Platform interface: what a dialog is asked to show and what
// the user answered. Plain data, so the scripted test platform can record and compare them.

/// The button sets a message box offers.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

/// The icon a message box shows.
enum class MessageIcon { None, Critical, Question, Exclamation, Information };

/// One button of a message box: what the user pressed, or which button is the default.
enum class MessageButton { Ok, Cancel, Yes, No, Retry };

/// A modal message box. An empty title shows the application title; without a default button
/// the first button of the set is the default.
struct MessageBoxRequest {
    QString text{};
    QString title{};
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    std::optional<MessageButton> defaultButton{};

    friend bool operator==(const MessageBoxRequest&, const MessageBoxRequest&) = default;
};

/// A modal input box asking for one line of text. An empty title shows the application title.
struct InputBoxRequest {
    QString prompt{};
    QString title{};
    QString defaultText{};

    friend bool operator==(const InputBoxRequest&, const InputBoxRequest&) = default;
};

/// An Open or Save dialog. `filter` is written as description|patterns pairs separated by "|"
/// ("Qel Database (*.QEL)|*.QEL|"); a description with no pattern part lists every file.
/// `fileName` presets the name field (Save dialog). An empty title shows "Open" or "Save As".
struct FileDialogRequest {
    QString title{};
    QString filter{};
    QString folder{};
    QString fileName{};

    friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

/// A confirmed Open or Save dialog: the full path, the file name without its folder, and for
/// the Open dialog the state of its "Open as read-only" check box.
struct FileChoice {
    QString path{};
    QString fileTitle{};
    bool readOnly = false;

    friend bool operator==(const FileChoice&, const FileChoice&) = default;
};
