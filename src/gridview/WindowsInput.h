#pragma once

#include <Qt>

class QKeyEvent;

// Keys, modifiers and mouse buttons in the codes the grid's events carry: Windows virtual key
// codes (13 Enter, 37..40 Left/Up/Right/Down, 45 Insert, 46 Delete, 65..90 letters ...), the
// modifier mask 1 Shift, 2 Ctrl, 4 Alt, and the button codes 1 left, 2 right, 4 middle.

/// The Windows virtual key code of a key event, by the key's position on a US keyboard
/// (Shift+1 is 49 like 1); 0 for a key Windows has no code for.
int windowsKeyCode(const QKeyEvent& event);

/// The modifier mask of Shift (1), Ctrl (2) and Alt (4).
int windowsShiftMask(Qt::KeyboardModifiers modifiers);

/// The code of one mouse button (1 left, 2 right, 4 middle, 0 others).
int windowsButton(Qt::MouseButton button);

/// The codes of the held mouse buttons, or-ed together.
int windowsButtons(Qt::MouseButtons buttons);
