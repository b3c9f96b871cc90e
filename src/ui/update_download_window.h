#pragma once

#include <functional>

#include "ui/form.h"

class QLabel;
class QProgressBar;

namespace zedade::ui {

// The borderless progress window of the self-update.
class UpdateDownloadWindow final : public Form {
  Q_OBJECT

 public:
  UpdateDownloadWindow();

  // Loads the window modally: creates it (its timer starts), runs the created handler, shows it,
  // and returns when it has been destroyed. The other windows take no input meanwhile.
  static void RunModal(const std::function<void(UpdateDownloadWindow&)>& createdHandler);

  QLabel* label(const char* name) const;
  QProgressBar* progressBar() const;
};

}  // namespace zedade::ui
