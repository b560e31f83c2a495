#include "gridview/ExchangeMessageBox.h"

namespace ExchangeMessageBox {

MessageBoxRequest request(const ExchangeMessage& message) {
    MessageBoxRequest request;
    request.text = message.text;
    request.title = message.title;
    switch (message.icon) {
    case ExchangeMessage::Icon::Error:
        request.icon = MessageIcon::Critical;
        break;
    case ExchangeMessage::Icon::Question:
        request.icon = MessageIcon::Question;
        break;
    case ExchangeMessage::Icon::Information:
        request.icon = MessageIcon::Information;
        break;
    }
    if (message.buttons == ExchangeMessage::Buttons::YesNoDefaultNo) {
        request.buttons = MessageButtons::YesNo;
        request.defaultButton = MessageButton::No;
    }
    return request;
}

} // namespace ExchangeMessageBox
