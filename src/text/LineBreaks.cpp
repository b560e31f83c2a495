#include "text/LineBreaks.h"

namespace LineBreaks {

QString joined(const QString& text) {
    if (!text.contains(u'\n') && !text.contains(u'\r')) {
        return text;
    }
    QString result = text;
    result.remove(u'\r');
    result.remove(u'\n');
    return result;
}

} // namespace LineBreaks
