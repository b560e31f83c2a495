#pragma once

#include <QString>

/// The security window as its commands see it: the three password boxes and the caption of
/// the button that shows whether a general password is set. The window implements it; tests
/// may give a plain stand-in.
class SecurityWindow {
public:
    virtual ~SecurityWindow() = default;

    enum class Box { OldPassword, NewPassword, ConfirmNewPassword };

    virtual QString boxText(Box box) const = 0;
    virtual void emptyBox(Box box) = 0;
    virtual void focusBox(Box box) = 0;
    /// The caption of cmdPasswordON.
    virtual void showStateCaption(const QString& caption) = 0;
};
