#include "platform/download_naming.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace zedade::download {
namespace {

TEST(DownloadNamingTest, FileNameFromAddress) {
  struct Case {
    const char* name;
    const char* url;
    std::string expected;
  };
  const Case cases[] = {
      {"LastSegment", "http://host/dir/setup.exe", "setup.exe"},
      {"QueryAndFragmentDropped", "http://host/dir/setup.exe?v=2#top", "setup.exe"},
      {"PercentDecodedUtf8", "http://host/Rizavud1.1%E7%89%88.exe", "Rizavud1.1版.exe"},
      {"PercentDecodedGbk", "http://host/Rizavud1.1%B0%E6.exe", "Rizavud1.1版.exe"},
      {"EncodedSlashCannotClimb", "http://host/a/..%2F..%2Fetc%2Fpasswd", "passwd"},
      {"DotDot", "http://host/a/..", ""},
      {"FolderAddress", "http://host/dir/", ""},
      {"NoPath", "http://host", ""},
      {"NoPathButQuery", "http://host?x=/y.exe", ""},
      {"ControlBytesReplaced", "ftp://host/a%0Ab.txt", "a_b.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileNameFromAddress(c.url), c.expected) << c.name;
}

TEST(DownloadNamingTest, FileNameFromContentDisposition) {
  struct Case {
    const char* name;
    const char* header;
    std::string expected;
  };
  const Case cases[] = {
      {"Quoted", "attachment; filename=\"setup 2.exe\"", "setup 2.exe"},
      {"Token", "attachment; filename=setup.exe", "setup.exe"},
      {"QuotedWithSemicolonAndEscape", "attachment; filename=\"a;b\\\"c.exe\"", "a;b\"c.exe"},
      {"ExtendedPreferred", "attachment; filename=\"plain.exe\"; filename*=UTF-8''%E7%89%88.exe", "版.exe"},
      {"ExtendedInGbk", "attachment; filename*=GBK''%B0%E6.exe", "版.exe"},
      {"PathStripped", "attachment; filename=\"..\\\\..\\\\evil.exe\"", "evil.exe"},
      {"UnixPathStripped", "attachment; filename=\"/etc/passwd\"", "passwd"},
      {"NoFilename", "inline", ""},
      {"EmptyFilename", "attachment; filename=\"\"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FileNameFromContentDisposition(c.header), c.expected) << c.name;
}

TEST(DownloadNamingTest, AddressesOnTheWireAndReferer) {
  EXPECT_EQ(WireAddress("http://host/a b/版.exe?x=%20"), "http://host/a%20b/%E7%89%88.exe?x=%20");
  EXPECT_EQ(WireAddress("http://host/file.exe\r\n"), "http://host/file.exe%0D%0A");
  EXPECT_EQ(DefaultReferer("http://host/dir/file.exe"), "http://host/dir/");
  EXPECT_EQ(DefaultReferer("http://host/dir/file.exe?from=a/b"), "http://host/dir/");
  EXPECT_EQ(DefaultReferer("http://host"), "http://host/");
  EXPECT_EQ(SchemeOf("HTTPS://host/"), "https");
  EXPECT_EQ(SchemeOf("host/a://b"), "");
  EXPECT_TRUE(IsSupportedScheme("ftp"));
  EXPECT_FALSE(IsSupportedScheme("gopher"));
}

TEST(DownloadNamingTest, AlternativeFileName) {
  EXPECT_EQ(AlternativeFileName("setup.exe", 1), "setup (1).exe");
  EXPECT_EQ(AlternativeFileName("Rizavud1.1版.exe", 2), "Rizavud1.1版 (2).exe");
  EXPECT_EQ(AlternativeFileName("README", 1), "README (1)");
  EXPECT_EQ(AlternativeFileName(".profile", 1), ".profile (1)");
}

}  // namespace
}  // namespace zedade::download
