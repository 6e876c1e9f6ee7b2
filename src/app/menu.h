#pragma once
// Menu 1000 with the keyboard shortcuts its items show.

#include <span>
#include <string>

class QMenuBar;
class _OKNO_;

enum class MenuKind { DropDown, Item, Separator };

/// One row of the menu: a drop-down opens a new column, items and separators follow it.
struct MenuRow {
    MenuKind kind;
    const char* caption;  ///< '&' marks the underlined letter
    int id;               ///< command id of an item
    /// Keys of the item, "; " between several (the first is shown); null for none.
    const char* keys = nullptr;
};

/// The rows of menu 1000 in order.
std::span<const MenuRow> menuRows();

/// The name a command's undo step goes under: its item text without '&' and "...", led by
/// its drop-down's name where another item or drop-down has the same text; empty for an id no item
/// has.
std::string commandName(int id);

/// Builds the menu bar from the menu rows; each drop-down runs the enablers of its items
/// when it is about to open and each item runs its handler on `okno`.
void buildMenu(QMenuBar* bar, _OKNO_* okno);
