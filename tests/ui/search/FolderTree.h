#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

/// A folder tree for the search tests, made in a temporary folder from relative paths:
/// "a/b/" is a folder, "a/x.QEL" a file, "a/l -> ../b" a symbolic link and "a/f|" a named
/// pipe. Missing parent folders are made on the way.
class FolderTree final {
public:
    explicit FolderTree(const QStringList& entries);
    Q_DISABLE_COPY_MOVE(FolderTree)

    /// The root, without a trailing "/".
    QString root() const { return m_folder.path(); }
    /// A path below the root ("" for the root itself), with a trailing "/" for a folder.
    QString path(const QString& relative) const { return root() + u'/' + relative; }

    /// Adds entries below the root.
    void add(const QStringList& entries) const;

private:
    QTemporaryDir m_folder;
};

/// The names of a folder's entries in the order the file system lists them.
QStringList listingOrder(const QString& folder);

/// Makes folders closed to this thread while it lives, even for the superuser: chmod 000
/// alone does not stop a process that may override file permissions, so this drops that
/// power from the thread (and the threads it starts) and gives it back afterwards.
class NoPermissionOverride final {
public:
    NoPermissionOverride();
    ~NoPermissionOverride();
    Q_DISABLE_COPY_MOVE(NoPermissionOverride)

private:
    bool m_dropped = false;
};
