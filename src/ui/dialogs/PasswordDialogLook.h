#pragma once

#include <QString>

class ClickableLabel;
class QDialog;
class QLabel;
class QLineEdit;

/// What the two database password dialogs share: their look and how their parts are made.
namespace PasswordDialogLook {

/// A dialog of `width` x `height` twips with the given caption, fixed in size.
void setUp(QDialog& dialog, const QString& objectName, const QString& caption, int width,
           int height);
/// A label in the dialogs' handwriting-like face, at a rectangle given in twips.
QLabel* label(QDialog& dialog, const QString& name, const QString& text, int left, int top,
              int width, int height);
/// A password box showing "*", at a rectangle given in twips.
QLineEdit* passwordBox(QDialog& dialog, const QString& name, int left, int top, int width,
                       int height);
/// A brown clickable label that turns bold under the mouse.
ClickableLabel* action(QDialog& dialog, const QString& name, const QString& text, int left, int top,
                       int width, int height);

} // namespace PasswordDialogLook
