// The native main menu built from the shared menu table.
#include "window/win32/menu_win32.h"

#include <cstring>
#include <stdexcept>

#include "util/win32/ansi_text_win32.h"

namespace lumera::win32 {

namespace {
constexpr UINT kFirstCommandId = 100;
constexpr int kCommandCount = static_cast<int>(MenuCommand::menuAbout) + 1;
}  // namespace

UINT CommandId(MenuCommand command) { return kFirstCommandId + static_cast<UINT>(command); }

std::optional<MenuCommand> CommandFromId(UINT id) {
    if (id <= CommandId(MenuCommand::None) || id >= kFirstCommandId + kCommandCount) return std::nullopt;
    return static_cast<MenuCommand>(id - kFirstCommandId);
}

std::optional<UINT> CommandIdOfItem(const char* itemName) {
    for (const MenuEntryDef& entry : kMainMenu)
        for (const MenuItemDef& item : entry.items)
            if (!item.IsSeparator() && std::strcmp(item.name, itemName) == 0) return CommandId(item.command);
    return std::nullopt;
}

HMENU BuildMainMenu(std::span<const MenuEntryDef> entries) {
    HMENU bar = CreateMenu();
    if (bar == nullptr) throw std::runtime_error("Cannot create the menu");
    for (const MenuEntryDef& entry : entries) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItemDef& item : entry.items) {
            if (item.IsSeparator()) {
                AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            const UINT flags = MF_STRING | (item.isCheckable ? MF_CHECKED : MF_UNCHECKED);
            AppendMenuW(popup, flags, CommandId(item.command), FromAnsi(item.caption).c_str());
        }
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), FromAnsi(entry.caption).c_str());
    }
    return bar;
}

void SetMenuItemEnabled(HMENU menu, const char* itemName, bool enabled) {
    if (const auto id = CommandIdOfItem(itemName))
        EnableMenuItem(menu, *id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetMenuItemChecked(HMENU menu, const char* itemName, bool checked) {
    if (const auto id = CommandIdOfItem(itemName))
        CheckMenuItem(menu, *id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace lumera::win32
