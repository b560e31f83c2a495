#include "ui/dialogs/PasswordDialogLook.h"

#include "platform/Twips.h"
#include "ui/dialogs/ClickableLabel.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>

namespace PasswordDialogLook {
namespace {

const QColor kBrown(111, 55, 0);

QFont faceOf(const QString& family) {
    QFont font(family);
    font.setPixelSize(12);
    return font;
}

} // namespace

void setUp(QDialog& dialog, const QString& objectName, const QString& caption, int width,
           int height) {
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(caption);
    dialog.setModal(true);
    dialog.setFixedSize(Twips::toPixels(width), Twips::toPixels(height));
    dialog.setMouseTracking(true);
}

QLabel* label(QDialog& dialog, const QString& name, const QString& text, int left, int top,
              int width, int height) {
    auto* shown = new QLabel(text, &dialog);
    shown->setObjectName(name);
    shown->setFont(faceOf(QStringLiteral("Comic Sans MS")));
    shown->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    shown->setGeometry(Twips::toPixels(left, top, width, height));
    return shown;
}

QLineEdit* passwordBox(QDialog& dialog, const QString& name, int left, int top, int width,
                       int height) {
    auto* box = new QLineEdit(&dialog);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    box->setGeometry(Twips::toPixels(left, top, width, height));
    return box;
}

ClickableLabel* action(QDialog& dialog, const QString& name, const QString& text, int left, int top,
                       int width, int height) {
    auto* shown = new ClickableLabel(text, &dialog);
    shown->setObjectName(name);
    shown->setBoldOnHover(true);
    QPalette palette = shown->palette();
    palette.setColor(QPalette::WindowText, kBrown);
    shown->setPalette(palette);
    shown->setGeometry(Twips::toPixels(left, top, width, height));
    return shown;
}

} // namespace PasswordDialogLook
