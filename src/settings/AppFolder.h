#pragma once

#include <QString>

/// The folder tree the application owns: a root, "System" below it with the settings file, and
/// the scratch, sound and database folders inside "System". Paths are returned without a
/// trailing "/".
class AppFolder final {
public:
    /// A tree under an explicit root (tests, or a caller that chose its own).
    explicit AppFolder(QString root);

    /// The executable's folder when it is a writable folder (portable use, tests); otherwise
    /// the per-user data folder ~/.local/share/qel2005 (an installed copy). Needs a
    /// QCoreApplication.
    static AppFolder resolve();
    /// The choice resolve() makes: `executableFolder` when it is a writable folder, otherwise
    /// `fallback` (or still `executableFolder` when there is no fallback).
    static QString chooseRoot(const QString& executableFolder, const QString& fallback);

    const QString& root() const { return m_root; }
    QString systemFolder() const;
    /// Scratch files; emptied whenever the settings are read.
    QString tempFolder() const;
    QString soundFolder() const;
    /// The default folder of database files.
    QString qelFolder() const;
    /// "System/0.dat".
    QString settingsFile() const;

    /// Creates the missing folders, in the order System, Temp, Sound, Qel (and the root first,
    /// which under the per-user data folder may not exist yet). A folder that cannot be
    /// created is skipped.
    void EnsureFolders() const;
    /// Deletes every file directly in the Temp folder; errors are ignored. Symbolic links are
    /// removed, never followed, and subfolders are left alone.
    void EmptyTempFolder() const;

private:
    QString m_root;
};
