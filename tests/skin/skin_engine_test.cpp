// The skin engine through its exports, in this process's QApplication: the carried skins apply,
// and damaged skins are refused with nothing changed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTreeWidget>

#include <functional>
#include <ostream>
#include <memory>
#include <optional>
#include <thread>

#include "skin/attach_skin.h"
#include "skin/engine/skin_engine.h"
#include "skin/skin_data.h"
#include "skin_test_support.h"

namespace zedade {
namespace {

using testing::bytesOf;
using testing::EngineFolder;
namespace se = skin_engine;

// A skin in the engine's format, built from its parts.
QByteArray makeSkin(const QByteArray& palette, const QByteArray& sheet, const QByteArray& firstLine = "ZEDADE-SKIN 1",
                    bool withChecksum = true) {
  const QByteArray body = palette + sheet;
  QByteArray skin = firstLine + "\nname: Test\n";
  skin += "palette: " + QByteArray::number(palette.size()) + "\n";
  skin += "sheet: " + QByteArray::number(sheet.size()) + "\n";
  if (withChecksum) skin += "sha256: " + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + "\n";
  return skin + "\n" + body;
}

class SkinEngine : public ::testing::Test {
 protected:
  // The engine the program binds, written to a folder of the suite's own.
  static void SetUpTestSuite() {
    folder = new EngineFolder;
    EnsureSkinEngine();
    attachRes = reinterpret_cast<se::AttachRes>(SkinEngineSymbol("SkinH_AttachRes"));
    attachCount = reinterpret_cast<se::AttachCount>(SkinEngineSymbol("SkinH_AttachCount"));
    lastApplied = reinterpret_cast<se::LastApplied>(SkinEngineSymbol("SkinH_LastApplied"));
  }
  static void TearDownTestSuite() { delete folder; }

  void SetUp() override {
    ASSERT_TRUE(attachRes && attachCount && lastApplied);
  }

  static int attach(const QByteArray& skin) {
    return attachRes(reinterpret_cast<const unsigned char*>(skin.constData()), static_cast<int>(skin.size()), "", 0,
                     0, 0);
  }

  static QByteArray last() {
    QByteArray bytes(lastApplied(nullptr, 0), '\0');
    lastApplied(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    return bytes;
  }

  static inline EngineFolder* folder = nullptr;
  static inline se::AttachRes attachRes = nullptr;
  static inline se::AttachCount attachCount = nullptr;
  static inline se::LastApplied lastApplied = nullptr;
};

TEST_F(SkinEngine, EveryCarriedSkinAppliesCleanlyAndSetsNoFont) {
  static QStringList warnings;
  warnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg) warnings << text;
  });
  // One of each control the sheets style, so that Qt parses each sheet and its rules.
  QWidget window;
  new QPushButton(QStringLiteral("按钮"), &window);
  new QProgressBar(&window);
  new QScrollBar(Qt::Vertical, &window);
  new QTreeWidget(&window);
  QMenu menu;
  menu.addAction(QStringLiteral("项"));

  const QRegularExpression fontProperty(QStringLiteral("\\bfont(-[a-z]+)?\\s*:"));
  for (int n = 1; n <= kSkinCount; ++n) {
    SCOPED_TRACE(n);
    const QByteArray skin = bytesOf(SkinBytes(n));
    const int before = attachCount();
    ASSERT_EQ(attach(skin), se::kOk);
    EXPECT_EQ(attachCount(), before + 1);
    EXPECT_EQ(last(), skin);
    window.ensurePolished();
    menu.ensurePolished();
    EXPECT_FALSE(qApp->styleSheet().isEmpty());
    EXPECT_FALSE(qApp->styleSheet().contains(fontProperty)) << "a skin sets no font";
    EXPECT_TRUE(skin.contains("\nWindow=#")) << "each skin colours the plain windows";
  }
  qInstallMessageHandler(previous);
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST(SkinData, ThirtyThreeDistinctSkinsAndAnEngineImage) {
  QSet<QByteArray> skins;
  QSet<QByteArray> names;
  for (int n = 1; n <= kSkinCount; ++n) {
    const QByteArray skin = bytesOf(SkinBytes(n));
    ASSERT_TRUE(skin.startsWith("ZEDADE-SKIN 1\nname: ")) << n;
    skins.insert(skin);
    names.insert(skin.split('\n').value(1));
    EXPECT_EQ(QByteArray::fromStdString(SkinBlock(n)), skin);
  }
  EXPECT_EQ(skins.size(), kSkinCount);
  EXPECT_EQ(names.size(), kSkinCount);
  EXPECT_TRUE(SkinBytes(0).empty());
  EXPECT_TRUE(SkinBytes(kSkinCount + 1).empty());
  EXPECT_TRUE(SkinBlock(-1).empty());

  EXPECT_TRUE(bytesOf(SkinEngineImage()).startsWith("\x7f" "ELF"));
  EXPECT_EQ(QByteArray::fromStdString(SkinEngineImageBlock()), bytesOf(SkinEngineImage()));
}

TEST_F(SkinEngine, AppliesAHandMadeSkinFromItsOwnCopy) {
  // A skin without palette entries shows the colours the application had before any skin.
  ASSERT_EQ(attach(makeSkin("", "QWidget {}")), se::kOk);
  const QColor ownHighlight = QApplication::palette().color(QPalette::Highlight);
  ASSERT_NE(ownHighlight, QColor(0xab, 0xcd, 0xef));

  QByteArray skin = makeSkin("Window=#123456\nHighlight=#abcdef\n", "QPushButton { color: #fedcba; }");
  const QByteArray original = skin;
  ASSERT_EQ(attach(skin), se::kOk);
  skin.fill('\xcd');  // the caller releases its bytes as soon as the call returns

  EXPECT_EQ(qApp->styleSheet(), QStringLiteral("QPushButton { color: #fedcba; }"));
  EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor(0xab, 0xcd, 0xef));
  EXPECT_EQ(last(), original);

  // A role the next skin leaves out goes back to its own colour.
  ASSERT_EQ(attach(makeSkin("Window=#204060\n", "QPushButton { color: #010203; }")), se::kOk);
  EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x20, 0x40, 0x60));
  EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), ownHighlight);
}

struct Damaged {
  const char* what;
  std::function<std::optional<QByteArray>()> bytes;  // nullopt: a null address
  int expected;
  std::optional<int> count;  // a count other than the bytes' own
};

void PrintTo(const Damaged& row, std::ostream* out) { *out << row.what; }

QByteArray skin31() { return bytesOf(SkinBytes(kProgramSkin)); }

class SkinEngineRefuses : public SkinEngine, public ::testing::WithParamInterface<Damaged> {};

TEST_P(SkinEngineRefuses, DamagedSkinChangesNothing) {
  ASSERT_EQ(attach(skin31()), se::kOk);
  const QString sheet = qApp->styleSheet();
  const QPalette palette = QApplication::palette();
  const int count = attachCount();

  const std::optional<QByteArray> bytes = GetParam().bytes();
  const auto* address = bytes ? reinterpret_cast<const unsigned char*>(bytes->constData()) : nullptr;
  const int size = GetParam().count.value_or(bytes ? static_cast<int>(bytes->size()) : 0);
  EXPECT_EQ(attachRes(address, size, "", 0, 0, 0), GetParam().expected);

  EXPECT_EQ(qApp->styleSheet(), sheet);
  EXPECT_EQ(QApplication::palette(), palette);
  EXPECT_EQ(attachCount(), count);
  EXPECT_EQ(last(), skin31());
}

QByteArray randomBytes() {
  QRandomGenerator random(31);
  QByteArray bytes(4096, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random.bounded(256));
  return bytes;
}

QByteArray withByteChanged(QByteArray bytes, qsizetype at) {
  bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkinEngineRefuses,
    ::testing::Values(
        Damaged{"NullAddress", [] { return std::nullopt; }, se::kErrorArgument, 100},
        Damaged{"NoBytes", [] { return skin31(); }, se::kErrorArgument, 0},
        Damaged{"NegativeCount", [] { return skin31(); }, se::kErrorArgument, -5},
        Damaged{"NotASkin", [] { return QByteArray("PK\x03\x04 an archive, not a skin"); }, se::kErrorFormat, {}},
        Damaged{"RandomBytes", randomBytes, se::kErrorFormat, {}},
        Damaged{"CutInsideMagic", [] { return skin31().first(5); }, se::kErrorTruncated, {}},
        Damaged{"CutInsideHeader", [] { return skin31().first(40); }, se::kErrorTruncated, {}},
        Damaged{"CutInsideBody", [] { return skin31().chopped(1); }, se::kErrorTruncated, {}},
        Damaged{"TrailingBytes", [] { return skin31() + "x"; }, se::kErrorFormat, {}},
        Damaged{"ByteChangedInSheet", [] { return withByteChanged(skin31(), skin31().size() - 10); },
                se::kErrorChecksum, {}},
        Damaged{"ByteChangedInPalette",
                [] { return withByteChanged(skin31(), skin31().indexOf("\nWindow=#") + 3); }, se::kErrorChecksum,
                {}},
        Damaged{"LaterVersion", [] { return makeSkin("", "QWidget {}", "ZEDADE-SKIN 2"); }, se::kErrorVersion, {}},
        Damaged{"NoChecksum", [] { return makeSkin("", "QWidget {}", "ZEDADE-SKIN 1", false); }, se::kErrorFormat,
                {}},
        Damaged{"HugeSectionCount",
                [] { return QByteArray("ZEDADE-SKIN 1\nname: x\npalette: 99999999999\nsheet: 0\nsha256: ") +
                            QByteArray(64, 'a') + "\n\n"; },
                se::kErrorFormat, {}},
        Damaged{"UnknownPaletteRole", [] { return makeSkin("Windoww=#000000\n", "QWidget {}"); }, se::kErrorContent,
                {}},
        Damaged{"ShortColour", [] { return makeSkin("Window=#fff\n", "QWidget {}"); }, se::kErrorContent, {}},
        Damaged{"SheetNotUtf8", [] { return makeSkin("", "QPushButton { color: red; } \xff\xfe"); },
                se::kErrorContent, {}},
        Damaged{"ZeroByteInSheet", [] { return makeSkin("", QByteArray("QWidget {}\0x", 12)); }, se::kErrorContent,
                {}}),
    [](const ::testing::TestParamInfo<Damaged>& info) { return std::string(info.param.what); });

TEST_F(SkinEngine, RefusesCallsOffTheApplicationThread) {
  ASSERT_EQ(attach(skin31()), se::kOk);
  const int count = attachCount();
  int result = 0;
  std::thread other([&] { result = attach(makeSkin("Window=#010101\n", "QWidget {}")); });
  other.join();
  EXPECT_EQ(result, se::kErrorThread);
  EXPECT_EQ(attachCount(), count);
  EXPECT_EQ(last(), skin31());
}

}  // namespace
}  // namespace zedade
