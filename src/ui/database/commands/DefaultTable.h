#pragma once

class List;
class Platform;

/// The shape of a new table.
namespace DefaultTable {

/// Gives a table of one record and one column the new-table shape: one column "A", 220
/// wide, and 30 empty records, with an empty journal and an empty clipboard. Any other table
/// is left as it is. True when it acted.
bool apply(List& list, Platform& platform);

} // namespace DefaultTable
