#pragma once

#include <QString>

/// The outcome of a stand-in operation that can fail: the file it wrote or opened, or the
/// reason it failed.
struct ExcelOutcome {
    QString error; // empty on success
    QString path;
    int cutCells = 0; // texts cut to the longest a spreadsheet cell holds

    bool ok() const { return error.isEmpty(); }
};
