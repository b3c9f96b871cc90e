#include "ui/site_directory.h"

#include "platform/shell.h"

namespace zedade::ui {

Text HelpText() {
  // The two runs of spaces (18 and 16) are part of the text.
  static const Text text = Gbk(
      "软件说明：在百度输入你要播放的电影，直接复制地址，点击播放既可，百分之                  "
      "百可以看，如果无法播放，请在百度下载安装Flash Player软件带提示                "
      "更新功能，有什么不明白的，可在线临时对话，联系我");
  return text;
}

void OnSiteTreeSelectionChanged(int how, int selectionIndex, const Addresses& addresses) {
  constexpr int kByMouse = 1;
  if (how != kByMouse) return;
  if (selectionIndex < 1 || selectionIndex > 16) return;
  OpenAddress(addresses.sites[static_cast<size_t>(selectionIndex)]);
}

}  // namespace zedade::ui
