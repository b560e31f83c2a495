#pragma once

#include <QStringView>

/// The tags that open every journal record: "#" + six characters + "#".
namespace JournalTags {

inline constexpr int Length = 8;

inline constexpr QStringView SetText = u"#SETTXT#";
inline constexpr QStringView SetBold = u"#SETBLD#";
inline constexpr QStringView SetItalic = u"#SETITA#";
inline constexpr QStringView SetUnderlined = u"#SETUND#";
inline constexpr QStringView SetColor = u"#SETCLR#";
inline constexpr QStringView SetWidth = u"#SETWDT#";
inline constexpr QStringView SetCaption = u"#SETCLH#";
inline constexpr QStringView AddRow = u"#ADDITM#";
inline constexpr QStringView RemoveRow = u"#REMITM#";
inline constexpr QStringView AddRows = u"#ADDMT1#";
inline constexpr QStringView RemoveRows = u"#REMMT1#";
inline constexpr QStringView ClearStart = u"#CLEARs#";
inline constexpr QStringView ClearEnd = u"#CLEARe#";
inline constexpr QStringView ClearAgain = u"#CLEAR_#";
inline constexpr QStringView AddColumn = u"#ADDCLM#";
inline constexpr QStringView RemoveColumnStart = u"#REMCLs#";
inline constexpr QStringView RemoveColumnEnd = u"#REMCLe#";
inline constexpr QStringView RemoveColumnAgain = u"#REMCLM#";

} // namespace JournalTags
