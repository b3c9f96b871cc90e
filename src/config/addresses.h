#pragma once

#include <array>
#include <string>

namespace zedade {

// Every outside address the program uses. The build fills it from its configured hosts
// (fromBuild); tests construct it with the loopback addresses of their own servers.
// All texts are plain ASCII, so they are the same in UTF-8 and GBK.
struct Addresses {
  // Parsing-service prefixes: "http://" host path, ending in the query key of the page address.
  std::string universalParser;
  std::string spareParser;
  std::string backupParser;
  std::string fullParser;

  std::string announcementUrl;
  std::string officialSiteUrl;
  std::string contactNumber;
  std::string contactSiteUrl;
  std::string startVideoPage;  // a video page address, played through universalParser when up to date

  // The site tree's addresses by selection index 1..16; index 0 is the tree's root and opens nothing.
  std::array<std::string, 17> sites;

  // The messenger chat link of the contact.
  std::string contactLink() const;

  // The addresses this build was configured with.
  static Addresses fromBuild();

  // Every host on one "host:port" (the stand-in site's layout): services, announcement and start video.
  static Addresses onHost(const std::string& hostPort);
};

}  // namespace zedade
