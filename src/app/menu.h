#pragma once
// Menu 1000: the only source of commands (no accelerators, no tool bar).

#include <span>

class QMenuBar;
class _OKNO_;

enum class MenuKind { DropDown, Item, Separator };

/// One row of the menu: a drop-down opens a new column, items and separators follow it.
struct MenuRow {
    MenuKind kind;
    const char* caption;  ///< '&' marks the underlined letter
    int id;               ///< command id of an item
};

/// The rows of menu 1000 in order.
std::span<const MenuRow> menuRows();

/// Builds the menu bar from the menu rows; each drop-down runs the enablers of its items
/// when it is about to open and each item runs its handler on `okno`.
void buildMenu(QMenuBar* bar, _OKNO_* okno);
