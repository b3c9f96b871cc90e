// The announcement check's network and text work against the stand-in site on loopback: one
// fetch of the announcement page, then the block and its four values cut out of it.
#include <benchmark/benchmark.h>

#include "platform/http_client.h"
#include "standin_pages.h"
#include "update/announcement.h"
#include "update/version.h"

namespace {

void BM_AnnouncementFetchAndParse(benchmark::State& state) {
  standin::MiniHttpServer server;
  standin::RegisterRoutes(server, standin::SiteOptions{});
  const int port = server.listen(0);
  server.start();
  const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/announcement.html";
  for (auto _ : state) {
    const zedade::Announcement announcement = zedade::ParseAnnouncement(zedade::TextOfBlock(zedade::HttpFetch(url)));
    benchmark::DoNotOptimize(zedade::CompareVersions(announcement.latest, "1.2"));
    if (announcement.latest.empty()) state.SkipWithError("no version announced");
  }
  server.stop();
}
BENCHMARK(BM_AnnouncementFetchAndParse)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
