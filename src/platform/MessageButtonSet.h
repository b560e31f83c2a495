#pragma once

#include "platform/DialogTypes.h"

#include <QList>

/// The buttons of a message box's button set, in the order they are shown.
QList<MessageButton> buttonsOf(MessageButtons buttons);

/// The answer of a message box closed without a button: Cancel where offered, else No, else
/// the last button (the way out that commits to the least).
MessageButton leastCommittingButton(MessageButtons buttons);
