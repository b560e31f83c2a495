#include "ScriptedPlatform.h"

#include "platform/MessageButtonSet.h"

#include <QDialog>
#include <QFileInfo>
#include <QTest>

namespace {

QString kindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::MessageBox:
        return QStringLiteral("message box");
    case DialogKind::InputBox:
        return QStringLiteral("input box");
    case DialogKind::OpenFile:
        return QStringLiteral("Open dialog");
    case DialogKind::SaveFile:
        return QStringLiteral("Save dialog");
    case DialogKind::Color:
        return QStringLiteral("colour dialog");
    case DialogKind::OwnDialog:
        return QStringLiteral("dialog");
    }
    return QString();
}

QString describe(const DialogRecord& record) {
    switch (record.kind) {
    case DialogKind::MessageBox:
        return QStringLiteral("message box \"%1\" titled \"%2\"")
            .arg(record.message.text, record.message.title);
    case DialogKind::InputBox:
        return QStringLiteral("input box \"%1\"").arg(record.input.prompt);
    case DialogKind::OpenFile:
    case DialogKind::SaveFile:
        return QStringLiteral("%1 \"%2\"").arg(kindName(record.kind), record.file.title);
    case DialogKind::Color:
        return kindName(record.kind);
    case DialogKind::OwnDialog:
        return QStringLiteral("dialog %1").arg(record.dialogName);
    }
    return QString();
}

void failTest(const QString& message) {
    QTest::qFail(qPrintable(QStringLiteral("ScriptedPlatform: ") + message), __FILE__, __LINE__);
}

} // namespace

ScriptedPlatform::ScriptedPlatform() {
    m_previous = Platform::install(this);
}

ScriptedPlatform::~ScriptedPlatform() {
    if (QTest::currentTestFunction() != nullptr && !m_script.empty()) {
        verifyAllAnswered();
    }
    Platform::install(m_previous);
}

void ScriptedPlatform::answerMessageBox(MessageButton button) {
    m_script.push_back({.kind = DialogKind::MessageBox, .given = true, .button = button});
}

void ScriptedPlatform::answerInputBox(const QString& text) {
    m_script.push_back({.kind = DialogKind::InputBox, .given = true, .text = text});
}

void ScriptedPlatform::cancelInputBox() {
    m_script.push_back({.kind = DialogKind::InputBox});
}

void ScriptedPlatform::answerOpenDialog(const QString& path, bool readOnly) {
    m_script.push_back(
        {.kind = DialogKind::OpenFile, .given = true, .file = choiceFor(path, readOnly)});
}

void ScriptedPlatform::cancelOpenDialog() {
    m_script.push_back({.kind = DialogKind::OpenFile});
}

void ScriptedPlatform::answerSaveDialog(const QString& path) {
    m_script.push_back(
        {.kind = DialogKind::SaveFile, .given = true, .file = choiceFor(path, false)});
}

void ScriptedPlatform::cancelSaveDialog() {
    m_script.push_back({.kind = DialogKind::SaveFile});
}

void ScriptedPlatform::answerColorDialog(qint32 color) {
    m_script.push_back({.kind = DialogKind::Color, .given = true, .color = color});
}

void ScriptedPlatform::cancelColorDialog() {
    m_script.push_back({.kind = DialogKind::Color});
}

void ScriptedPlatform::verifyAllAnswered() {
    if (m_script.empty()) {
        return;
    }
    const QString next = kindName(m_script.front().kind);
    const auto left = m_script.size();
    m_script.clear();
    failTest(QStringLiteral("%1 scripted answer(s) never used; the next was for the %2")
                 .arg(left)
                 .arg(next));
}

QList<MessageBoxRequest> ScriptedPlatform::messageBoxes() const {
    QList<MessageBoxRequest> boxes;
    for (const DialogRecord& record : m_dialogs) {
        if (record.kind == DialogKind::MessageBox) {
            boxes.append(record.message);
        }
    }
    return boxes;
}

void ScriptedPlatform::clearRecords() {
    m_dialogs.clear();
    m_openedUrls.clear();
    m_playedSounds.clear();
    m_endProcessCalls = 0;
}

ScriptedPlatform::Answer ScriptedPlatform::take(const DialogRecord& record) {
    m_dialogs.append(record);
    if (m_script.empty()) {
        failTest(QStringLiteral("unexpected %1").arg(describe(record)));
        return {.kind = record.kind};
    }
    if (m_script.front().kind != record.kind) {
        failTest(QStringLiteral("the script expected the %1, but the code showed the %2")
                     .arg(kindName(m_script.front().kind), describe(record)));
        return {.kind = record.kind};
    }
    Answer answer = m_script.front();
    m_script.pop_front();
    return answer;
}

FileChoice ScriptedPlatform::choiceFor(const QString& path, bool readOnly) {
    return FileChoice{.path = path, .fileTitle = QFileInfo(path).fileName(), .readOnly = readOnly};
}

MessageButton ScriptedPlatform::showMessageBox(const MessageBoxRequest& request) {
    const Answer answer = take({.kind = DialogKind::MessageBox, .message = request});
    if (answer.given) {
        if (buttonsOf(request.buttons).contains(answer.button)) {
            return answer.button;
        }
        failTest(QStringLiteral("the script pressed a button that the message box \"%1\" does "
                                "not offer")
                     .arg(request.text));
    }
    return leastCommittingButton(request.buttons);
}

std::optional<QString> ScriptedPlatform::showInputBox(const InputBoxRequest& request) {
    const Answer answer = take({.kind = DialogKind::InputBox, .input = request});
    return answer.given ? std::optional(answer.text) : std::nullopt;
}

std::optional<FileChoice> ScriptedPlatform::showOpenFileDialog(const FileDialogRequest& request) {
    const Answer answer = take({.kind = DialogKind::OpenFile, .file = request});
    return answer.given ? std::optional(answer.file) : std::nullopt;
}

std::optional<FileChoice> ScriptedPlatform::showSaveFileDialog(const FileDialogRequest& request) {
    const Answer answer = take({.kind = DialogKind::SaveFile, .file = request});
    return answer.given ? std::optional(answer.file) : std::nullopt;
}

void ScriptedPlatform::answerDialog(std::function<void(QDialog&)> user) {
    m_script.push_back({.kind = DialogKind::OwnDialog, .given = true, .user = std::move(user)});
}

int ScriptedPlatform::runDialog(QDialog& dialog) {
    const Answer answer = take({.kind = DialogKind::OwnDialog, .dialogName = dialog.objectName()});
    if (answer.given && answer.user) {
        answer.user(dialog);
    } else {
        dialog.reject();
    }
    return dialog.result();
}

std::optional<qint32> ScriptedPlatform::colorDialog(qint32 initialColor) {
    const Answer answer = take({.kind = DialogKind::Color, .initialColor = initialColor});
    return answer.given ? std::optional(answer.color) : std::nullopt;
}

bool ScriptedPlatform::openUrl(const QUrl& url) {
    m_openedUrls.append(url);
    return m_openUrlResult;
}

QString ScriptedPlatform::documentsFolder() {
    if (!m_documentsFolder.isEmpty()) {
        return m_documentsFolder;
    }
    if (!m_ownDocuments) {
        m_ownDocuments = std::make_unique<QTemporaryDir>();
    }
    return m_ownDocuments->path();
}
