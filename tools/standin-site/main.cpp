// The stand-in site: a local copy of the outside services Zedade talks to, for the demo and for a
// person trying the program without the internet. Serves the four parsing services' pages (showing
// which service got which address), the announcement, a search results page, video pages and the
// update file.
//
//   zedade-standin [--port N] [--announce-version V]
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "standin_pages.h"

namespace {

standin::MiniHttpServer* g_server = nullptr;

void stopOnSignal(int) {
  if (g_server) g_server->requestStop();
}

void usage() {
  std::fprintf(stderr, "usage: zedade-standin [--port N] [--announce-version V]\n");
}

}  // namespace

int main(int argc, char** argv) {
  int port = 18080;
  standin::SiteOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--port" && i + 1 < argc) {
      port = std::atoi(argv[++i]);
    } else if (arg == "--announce-version" && i + 1 < argc) {
      options.announcedVersion = argv[++i];
    } else {
      usage();
      return 2;
    }
  }

  standin::MiniHttpServer server;
  standin::RegisterRoutes(server, options);
  if (server.listen(port) < 0) {
    std::fprintf(stderr, "zedade-standin: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  g_server = &server;
  std::signal(SIGTERM, stopOnSignal);
  std::signal(SIGINT, stopOnSignal);
  std::printf("zedade-standin: serving on http://127.0.0.1:%d/ (announced version %s)\n", port,
              options.announcedVersion.c_str());
  std::fflush(stdout);
  server.serve();
  return 0;
}
