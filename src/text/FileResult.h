#pragma once

#include <QString>

#include <memory>

/// How an operation on a file ended, and why when it did not succeed. Every operation that can
/// fail on input or output returns one; the reason of a failure names the file, so a window can
/// show it as it stands.
struct [[nodiscard]] FileResult {
    enum class Status {
        Done,
        /// The user cancelled (a new password): nothing was written.
        Cancelled,
        /// The password was refused: the table and the document are as they were.
        PasswordRefused,
        /// The file could not be read or written; `reason` says why.
        Failed,
        /// The file could be read only in part: what was read replaced what was there before,
        /// and `reason` says why the rest could not be read.
        Incomplete,
    };

    Status status = Status::Done;
    /// The file the operation read or wrote, or tried to.
    QString path;
    /// Empty unless the operation failed.
    QString reason;

    bool ok() const { return status == Status::Done; }

    static FileResult done(QString path = {}) { return {Status::Done, std::move(path), {}}; }
    static FileResult cancelled() { return {Status::Cancelled, {}, {}}; }
    static FileResult refused() { return {Status::PasswordRefused, {}, {}}; }
    /// Failed: "Cannot read "<path>": <why>".
    static FileResult cannotRead(const QString& path, const QString& why);
    /// Failed: "Cannot write "<path>": <why>".
    static FileResult cannotWrite(const QString& path, const QString& why);
    /// Incomplete: "Cannot read all of "<path>": <why>".
    static FileResult readInPart(const QString& path, const QString& why);
};

/// What opening a file gives back: the object that reads it, or nullptr and the reason.
template <typename T> struct [[nodiscard]] Opened {
    std::unique_ptr<T> object;
    FileResult result;

    /// The failure of an open that produced no object.
    static Opened failed(FileResult why) { return {nullptr, std::move(why)}; }
};
