#pragma once

#include "exchange/ExcelEnvironment.h"
#include "exchange/ExcelWorkbooks.h"
#include "text/FileResult.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <memory>

/// The in-process stand-in for the spreadsheet program's automation object
/// "excel.application", with the operations the exchange drives: DisplayAlerts, Visible,
/// Workbooks.add, Workbooks.open, Range by address on the active sheet, and Quit. Releasing
/// it is destroying it. A new workbook becomes a real .xlsx file when the object is made
/// visible: written as a new "BookN.xlsx" in the documents folder, never over an existing
/// file, and handed to the desktop to show.
class ExcelApplication final {
public:
    /// Starts the stand-in; nullptr when it cannot run (its working folder is not a writable
    /// folder), which callers treat as the spreadsheet program being unavailable.
    static std::unique_ptr<ExcelApplication> create(const ExcelEnvironment& environment);
    ~ExcelApplication();
    Q_DISABLE_COPY_MOVE(ExcelApplication)

    bool DisplayAlerts() const { return m_displayAlerts; }
    /// The stand-in never asks anything; the property is kept for callers that set it.
    void setDisplayAlerts(bool value) { m_displayAlerts = value; }

    bool Visible() const { return m_visible; }
    /// Showing a new workbook writes it as "BookN.xlsx" and asks the desktop to show it (an
    /// opened workbook is shown as its own file). Hiding, or showing again, does nothing more.
    /// The result names the file, or why it could not be written.
    FileResult setVisible(bool value);
    /// How many texts the workbook last written had to be cut to the longest a cell holds.
    int cutCells() const { return m_cutCells; }

    ExcelWorkbooks& Workbooks() { return m_workbooks; }

    /// The value of a cell of the active sheet, addressed as "A1" .. "AF1048576"; "" for an
    /// empty cell, another address, or no active workbook.
    QString Range(QStringView address) const;
    /// Sets a cell of the active sheet; false (and nothing changes) for another address or no
    /// active workbook.
    bool setRange(QStringView address, QStringView text);

    /// Ends the stand-in: every workbook is discarded unsaved; nothing works afterwards.
    void Quit();

private:
    explicit ExcelApplication(const ExcelEnvironment& environment);
    FileResult showActiveWorkbook();

    ExcelEnvironment m_environment;
    ExcelWorkbooks m_workbooks;
    bool m_displayAlerts = true;
    bool m_visible = false;
    bool m_quit = false;
    int m_cutCells = 0;
};
