// The main menu as a native Win32 menu, built from the shared menu table: command
// identifiers, and enabling and checking items by their item names.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

#include "window/menu_table.h"

namespace lumera::win32 {

// The WM_COMMAND identifier of a command, and back.
UINT CommandId(MenuCommand command);
std::optional<MenuCommand> CommandFromId(UINT id);
// The identifier of the item with this name ("menuNew" ...); nothing for unknown names and separators.
std::optional<UINT> CommandIdOfItem(const char* itemName);

// A menu bar with one popup per entry; captions keep their "&" as native mnemonics, checkable
// items start checked, every item starts enabled. The caller owns the menu (a window that
// holds it destroys it).
HMENU BuildMainMenu(std::span<const MenuEntryDef> entries = kMainMenu);

// Both do nothing for a name the menu does not hold.
void SetMenuItemEnabled(HMENU menu, const char* itemName, bool enabled);
void SetMenuItemChecked(HMENU menu, const char* itemName, bool checked);

}  // namespace lumera::win32
