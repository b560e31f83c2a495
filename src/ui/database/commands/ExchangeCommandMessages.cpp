#include "ui/database/commands/ExchangeCommandMessages.h"

#include "text/ApplicationTitle.h"

namespace ExchangeCommandMessages {

ExchangeMessage excelUnavailable() {
    return {QStringLiteral("QEL 2005 failed to initialize Microsoft Excel when started "),
            QStringLiteral("Brevant      Excel Error"), ExchangeMessage::Icon::Error,
            ExchangeMessage::Buttons::Ok};
}

ExchangeMessage tooLargeForExport(int rowCount) {
    return {
        QStringLiteral("Your database is larger then what Microsoft Excel is able to accept ( ") +
            QString::number(rowCount) + QStringLiteral(" rows )"),
        applicationTitle(), ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

ExchangeMessage rowLimitExceeded() {
    return {QStringLiteral("QEL 2005 for Excel can't exceed Microsoft Excel row limitation!"),
            applicationTitle(), ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

} // namespace ExchangeCommandMessages
