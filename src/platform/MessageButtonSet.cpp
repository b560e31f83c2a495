#include "platform/MessageButtonSet.h"

QList<MessageButton> buttonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return {MessageButton::Ok};
    case MessageButtons::OkCancel:
        return {MessageButton::Ok, MessageButton::Cancel};
    case MessageButtons::YesNo:
        return {MessageButton::Yes, MessageButton::No};
    case MessageButtons::YesNoCancel:
        return {MessageButton::Yes, MessageButton::No, MessageButton::Cancel};
    case MessageButtons::RetryCancel:
        return {MessageButton::Retry, MessageButton::Cancel};
    }
    return {MessageButton::Ok};
}

MessageButton leastCommittingButton(MessageButtons buttons) {
    const QList<MessageButton> offered = buttonsOf(buttons);
    for (MessageButton button : {MessageButton::Cancel, MessageButton::No}) {
        if (offered.contains(button)) {
            return button;
        }
    }
    return offered.last();
}
