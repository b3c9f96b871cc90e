#include "ui/layouts.h"

namespace zedade::ui {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};

constexpr const char* kKai = "华文楷体";
constexpr const char* kRunningKai = "华文行楷";

constexpr FontSpec kButtonFont{kKai, -12, 700};

using K = ControlKind;

}  // namespace

const WindowSpec& MainWindowLayout() {
  static const WindowSpec layout{
      "MainWindow", 992, 563, FrameKind::FixedCaption, "Zedade  v3.0版", kWhite,
      {
          {K::Button, "按钮7", "画板1", 896, 288, 88, 24, true, "收 索", kButtonFont},
          {K::EditBox, "编辑框5", "画板1", 632, 288, 256, 24, true, "", std::nullopt, kRed, kYellow},
          {K::ListView, "超级列表框1", "画板1", 632, 320, 352, 216, true, "", FontSpec{kKai, -14, 700}, kYellow, kBlack},
          {K::EditBox, "编辑框4", "画板1", 8, 32, 120, 16, false},
          {K::EditBox, "编辑框3", "画板1", 8, 8, 120, 16, false},
          {K::Button, "按钮6", nullptr, 640, 248, 80, 24, true, "暂时停用", kButtonFont},
          {K::Button, "按钮4", nullptr, 744, 184, 80, 24, true, "备用解析", kButtonFont},
          {K::Label, "标签3", "画板1", 72, 64, 520, 24, true, "爱奇艺 新增连续局播放 （推存）全网解析、高清视频",
           FontSpec{kKai, -20, 700}, kRed, kBlack},
          {K::EditBox, "编辑框2", "画板1", 936, 72, 8, 0, false},
          {K::DrawPanel, "画板2", nullptr, 608, 96, 24, 440, true, "", std::nullopt, std::nullopt, kBlack},
          {K::EditBox, "编辑框1", "画板1", 984, 0, 0, 8, true},
          {K::Timer, "时钟2", "画板1", 0, 0, 0, 0, false, "", std::nullopt, std::nullopt, std::nullopt, 0},
          {K::Timer, "时钟1", "画板1", 0, 0, 0, 0, false, "", std::nullopt, std::nullopt, std::nullopt, 5},
          {K::Label, "标签1", "画板1", 544, 16, 1024, 32, true, "标签", FontSpec{kKai, -29, 400}, kYellow, kBlack},
          {K::Label, "标签2", nullptr, 696, 64, 216, 24, true, "标签", FontSpec{kKai, -16, 700}, kYellow, kBlack},
          {K::TreeBox, "树型框1", "画板1", 856, 120, 128, 152, true, "", FontSpec{kKai, -12, 700, true}, kYellow, kBlack},
          {K::Button, "按钮5", "画板1", 744, 248, 80, 24, true, "软件说明", kButtonFont},
          {K::Button, "按钮3", nullptr, 744, 120, 80, 24, true, "全网解析", kButtonFont},
          {K::Button, "按钮2", "画板1", 640, 184, 84, 24, true, "临时对话", kButtonFont},
          {K::Button, "按钮1", "画板1", 640, 120, 84, 24, true, "万能解析", kButtonFont},
          {K::HtmlViewer, "超文本浏览框1", "画板1", 0, 96, 632, 440, true},
          {K::DrawPanel, "画板1", nullptr, 0, 0, 992, 536, true, "", std::nullopt, std::nullopt, kBlack},
      }};
  return layout;
}

const WindowSpec& UpdateDownloadWindowLayout() {
  static const FontSpec font{kRunningKai, -20, 400};
  static const WindowSpec layout{
      "UpdateDownloadWindow", 589, 65, FrameKind::Borderless, "", std::nullopt,
      {
          {K::TransLabel, "透明标签3", nullptr, 8, 8, 192, 24, true, "等候指令……", font, kRed},
          {K::TransLabel, "透明标签2", nullptr, 232, 8, 176, 24, true, "等候指令……", font, kRed},
          {K::TransLabel, "透明标签1", nullptr, 456, 8, 152, 24, true, "等待指令", font, kRed},
          {K::Timer, "时钟", nullptr, 0, 0, 0, 0, false, "", std::nullopt, std::nullopt, std::nullopt, 1000},
          {K::ProcessBar, "进度条", nullptr, 8, 32, 568, 24, true},
      }};
  return layout;
}

const WindowSpec& FullParseWindowLayout() {
  static const WindowSpec layout{
      "FullParseWindow", 845, 438, FrameKind::FixedCaption, "", std::nullopt,
      {
          {K::Label, "标签2", nullptr, 816, 0, 24, 416, true, "标签", std::nullopt, kBlack, kBlack},
          {K::EditBox, "编辑框2", nullptr, 0, 56, 200, 24, false},
          {K::Label, "标签1", nullptr, 0, 0, 496, 16, true,
           "高清解析、全网解析、爱奇艺、优酷、腾讯、乐视等、如果无法播放、刷新线路：", FontSpec{kKai, -14, 400}, kYellow,
           kBlack},
          {K::Button, "按钮1", nullptr, 0, 16, 824, 48, true,
           "高清万能解析、复制地址、点击即可播放、如没反映请点击线路即可（推存4号线）", FontSpec{kKai, -19, 400}},
          {K::HtmlViewer, "超文本浏览框1", nullptr, 0, 0, 840, 416, true},
          {K::EditBox, "编辑框1", nullptr, -24, 0, 16, 0, true},
      }};
  return layout;
}

}  // namespace zedade::ui
