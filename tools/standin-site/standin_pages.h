#pragma once

#include "mini_http_server.h"

#include <string>

namespace standin {

struct SiteOptions {
  std::string announcedVersion = "1.2";  // the running program's own version: up to date
};

// Registers every page of the stand-in site.
void RegisterRoutes(MiniHttpServer& server, const SiteOptions& options);

// The announcement page, in GBK, announcing `version`; the update address is on hostPort.
std::string AnnouncementPage(const std::string& version, const std::string& hostPort);

// A results page of twelve entries (UTF-8) whose links are the site's video pages on hostPort.
std::string ResultsPage(const std::string& hostPort, const std::string& keyword);

// The update program served under /update/ (any name), with byte ranges.
std::string UpdateProgram();

// The page a parsing service answers with for the page address it received.
std::string ParserPage(const std::string& service, const std::string& rawTarget, const std::string& pageAddress);

}  // namespace standin
