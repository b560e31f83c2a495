#pragma once

#include <QString>
#include <QStringList>

/// The name filters of a QFileDialog for a filter written as description|patterns pairs
/// ("Qel Database (*.QEL)|*.QEL|", patterns separated by ";"). A description with no pattern
/// part lists every file. Each description is shown as written where Qt can read its patterns
/// from it; otherwise the patterns are appended in parentheses, the form Qt expects.
QStringList qtNameFilters(const QString& filter);
