#include "exchange/ExchangeMessages.h"

#include "text/ApplicationTitle.h"

namespace ExchangeMessages {
namespace {

const QString kExcelErrorTitle = QStringLiteral("Brevant      Excel Error");

} // namespace

ExchangeMessage listExcelUnavailable() {
    return {applicationTitle() +
                QStringLiteral(" failed to initialize Microsoft Excel when started "),
            kExcelErrorTitle, ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

ExchangeMessage listTooLargeForExport() {
    return {applicationTitle() + QStringLiteral(" Database is larger then Microsoft Excel "),
            kExcelErrorTitle, ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

ExchangeMessage textsCut(int count) {
    return {QString::number(count) +
                QStringLiteral(" cell text(s) longer than 32767 characters were exported cut to "
                               "that length, the most a spreadsheet cell holds."),
            applicationTitle(), ExchangeMessage::Icon::Information, ExchangeMessage::Buttons::Ok};
}

} // namespace ExchangeMessages
