#include "platform/QtDialogs.h"

#include "platform/FileDialogFilter.h"
#include "platform/MessageButtonSet.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>

namespace QtDialogs {

namespace {

QMessageBox::StandardButton standardButton(MessageButton button) {
    switch (button) {
    case MessageButton::Ok:
        return QMessageBox::Ok;
    case MessageButton::Cancel:
        return QMessageBox::Cancel;
    case MessageButton::Yes:
        return QMessageBox::Yes;
    case MessageButton::No:
        return QMessageBox::No;
    case MessageButton::Retry:
        return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

std::unique_ptr<QFileDialog> buildFileDialog(const FileDialogRequest& request, QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, request.title, request.folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setNameFilters(qtNameFilters(request.filter));
    // Patterns such as "*.QEL" match names in any letter case, as users of the format expect.
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    if (!request.fileName.isEmpty()) {
        dialog->selectFile(request.fileName);
    }
    return dialog;
}

} // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(request.title);
    box->setTextFormat(Qt::PlainText);
    box->setText(request.text);
    box->setIcon(qtIcon(request.icon));
    QMessageBox::StandardButtons buttons;
    for (MessageButton button : buttonsOf(request.buttons)) {
        buttons |= standardButton(button);
    }
    box->setStandardButtons(buttons);
    if (request.defaultButton) {
        box->setDefaultButton(standardButton(*request.defaultButton));
    }
    return box;
}

MessageButton messageBoxAnswer(const QMessageBox& box, MessageButtons offered) {
    const QList<MessageButton> buttons = buttonsOf(offered);
    const QAbstractButton* clicked = box.clickedButton();
    for (MessageButton button : buttons) {
        if (clicked != nullptr && box.button(standardButton(button)) == clicked) {
            return button;
        }
    }
    return leastCommittingButton(offered);
}

std::unique_ptr<QInputDialog> buildInputBox(const InputBoxRequest& request, QWidget* parent) {
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setWindowTitle(request.title);
    dialog->setLabelText(request.prompt);
    dialog->setTextValue(request.defaultText);
    return dialog;
}

std::unique_ptr<QFileDialog> buildOpenDialog(const FileDialogRequest& request, QWidget* parent) {
    auto dialog = buildFileDialog(request, parent);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    auto* readOnly = new QCheckBox(QStringLiteral("Open as read-only"), dialog.get());
    readOnly->setObjectName(QString::fromLatin1(ReadOnlyCheckBoxName));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        grid->addWidget(readOnly, grid->rowCount(), 0, 1, grid->columnCount());
    }
    return dialog;
}

std::unique_ptr<QFileDialog> buildSaveDialog(const FileDialogRequest& request, QWidget* parent) {
    auto dialog = buildFileDialog(request, parent);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

std::optional<FileChoice> fileDialogChoice(const QFileDialog& dialog) {
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) {
        return std::nullopt;
    }
    FileChoice choice;
    choice.path = files.first();
    choice.fileTitle = QFileInfo(choice.path).fileName();
    const auto* readOnly = dialog.findChild<QCheckBox*>(QString::fromLatin1(ReadOnlyCheckBoxName));
    choice.readOnly = readOnly != nullptr && readOnly->isChecked();
    return choice;
}

} // namespace QtDialogs
