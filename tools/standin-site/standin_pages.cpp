#include "standin_pages.h"

#include <string>

#include "platform/text.h"

namespace standin {
namespace {

std::string escapeHtml(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// The query value of "url" exactly as sent: everything after "url=" in the raw target, so that a
// page address carrying its own query and ampersands shows whole.
std::string rawPageAddress(const std::string& target) {
  const auto at = target.find("url=");
  return at == std::string::npos ? std::string() : DecodeUrl(target.substr(at + 4));
}

const char* kPageStyle =
    "body{margin:0;background:#111;color:#eee;font-family:sans-serif}"
    "h1{font-size:18px;margin:8px 12px;color:#ffd400}"
    "p{margin:4px 12px;font-size:13px;word-break:break-all}"
    "canvas{display:block;margin:8px 12px;background:#000;border:1px solid #444}"
    "a{color:#6cf}";

// A moving picture that stands in for the video a parsing service would play.
const char* kPlayerScript =
    "<canvas id=screen width=560 height=240></canvas><script>"
    "var c=document.getElementById('screen').getContext('2d'),t=0;"
    "setInterval(function(){t++;c.fillStyle='#000';c.fillRect(0,0,560,240);"
    "c.fillStyle='hsl('+(t*3%360)+',80%,50%)';c.beginPath();"
    "c.arc(280+200*Math.sin(t/20),120+80*Math.cos(t/15),30,0,7);c.fill();"
    "c.fillStyle='#fff';c.font='16px sans-serif';c.fillText('playing '+(t/25).toFixed(1)+' s',12,228);},40);"
    "</script>";

}  // namespace

std::string ParserPage(const std::string& service, const std::string& rawTarget, const std::string& pageAddress) {
  std::string html = "<!doctype html><html><head><meta charset=utf-8><title>" + escapeHtml(service) +
                     "</title><style>" + kPageStyle + "</style></head><body>";
  html += "<h1 id=service>" + escapeHtml(service) + "</h1>";
  html += "<p>received address: <b id=address>" + escapeHtml(pageAddress) + "</b></p>";
  html += "<p>request target: <code id=target>" + escapeHtml(rawTarget) + "</code></p>";
  html += kPlayerScript;
  html += "<p><a id=other target=_blank href=\"/v/2.html\">another episode (opens a new window)</a> &middot; "
          "<a href=\"#\" onclick=\"window.open('/v/3.html');return false\">a script pop-up</a></p>";
  html += "</body></html>";
  return html;
}

std::string AnnouncementPage(const std::string& version, const std::string& hostPort) {
  const std::string utf8 =
      "<!doctype html><html><head><meta charset=gbk><title>公告</title></head><body><pre>\n"
      "Zedade 公告\n"
      "////开始\n"
      "最新版本=" + version + "}\n"
      "窗口标题=Zedade 视频解析 v3.0 (stand-in){\n"
      "更新地址=http://" + hostPort + "/update/Rizavud1.1版.exe完毕\n"
      "更新说明=欢迎使用 Zedade：复制视频地址，点击万能解析即可播放。本页来自本机的替身站点。#\n"
      "////结束\n"
      "</pre></body></html>\n";
  return zedade::Gbk(utf8);
}

std::string ResultsPage(const std::string& hostPort, const std::string& keyword) {
  const std::string crlf = "\r\n";
  std::string html = "<!doctype html><html><head><meta charset=utf-8><title>搜索 " + escapeHtml(keyword) +
                     "</title></head><body><ul class=\"site-piclist\">";
  for (int n = 1; n <= 12; ++n) {
    const std::string number = std::to_string(n);
    const std::string address = "http://" + hostPort + "/v/" + number + ".html";
    html += crlf + "  <li class=\"site-piclist_item\">" + crlf + "    <div class=\"site-piclist_pic\">" + crlf +
            "      <a class=\"site-piclist_pic_link\" href=\"" + address + "\" title=\"\">" + crlf + "        <div ";
    html += "class=\"mod-listTitle\"><span class=\"mod-listTitle_right\">更新至" + number + "集</span></div>" + crlf +
            std::string(40, ' ') + "</div>" + crlf + std::string(36, ' ') + "</a>" + crlf + std::string(32, ' ') +
            "</div>" + crlf + std::string(32, ' ') + "<div class=\"site-piclist_info\">" + crlf +
            std::string(36, ' ') + "<p class=\"site-piclist_info_title\"><a href=\"" + address +
            "\" rseat=\"list_title\">替身视频 第" + number + "集</a></p>" + crlf + std::string(36, ' ') +
            "<p class=\"site-piclist_info_title fs12\"><a href=\"" + address +
            "#intro\" rseat=\"list_intro\">简介</a></p>";
    html += crlf + "    </div>" + crlf + "  </li>";
  }
  html += crlf + "</ul></body></html>" + crlf;
  return html;
}

std::string UpdateProgram() {
  // A shell script stands in for the new version; started from the desktop, it leaves a note
  // beside itself. Padded to about 1 MiB so that the download is split over connections.
  std::string script =
      "#!/bin/sh\n"
      "# Zedade stand-in update: the program that the update downloads and starts.\n"
      "echo \"stand-in update started $(date)\" > \"$(dirname \"$0\")/zedade-update-started.txt\"\n"
      "exit 0\n";
  const std::string padding = "# padding so that the download is large enough for several connections\n";
  while (script.size() < (1 << 20)) script += padding;
  return script;
}

void RegisterRoutes(MiniHttpServer& server, const SiteOptions& options) {
  using Request = MiniHttpServer::Request;
  using Response = MiniHttpServer::Response;
  struct Service {
    const char* path;
    const char* name;
  };
  static const Service services[] = {
      {"/", "universal parsing service"},
      {"/qqvip.php/", "spare parsing service"},
      {"/player.php", "backup parsing service"},
      {"/play/play.html", "full parsing service"},
  };
  server.handle([](const Request& request, Response& response) {
    if (request.query.rfind("url=", 0) != 0) return false;
    for (const Service& service : services) {
      if (request.path == service.path) {
        response.body = ParserPage(service.name, request.target, rawPageAddress(request.target));
        return true;
      }
    }
    return false;
  });
  server.handle([options](const Request& request, Response& response) {
    if (request.path != "/announcement.html") return false;
    const auto host = request.headers.find("host");
    response.body = AnnouncementPage(options.announcedVersion, host == request.headers.end() ? "127.0.0.1" : host->second);
    response.contentType = "text/html; charset=gbk";
    return true;
  });
  server.handle([](const Request& request, Response& response) {
    if (request.path.rfind("/update/", 0) != 0) return false;
    static const std::string program = UpdateProgram();
    response.body = program;
    response.contentType = "application/octet-stream";
    response.acceptRanges = true;
    return true;
  });
  server.handle([](const Request& request, Response& response) {
    if (request.path != "/search") return false;
    const auto host = request.headers.find("host");
    const auto at = request.query.find("q=");
    response.body = ResultsPage(host == request.headers.end() ? "127.0.0.1" : host->second,
                                at == std::string::npos ? "" : DecodeUrl(request.query.substr(at + 2), true));
    return true;
  });
  server.handle([](const Request& request, Response& response) {
    if (request.path != "/") return false;
    response.body = std::string("<!doctype html><html><head><meta charset=utf-8><title>stand-in site</title><style>") +
                    kPageStyle + "</style></head><body><h1>Zedade stand-in site</h1>"
                    "<p>Parsing services: /?url=, /qqvip.php/?url=, /player.php?url=, /play/play.html?url=</p>"
                    "<p>Video pages: <a href=\"/v/1.html\">/v/1.html</a></p>"
                    "<p>Search results: <a href=\"/search?q=demo\">/search?q=demo</a></p></body></html>";
    return true;
  });
  server.handle([](const Request& request, Response& response) {
    // Video pages: /v/N.html, and the start video's page.
    const bool video = request.path.rfind("/v/", 0) == 0 || request.path.rfind("/v_show/", 0) == 0;
    if (!video) return false;
    const std::string name = request.path.substr(request.path.rfind('/') + 1);
    response.body = std::string("<!doctype html><html><head><meta charset=utf-8><title>") + escapeHtml(name) +
                    "</title><style>" + kPageStyle + "</style></head><body><h1>stand-in video page " +
                    escapeHtml(name) + "</h1>" + kPlayerScript + "</body></html>";
    return true;
  });
}

}  // namespace standin
