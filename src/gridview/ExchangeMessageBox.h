#pragma once

#include "exchange/ExchangeMessage.h"
#include "platform/DialogTypes.h"

/// The message boxes of the spreadsheet exchange: how a message the exchange asks for is shown
/// through the Platform, for the grid and for the window's exchange commands alike.
namespace ExchangeMessageBox {

/// The message box showing `message`: its text and title, the icon, and Yes and No with No
/// the default where the message asks a question.
MessageBoxRequest request(const ExchangeMessage& message);

} // namespace ExchangeMessageBox
