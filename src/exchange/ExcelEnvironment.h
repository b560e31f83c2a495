#pragma once

#include "exchange/ImportBudget.h"

#include <QString>

#include <functional>

/// What the spreadsheet stand-in needs from the system around it. The Platform layer fills it
/// in for the application; tests fill it with folders of their own and record what the
/// desktop is asked to open.
struct ExcelEnvironment {
    /// Where an exported workbook is saved ("BookN.xlsx").
    QString documentsFolder;
    /// The stand-in's working folder. When it is not a writable folder the stand-in cannot
    /// start, which the application takes as the spreadsheet program being unavailable.
    QString tempFolder;
    /// Shows a written workbook with the desktop's spreadsheet application.
    std::function<void(const QString& path)> openWithDesktop;
    /// The most memory an import may fill with text, in bytes (see ImportBudget); the
    /// application derives it from the machine's memory.
    qint64 importBudget = ImportBudget::limitForMemory(0);
};
