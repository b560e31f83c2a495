#pragma once

#include <QObject>
#include <QString>

/// The search window's hidden file list: it holds the chosen file split into its folder and
/// name, and its tag carries the mark "Cancel" that the database window's New command leaves
/// when the user cancels its question.
class FileNameList final : public QObject {
    Q_OBJECT

public:
    explicit FileNameList(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FileNameList)

    /// Points the list at a folder; no file is chosen.
    void setPath(const QString& folder);
    /// Chooses a file by its full path.
    void setFileName(const QString& fullPath);
    /// The folder, without a trailing "/" (but "/" itself).
    const QString& path() const { return m_path; }
    /// The chosen file's name, without its folder; empty when none is chosen.
    const QString& fileName() const { return m_fileName; }

    const QString& tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

private:
    QString m_path;
    QString m_fileName;
    QString m_tag;
};
