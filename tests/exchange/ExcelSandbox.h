#pragma once

#include "exchange/ExcelEnvironment.h"

#include <QStringList>
#include <QTemporaryDir>

/// A documents folder and a working folder of a test's own for the spreadsheet stand-in, and
/// the paths it asked the desktop to open.
class ExcelSandbox final {
public:
    ExcelSandbox() = default;
    Q_DISABLE_COPY_MOVE(ExcelSandbox)

    ExcelEnvironment environment() {
        return {m_documents.path(), m_temp.path(),
                [this](const QString& path) { opened.append(path); }};
    }
    /// The same, with a working folder that does not exist: the stand-in cannot start.
    ExcelEnvironment unavailable() {
        ExcelEnvironment broken = environment();
        broken.tempFolder = m_temp.filePath(QStringLiteral("missing"));
        return broken;
    }
    QString documents() const { return m_documents.path(); }

    QStringList opened;

private:
    QTemporaryDir m_documents;
    QTemporaryDir m_temp;
};
