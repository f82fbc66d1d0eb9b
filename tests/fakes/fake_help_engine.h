// A help engine that records each request, as the stand-in program logs them end to end.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ports/help_engine_port.h"

namespace mirravel::testing {

struct HelpRequest {
  std::uintptr_t owner = 0;
  std::string helpFilePath;
  std::uint32_t command = 0;
  std::string keyword;
};

class FakeHelpEngine : public HelpEnginePort {
 public:
  void Request(std::uintptr_t owner, std::string_view helpFilePath, std::uint32_t command,
               std::string_view keyword) override {
    requests.push_back(
        {owner, std::string(helpFilePath), command, command == HELP_KEY ? std::string(keyword) : std::string()});
    if (onRequest) onRequest(requests.back());
  }

  std::vector<HelpRequest> requests;
  std::function<void(const HelpRequest&)> onRequest;
};

}  // namespace mirravel::testing
