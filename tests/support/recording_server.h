#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "standin_pages.h"

namespace zedade::testing {

// The stand-in site on a loopback port, remembering every request target it was sent.
class RecordingSite {
 public:
  explicit RecordingSite(standin::SiteOptions options = {}) {
    m_server.setLogger([this](const standin::MiniHttpServer::Request& request) {
      std::lock_guard lock(m_mutex);
      m_targets.push_back(request.target);
    });
    standin::RegisterRoutes(m_server, options);
    m_server.listen(0);
    m_server.start();
  }

  std::string hostPort() const { return "127.0.0.1:" + std::to_string(m_server.port()); }
  std::string url(const std::string& path) const { return "http://" + hostPort() + path; }

  std::vector<std::string> targets() const {
    std::lock_guard lock(m_mutex);
    return m_targets;
  }
  // The targets that start with the prefix, in the order received.
  std::vector<std::string> targetsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& target : targets()) {
      if (target.rfind(prefix, 0) == 0) found.push_back(target);
    }
    return found;
  }

 private:
  standin::MiniHttpServer m_server;
  mutable std::mutex m_mutex;
  std::vector<std::string> m_targets;
};

}  // namespace zedade::testing
