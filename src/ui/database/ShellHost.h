#pragma once

/// What the database window asks of the application shell above it: the start window after
/// the database window has closed, and the security window. The shell implements it; without
/// one, closing the database window only closes it.
class ShellHost {
public:
    virtual ~ShellHost() = default;

    /// The database window has closed (its closing steps are done): the start window shows
    /// again.
    virtual void databaseWindowClosed() = 0;
    /// "Edit General Password": the security window comes to the front (hidden and shown
    /// again when it is visible).
    virtual void showSecurityWindow() = 0;
};
