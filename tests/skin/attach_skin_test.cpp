// AttachSkin as the program runs it: the engine file written beside the program (here a temporary
// folder), the engine bound by name and given skin 31, and the fatal error when it cannot be bound.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>

#include "qt_wait.h"
#include "skin/attach_skin.h"
#include "skin/engine/skin_engine.h"
#include "skin/skin_data.h"
#include "skin/skin_engine_file.h"
#include "skin_test_support.h"

namespace zedade {
namespace {

using testing::bytesOf;
using testing::EngineFolder;
using testing::readAll;
using testing::skinColour;
using testing::writeAll;
namespace se = skin_engine;

int attachCount() { return reinterpret_cast<se::AttachCount>(SkinEngineSymbol("SkinH_AttachCount"))(); }

QByteArray lastApplied() {
  auto last = reinterpret_cast<se::LastApplied>(SkinEngineSymbol("SkinH_LastApplied"));
  QByteArray bytes(last(nullptr, 0), '\0');
  last(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  return bytes;
}

ino_t inodeOf(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

TEST(AttachSkin, FreshFolderGetsTheEngineWhichReceivesSkin31EachTime) {
  EngineFolder folder;
  AttachSkin(kProgramSkin);

  EXPECT_EQ(readAll(folder.enginePath()), bytesOf(SkinEngineImage()));
  EXPECT_EQ(readAll(folder.hiddenList()), QByteArray("SkinH_EL.dll\n"));
  const ino_t written = inodeOf(folder.enginePath());
  const int count = attachCount();
  EXPECT_EQ(lastApplied(), bytesOf(SkinBytes(kProgramSkin)));

  // The update window attaches the same skin again: the engine is called again, the file kept.
  AttachSkin(kProgramSkin);
  EXPECT_EQ(attachCount(), count + 1);
  EXPECT_EQ(lastApplied(), bytesOf(SkinBytes(kProgramSkin)));
  EXPECT_EQ(inodeOf(folder.enginePath()), written);
  EXPECT_EQ(readAll(folder.hiddenList()), QByteArray("SkinH_EL.dll\n"));
}

// What a child process reports: 0 when every check held, otherwise 1 and the failed check.
[[noreturn]] void exitWith(bool ok, const char* failure) {
  if (!ok) std::fprintf(stderr, "check failed: %s\n", failure);
  std::fflush(nullptr);
  std::_Exit(ok ? 0 : 1);
}

// Binding happens once per process, so each case that binds a library of its own runs in a child.
TEST(AttachSkinDeathTest, ForeignLibraryUnderTheNameIsUsedAsFound) {
  EngineFolder folder;
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZEDADE_FOREIGN_ENGINE), folder.enginePath()));
  const QByteArray foreign = readAll(folder.enginePath());
  EXPECT_EXIT(
      {
        AttachSkin(kProgramSkin);
        AttachSkin(kProgramSkin);
        if (readAll(folder.enginePath()) != foreign) exitWith(false, "the file was rewritten");
        if (!SkinEngineSymbol("ForeignEngineMarker")) exitWith(false, "another library was bound");
        if (QFileInfo::exists(folder.hiddenList())) exitWith(false, "the file was hidden anew");
        if (attachCount() != 2) exitWith(false, "the library was not called twice");
        exitWith(lastApplied() == bytesOf(SkinBytes(kProgramSkin)), "the library did not receive skin 31");
      },
      ::testing::ExitedWithCode(0), "");
}

// Closes each message box that comes up, as a user would, after writing its title and text to the
// error output.
void answerMessageBoxes() {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::fprintf(stderr, "box %s: %s\n", box->windowTitle().toUtf8().constData(), box->text().toUtf8().constData());
      box->accept();
    }
  });
  timer->start(20);
}

struct Unusable {
  const char* what;
  std::function<void(const QString& path)> create;
};

void PrintTo(const Unusable& row, std::ostream* out) { *out << row.what; }

class AttachSkinUnusableDeathTest : public ::testing::TestWithParam<Unusable> {};

TEST_P(AttachSkinUnusableDeathTest, IsAFatalErrorNamingLibraryAndExport) {
  EngineFolder folder;
  GetParam().create(folder.enginePath());
  EXPECT_EXIT(
      {
        answerMessageBoxes();
        AttachSkin(kProgramSkin);
      },
      ::testing::ExitedWithCode(255), "box Zedade: [^\n]*SkinH_EL\\.dll[^\n]*SkinH_AttachRes");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AttachSkinUnusableDeathTest,
    ::testing::Values(
        Unusable{"FileThatIsNoLibrary",
                 [](const QString& path) { ASSERT_TRUE(writeAll(path, "an older engine, damaged")); }},
        Unusable{"Folder", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
        Unusable{"LibraryWithoutTheExport",
                 [](const QString& path) { ASSERT_TRUE(QFile::copy(QStringLiteral(ZEDADE_ENGINE_WITHOUT_EXPORT), path)); }}),
    [](const ::testing::TestParamInfo<Unusable>& info) { return std::string(info.param.what); });

// A window as the program builds them: a plain top-level window in the default colour, a button and
// a progress bar with no colours of their own, and a label with its own colours and font.
struct SampleWindow {
  SampleWindow() {
    window.setFixedSize(300, 110);
    button = new QPushButton(QStringLiteral("万能解析"), &window);
    button->setGeometry(8, 8, 84, 24);
    QFont buttonFont(QStringLiteral("AR PL UKai CN"));
    buttonFont.setPixelSize(12);
    buttonFont.setBold(true);
    button->setFont(buttonFont);
    label = new QLabel(QStringLiteral("标签"), &window);
    label->setObjectName(QStringLiteral("clock"));
    label->setStyleSheet(QStringLiteral("QLabel#clock { color: rgb(255, 255, 0); background-color: rgb(0, 0, 0); }"));
    QFont labelFont(QStringLiteral("AR PL UKai CN"));
    labelFont.setPixelSize(16);
    label->setFont(labelFont);
    label->setGeometry(100, 8, 120, 24);
    bar = new QProgressBar(&window);
    bar->setGeometry(8, 40, 284, 24);
    bar->setValue(40);
    bar->setTextVisible(false);
    window.show();
    testing::pumpEvents(50);
  }
  QWidget window;
  QPushButton* button = nullptr;
  QLabel* label = nullptr;
  QProgressBar* bar = nullptr;
};

TEST(AttachSkin, RestylesTheChromeAndKeepsTheWindowsOwnColoursAndFonts) {
  EngineFolder folder;
  // Start unskinned, whatever ran before in this process.
  qApp->setStyleSheet(QString());
  QApplication::setPalette(QApplication::style()->standardPalette());
  SampleWindow sample;
  const QImage buttonBefore = sample.button->grab().toImage();
  const QImage barBefore = sample.bar->grab().toImage();
  const QImage labelBefore = sample.label->grab().toImage();
  const QFont buttonFont = sample.button->font();
  const QFont labelFont = sample.label->font();

  AttachSkin(kProgramSkin);
  testing::pumpEvents(50);

  EXPECT_NE(sample.button->grab().toImage(), buttonBefore);
  EXPECT_NE(sample.bar->grab().toImage(), barBefore);
  EXPECT_EQ(sample.label->grab().toImage(), labelBefore);
  EXPECT_EQ(sample.button->font(), buttonFont);
  EXPECT_EQ(sample.label->font(), labelFont);

  // The window's free area takes the skin's window colour.
  const QColor window = skinColour(kProgramSkin, "Window");
  ASSERT_TRUE(window.isValid());
  EXPECT_EQ(sample.window.grab().toImage().pixelColor(280, 100), window);
  EXPECT_EQ(sample.button->palette().color(QPalette::ButtonText), skinColour(kProgramSkin, "ButtonText"));

  if (const QByteArray dir = qgetenv("ZEDADE_SCREENSHOT_DIR"); !dir.isEmpty()) {
    sample.window.grab().save(QString::fromLocal8Bit(dir) + "/skin31_sample.png");
  }
}

}  // namespace
}  // namespace zedade
