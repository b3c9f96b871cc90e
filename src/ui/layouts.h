#pragma once

#include "ui/controls.h"

namespace zedade::ui {

const WindowSpec& MainWindowLayout();
const WindowSpec& UpdateDownloadWindowLayout();
const WindowSpec& FullParseWindowLayout();

}  // namespace zedade::ui
