#pragma once

#include "qelfile/PasswordPrompts.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <thread>

/// The password dialogs of tests, benchmarks and fuzz targets: answered from what the caller
/// set beforehand, never shown, and recorded in order.
class ScriptedPrompts final : public PasswordPrompts {
public:
    /// checkPassword's answer for a stored password; every password is let in unless set.
    std::function<bool(const QString& stored)> letsIn = [](const QString&) { return true; };
    /// askNewPassword's answer; nothing is the user cancelling.
    std::optional<QString> newPassword;

    /// Every call so far: "check:<stored>", "ask" or "saved".
    QStringList calls;
    /// A dialog was asked for from another thread than the one that made the prompts (the one
    /// that owns the table and the windows).
    bool askedOffThread = false;

    /// Lets every password in, or none.
    void letIn(bool yes) {
        letsIn = [yes](const QString&) { return yes; };
    }

    /// The stored passwords checkPassword was given, in order.
    QStringList checked() const;
    int asked() const { return int(calls.count(QStringLiteral("ask"))); }
    int saved() const { return int(calls.count(QStringLiteral("saved"))); }

    bool checkPassword(const QString& stored) override;
    std::optional<QString> askNewPassword() override;
    void announceSaved() override;

private:
    void noteThread();

    std::thread::id m_owner = std::this_thread::get_id();
};
