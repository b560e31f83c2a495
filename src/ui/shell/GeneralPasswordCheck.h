#pragma once

#include <QString>
#include <QtGlobal>

class Platform;

/// The general password asked for at start-up, and the wrong answers counted over the run:
/// the fifth ends the application.
class GeneralPasswordCheck final {
public:
    explicit GeneralPasswordCheck(Platform& platform);
    Q_DISABLE_COPY_MOVE(GeneralPasswordCheck)

    /// The most wrong answers the user may give; one more ends the application.
    static constexpr int AllowedFailures = 4;

    enum class Outcome {
        /// The typed text is the password.
        Accepted,
        /// Wrong, and the user chose Retry: the prompt is to be emptied for another try.
        Retry,
        /// Wrong, and the user chose Cancel or has failed too often: the application ends.
        EndApplication,
    };

    /// Compares `typed` with `password` exactly (letter case and the whole text). A wrong
    /// answer is said, with Retry and Cancel; Retry counts it, and the count above
    /// AllowedFailures is said too before the application ends.
    Outcome check(const QString& typed, const QString& password);
    /// The wrong answers counted so far; a later right answer keeps them.
    int FailedAttempts() const { return m_failedAttempts; }

private:
    Platform& m_platform;
    int m_failedAttempts = 0;
};
