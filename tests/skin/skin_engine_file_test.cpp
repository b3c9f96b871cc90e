// EnsureSkinEngine on real folders: a fresh folder gets the carried image, hidden; anything already
// under the engine's name is left as it is.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <functional>
#include <ostream>

#include "platform/files.h"
#include "skin/skin_data.h"
#include "skin/skin_engine_file.h"
#include "skin_test_support.h"

namespace zedade {
namespace {

using testing::bytesOf;
using testing::EngineFolder;
using testing::readAll;
using testing::writeAll;

TEST(SkinEngineFile, PathIsTheFolderAndTheLibraryName) {
  EXPECT_EQ(SkinEngineFolder(), ExecutableFolder());
  EXPECT_EQ(QString::fromStdString(SkinEngineFolder()), QCoreApplication::applicationDirPath());
  {
    EngineFolder folder;
    EXPECT_EQ(QString::fromStdString(SkinEnginePath()), folder.path() + "/SkinH_EL.dll");
  }
  EXPECT_EQ(SkinEngineFolder(), ExecutableFolder());
}

TEST(SkinEngineFile, FreshFolderGetsTheImageHidden) {
  EngineFolder folder;
  EnsureSkinEngine();

  EXPECT_EQ(readAll(folder.enginePath()), bytesOf(SkinEngineImage()));
  EXPECT_EQ(readAll(folder.hiddenList()), QByteArray("SkinH_EL.dll\n"));
  // Nothing else: no temporary file left behind.
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({".hidden", "SkinH_EL.dll"}));
}

TEST(SkinEngineFile, HiddenListKeepsItsNamesAndListsTheEngineOnce) {
  EngineFolder folder;
  ASSERT_TRUE(writeAll(folder.hiddenList(), "notes.txt\nSkinH_EL.dll.bak"));
  EnsureSkinEngine();
  EXPECT_EQ(readAll(folder.hiddenList()), QByteArray("notes.txt\nSkinH_EL.dll.bak\nSkinH_EL.dll\n"));

  // The file went away but the name is still listed: written again, listed once.
  ASSERT_TRUE(QFile::remove(folder.enginePath()));
  EnsureSkinEngine();
  EXPECT_EQ(readAll(folder.enginePath()), bytesOf(SkinEngineImage()));
  EXPECT_EQ(readAll(folder.hiddenList()), QByteArray("notes.txt\nSkinH_EL.dll.bak\nSkinH_EL.dll\n"));
}

struct Occupant {
  const char* what;
  std::function<void(const QString& path)> create;
  std::function<void(const QString& path)> expectUnchanged;
};

void PrintTo(const Occupant& row, std::ostream* out) { *out << row.what; }

class SkinEngineFileOccupied : public ::testing::TestWithParam<Occupant> {};

TEST_P(SkinEngineFileOccupied, LeavesWhatIsThereAndWritesNothing) {
  EngineFolder folder;
  GetParam().create(folder.enginePath());
  EnsureSkinEngine();
  GetParam().expectUnchanged(folder.enginePath());
  EXPECT_FALSE(QFileInfo::exists(folder.hiddenList()));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System),
            QStringList({"SkinH_EL.dll"}));
}

const QByteArray kOldEngine = "an older engine, a different size";

INSTANTIATE_TEST_SUITE_P(
    Cases, SkinEngineFileOccupied,
    ::testing::Values(
        Occupant{"DifferentFile", [](const QString& path) { ASSERT_TRUE(writeAll(path, kOldEngine)); },
                 [](const QString& path) { EXPECT_EQ(readAll(path), kOldEngine); }},
        Occupant{"EmptyFile", [](const QString& path) { ASSERT_TRUE(writeAll(path, {})); },
                 [](const QString& path) {
                   EXPECT_TRUE(QFileInfo(path).isFile());
                   EXPECT_EQ(QFileInfo(path).size(), 0);
                 }},
        Occupant{"Folder", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); },
                 [](const QString& path) {
                   EXPECT_TRUE(QFileInfo(path).isDir());
                   EXPECT_TRUE(QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
                 }},
        Occupant{"DanglingLink",
                 [](const QString& path) { ASSERT_TRUE(QFile::link(path + ".gone", path)); },
                 [](const QString& path) {
                   EXPECT_TRUE(QFileInfo(path).isSymLink());
                   EXPECT_FALSE(QFileInfo::exists(path + ".gone"));
                 }}),
    [](const ::testing::TestParamInfo<Occupant>& info) { return std::string(info.param.what); });

TEST(SkinEngineFile, UnwritableFolderIsNotReported) {
  EngineFolder folder;
  const QString missing = folder.path() + "/missing";
  SetSkinEngineFolder(missing.toStdString());
  EnsureSkinEngine();
  EXPECT_FALSE(QFileInfo::exists(missing));
  EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

}  // namespace
}  // namespace zedade
