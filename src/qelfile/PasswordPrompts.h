#pragma once

#include <QLatin1String>
#include <QString>

#include <optional>

/// The password stored in a file that has no database password: written when the database
/// password option is off, and let in without a prompt when read.
inline constexpr QLatin1String NoPasswordMarker("!Dor@7%K");

/// What the database file asks of the user about passwords; the database password dialogs
/// implement it, tests script it. Every call blocks until the user has answered.
class PasswordPrompts {
public:
    virtual ~PasswordPrompts() = default;

    /// frmPassword.ShowForm(stored): the user must enter `stored`; true lets them open the file.
    /// Never called for an empty stored password or NoPasswordMarker: the reader lets those in
    /// itself, so the dialog never shows for them. On false the table and the document stay as
    /// they were and OpenFile reports PasswordRefused; closing the database window after a
    /// cancel or too many wrong entries is the dialog's business.
    virtual bool checkPassword(const QString& stored) = 0;

    /// frmSetPassword.ShowForm(): the confirmed new password (NoPasswordMarker when database
    /// passwords are off), or nothing when the user cancelled. On cancel the dialog itself
    /// tells the user the database was not saved.
    virtual std::optional<QString> askNewPassword() = 0;

    /// A protected SaveFileAs has reached the disk: tell the user "Saved". Called only after
    /// the file is complete and in place, never when the save failed.
    virtual void announceSaved() = 0;
};
