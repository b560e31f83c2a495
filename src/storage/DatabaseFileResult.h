#pragma once

#include <QString>

/// How OpenFile, SaveFile or SaveFileAs ended, and why when it did not succeed.
struct DatabaseFileResult {
    enum class Outcome {
        Done,
        /// The user cancelled the new password: nothing was written.
        Cancelled,
        /// The password was refused: the table and the document are as they were.
        PasswordRefused,
        /// The file could not be read or written; `reason` says why, naming the file.
        Failed,
    };

    Outcome outcome = Outcome::Done;
    QString reason;

    bool ok() const { return outcome == Outcome::Done; }

    static DatabaseFileResult done() { return {}; }
    static DatabaseFileResult cancelled() { return {Outcome::Cancelled, {}}; }
    static DatabaseFileResult refused() { return {Outcome::PasswordRefused, {}}; }
    static DatabaseFileResult failed(QString reason) { return {Outcome::Failed, reason}; }
};
