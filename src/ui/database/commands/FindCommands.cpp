#include "ui/database/commands/FindCommands.h"

#include "gridview/List.h"
#include "platform/Platform.h"

FindCommands::FindCommands(List& list, Platform& platform) : m_list(list), m_platform(platform) {}

void FindCommands::find(const QString& text, bool exactMatch) {
    if (text.isEmpty()) {
        return;
    }
    if (!m_list.FindText(text, exactMatch)) {
        notFound();
    }
}

void FindCommands::replace(const QString& text, const QString& replacement, bool all,
                           bool exactMatch) {
    if (!m_list.FindAndReplaceText(text, replacement, all, exactMatch)) {
        notFound();
    }
}

void FindCommands::notFound() {
    m_platform.messageBox({.text = QStringLiteral("Not Found!")});
}
