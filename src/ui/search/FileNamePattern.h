#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

/// A file name pattern of the search: "*" stands for any run of characters, "?" for one,
/// everything else for itself without regard to the case of ASCII letters, as the pattern
/// "*.QEL" matched on the system the files come from. Names are matched as the file system
/// stores them (UTF-8 bytes), so a search never decodes a name it does not keep.
class FileNamePattern final {
public:
    explicit FileNamePattern(const QString& pattern);

    bool matches(std::string_view name) const;

private:
    QByteArray m_pattern;
};
