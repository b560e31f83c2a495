#pragma once

#include <QString>
#include <QtGlobal>

/// What a SearchFolder reports as it goes, called on the thread that runs the search: the
/// search window's counters, found files and status line follow these calls.
class SearchListener {
public:
    virtual ~SearchListener() = default;

    /// `count` more folder entries were examined ("." and ".." included): FileNumber.
    virtual void examined(qint64 count) = 0;
    /// A matching file, by its full path, and the folder it lies in (ending in "/"): one more
    /// entry of FileList and FundFileNumber, and the folder LastFoundFile names.
    virtual void found(const QString& path, const QString& folder) = 0;
    /// The Status line changed: "Searching..." or empty.
    virtual void statusChanged(const QString& status) = 0;
};
