#pragma once

#include <httplib.h>

#include <string>

namespace standin {

struct SiteOptions {
  std::string announcedVersion = "1.2";  // the running program's own version: up to date
};

// Registers every page of the stand-in site; hostPort is where the site itself is reached.
void RegisterRoutes(httplib::Server& server, const SiteOptions& options, const std::string& hostPort);

// The page a parsing service answers with for the page address it received.
std::string ParserPage(const std::string& service, const std::string& rawTarget, const std::string& pageAddress);

}  // namespace standin
