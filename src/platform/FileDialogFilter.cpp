#include "platform/FileDialogFilter.h"

namespace {

QStringList patternsOf(const QString& patternText) {
    QStringList patterns;
    for (const QString& pattern : patternText.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty()) {
            patterns.append(trimmed);
        }
    }
    return patterns;
}

QString qtNameFilter(const QString& description, const QString& patternText) {
    QStringList patterns = patternsOf(patternText);
    if (patterns.isEmpty()) {
        patterns.append(QStringLiteral("*"));
    }
    const QString joined = patterns.join(QLatin1Char(' '));
    // Qt reads the patterns from the description's last parenthesised group; keep the text
    // as written when that group already holds exactly these patterns.
    if (description.endsWith(QLatin1Char('(') + joined + QLatin1Char(')'))) {
        return description;
    }
    const QString shown = description.trimmed();
    return shown.isEmpty() ? joined : shown + QStringLiteral(" (") + joined + QLatin1Char(')');
}

} // namespace

QStringList qtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i);
        const QString patternText = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        if (description.trimmed().isEmpty() && patternText.trimmed().isEmpty()) {
            continue;
        }
        filters.append(qtNameFilter(description, patternText));
    }
    if (filters.isEmpty()) {
        filters.append(QStringLiteral("*"));
    }
    return filters;
}
