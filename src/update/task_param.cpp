#include "update/task_param.h"

#include <algorithm>

#include "platform/downloader.h"

namespace zedade {

namespace {

// The downloader and the file system speak UTF-8; a text that is not valid GBK goes as it is.
std::string ToUtf8(const Text& gbk) {
  if (gbk.empty()) return {};
  std::string utf8 = Utf8(gbk);
  return utf8.empty() ? gbk : utf8;
}

Text FromUtf8(const std::string& utf8) {
  if (utf8.empty()) return {};
  Text gbk = Gbk(utf8);
  return gbk.empty() ? utf8 : gbk;
}

std::optional<std::string> ToUtf8(const std::optional<Text>& gbk) {
  if (!gbk) return std::nullopt;
  return ToUtf8(*gbk);
}

FtpTransferMode FtpModeOf(int32_t mode) {
  switch (mode) {
    case 2: return FtpTransferMode::Text;
    case 3: return FtpTransferMode::ByExtension;
    default: return FtpTransferMode::Binary;
  }
}

}  // namespace

Text TrimAddressSpaces(const Text& address) {
  // Walk by characters, so that the second byte of a double-byte character is never taken for
  // half of an ideographic space.
  size_t begin = 0;
  size_t end = 0;
  bool found = false;
  for (size_t i = 0; i < address.size();) {
    const auto lead = static_cast<unsigned char>(address[i]);
    const size_t length = (lead >= 0x80 && i + 1 < address.size()) ? 2 : 1;
    const bool space = length == 1 ? lead == ' '
                                   : lead == 0xA1 && static_cast<unsigned char>(address[i + 1]) == 0xA1;
    if (!space) {
      if (!found) begin = i;
      found = true;
      end = i + length;
    }
    i += length;
  }
  return found ? address.substr(begin, end - begin) : Text();
}

void SetUpdateTask(TaskParam& param, const Text& updateAddress, const Text& desktopFolder,
                   TaskEventCallback callback) {
  param.Flags = kTaskDownload;
  param.Url = TrimAddressSpaces(updateAddress);
  param.StopWait = 1000;
  param.ThreadCount = 3;
  param.SavePath = desktopFolder + "\\";
  param.ConnectTimeout = 5000;
  param.SendTimeout = 5001;
  param.ReceiveTimeout = 10000;
  param.ReceiveBlockSize = 10240;
  param.EventCallback = std::move(callback);
}

Download::Download() = default;
Download::~Download() = default;

bool AddTask(Download& download, const TaskParam& param) {
  DownloadRequest request;
  request.url = ToUtf8(param.Url);
  request.savePath = ToUtf8(param.SavePath);
  request.userName = ToUtf8(param.UserName);
  request.password = ToUtf8(param.Password);
  request.connections = std::max(1, param.ThreadCount);
  request.speedLimit = std::max(0, param.SpeedLimit);
  request.connectTimeoutMs = param.ConnectTimeout;
  request.sendTimeoutMs = param.SendTimeout;
  request.receiveTimeoutMs = param.ReceiveTimeout;
  request.stopWaitMs = param.StopWait;
  request.receiveBlockSize = param.ReceiveBlockSize;
  request.ftpMode = FtpModeOf(param.FtpTransferMode);
  request.binaryExtensions = ToUtf8(param.BinaryExtensions);
  request.proxy = ToUtf8(param.Proxy);
  request.referer = ToUtf8(param.Referer);
  if (param.EventCallback) {
    request.onEvent = [callback = param.EventCallback, task = &download](const DownloadEvent& event) {
      return callback(event.type, event.connection, event.value, event.value2, task);
    };
  }
  if (param.LogCallback) {
    request.onLog = [log = param.LogCallback](const std::string& message) { log(FromUtf8(message)); };
  }
  if (!download.m_downloader) download.m_downloader = std::make_unique<Downloader>();
  return download.m_downloader->start(std::move(request));
}

int64_t GetDoneLength(const Download& download) {
  return download.m_downloader ? download.m_downloader->doneLength() : 0;
}

}  // namespace zedade
