#include "qelfile/read/QelLineRoles.h"

namespace {

constexpr QByteArrayView kProtectedMark("#@#");

} // namespace

QelLineRoles::Role QelLineRoles::leading(QByteArrayView line, bool overlong) {
    if (m_lineNumber == 1) {
        m_protected = !overlong && line.startsWith(kProtectedMark);
        m_firstTableLine = m_protected ? 3 : 1;
        if (m_protected) {
            return Role::ProtectedMark;
        }
    }
    if (m_protected && m_lineNumber == 2) {
        return overlong ? Role::OverlongPassword : Role::Password;
    }
    if (overlong) {
        return Role::Unreadable;
    }
    if (line.isEmpty()) {
        return Role::Empty;
    }
    return m_lineNumber == m_firstTableLine ? Role::Header : Role::RowCount;
}
