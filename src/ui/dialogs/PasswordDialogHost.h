#pragma once

#include <QString>

/// What the database password dialogs ask of the database window, which implements it.
class PasswordDialogHost {
public:
    virtual ~PasswordDialogHost() = default;

    /// The option "Database Password is Enabled": while it is off, a new password is the
    /// no-password marker, given without asking.
    virtual bool databasePasswordEnabled() const = 0;
    /// The database window's caption, which the "was not saved" message starts with.
    virtual QString databaseWindowCaption() const = 0;
    /// The table still needs saving: the dirty flag becomes "1".
    virtual void markDatabaseChanged() = 0;
    /// Closes the database window, with its own closing steps.
    virtual void closeDatabaseWindow() = 0;
};
