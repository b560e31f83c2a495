#pragma once

#include <QByteArray>
#include <QStringList>

/// Whether a mounted file system of this type holds the user's files on a local device: false
/// for the kernel's pseudo file systems, memory-backed ones, snap images and network shares.
bool isLocalFileSystemType(const QByteArray& type);

/// The root paths of the mounted, ready local file systems, each once, "/" first and the
/// others in path order.
QStringList localDriveRoots();
