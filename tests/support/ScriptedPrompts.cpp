#include "ScriptedPrompts.h"

namespace {

const QString kCheckPrefix = QStringLiteral("check:");

} // namespace

QStringList ScriptedPrompts::checked() const {
    QStringList stored;
    for (const QString& call : calls) {
        if (call.startsWith(kCheckPrefix)) {
            stored.append(call.mid(kCheckPrefix.size()));
        }
    }
    return stored;
}

bool ScriptedPrompts::checkPassword(const QString& stored) {
    noteThread();
    calls.append(kCheckPrefix + stored);
    return letsIn(stored);
}

std::optional<QString> ScriptedPrompts::askNewPassword() {
    noteThread();
    calls.append(QStringLiteral("ask"));
    return newPassword;
}

void ScriptedPrompts::announceSaved() {
    noteThread();
    calls.append(QStringLiteral("saved"));
}

void ScriptedPrompts::noteThread() {
    askedOffThread |= std::this_thread::get_id() != m_owner;
}
