#include "config/addresses.h"

#include "config/build_config.h"

namespace zedade {
namespace {

constexpr const char* kStartVideoPath = "/v_show/id_XOTEzNjgxNzA0.html?from=s1.8-1-1.2&spm=0.0.0.0.vpYCYK";

std::string http(const std::string& host) { return "http://" + host; }

void fillServices(Addresses& a, const std::string& universal, const std::string& spare, const std::string& backup,
                  const std::string& full) {
  a.universalParser = http(universal) + "/?url=";
  a.spareParser = http(spare) + "/qqvip.php/?url=";
  a.backupParser = http(backup) + "/player.php?url=";
  a.fullParser = http(full) + "/play/play.html?url=";
}

void fillSites(Addresses& a) {
  a.sites = {
      "",
      ZEDADE_SITE_YOUKU_HOST,  // Youku and Tudou are handed over without a scheme
      ZEDADE_SITE_TUDOU_HOST,
      http(ZEDADE_SITE_LETV_HOST),
      http(ZEDADE_SITE_TENCENT_HOST),
      http(ZEDADE_SITE_IQIYI_HOST),
      http(ZEDADE_SITE_KANKAN_HOST),
      http(ZEDADE_SITE_PPTV_HOST),
      http(ZEDADE_SITE_MANGO_HOST) + "/?f=bdpz",
      http(ZEDADE_SITE_FUNSHION_HOST) + "/tv/",
      http(ZEDADE_SITE_BAOFENG_HOST),
      http(ZEDADE_SITE_CIETV_HOST) + "/",
      http(ZEDADE_SITE_DOUYU_HOST) + "/",
      http(ZEDADE_SITE_HUYA_HOST) + "/",
      http(ZEDADE_SITE_ZHANQI_HOST) + "/",
      http(ZEDADE_SITE_FENGYUN_HOST) + "/",
      http(ZEDADE_SITE_SOHU_HOST),
  };
}

}  // namespace

std::string Addresses::contactLink() const {
  return "tencent://message/?uin=" + contactNumber + "&Site=" + contactSiteUrl + "&Menu=yes";
}

Addresses Addresses::fromBuild() {
  Addresses a;
  fillServices(a, ZEDADE_UNIVERSAL_PARSER_HOST, ZEDADE_SPARE_PARSER_HOST, ZEDADE_BACKUP_PARSER_HOST,
               ZEDADE_FULL_PARSER_HOST);
  a.announcementUrl = ZEDADE_ANNOUNCEMENT_URL;
  a.officialSiteUrl = ZEDADE_OFFICIAL_SITE_URL;
  a.contactNumber = ZEDADE_CONTACT_NUMBER;
  a.contactSiteUrl = ZEDADE_CONTACT_SITE_URL;
  a.startVideoPage = http(ZEDADE_YOUKU_VIDEO_HOST) + kStartVideoPath;
  fillSites(a);
  return a;
}

Addresses Addresses::onHost(const std::string& hostPort) {
  Addresses a = fromBuild();
  fillServices(a, hostPort, hostPort, hostPort, hostPort);
  a.announcementUrl = http(hostPort) + "/announcement.html";
  a.officialSiteUrl = http(hostPort) + "/official/";
  a.contactSiteUrl = http(hostPort) + "/";
  a.startVideoPage = http(hostPort) + kStartVideoPath;
  return a;
}

}  // namespace zedade
