#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "loopback_server.h"
#include "standin_pages.h"

namespace zedade::testing {

// The stand-in site on a loopback port, remembering every request target it was sent.
class RecordingSite {
 public:
  explicit RecordingSite(standin::SiteOptions options = {}) {
    m_server.server().set_logger([this](const httplib::Request& request, const httplib::Response&) {
      std::lock_guard lock(m_mutex);
      m_targets.push_back(request.target);
    });
    standin::RegisterRoutes(m_server.server(), options, "");
    m_server.start();
  }

  std::string hostPort() const { return m_server.hostPort(); }
  std::string url(const std::string& path) const { return m_server.url(path); }

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
  LoopbackServer m_server;
  mutable std::mutex m_mutex;
  std::vector<std::string> m_targets;
};

}  // namespace zedade::testing
