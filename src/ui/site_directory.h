#pragma once

#include "config/addresses.h"
#include "platform/text.h"

namespace zedade::ui {

// The help text of "软件说明", as the program shows it.
Text HelpText();

// The site-tree selection moved: a move by the mouse (how == 1) onto a site (index 1 to 16) opens
// that site's address with the desktop's handler; anything else does nothing.
void OnSiteTreeSelectionChanged(int how, int selectionIndex, const Addresses& addresses);

}  // namespace zedade::ui
