// Reading the stand-in's options.
#include "tests/e2e/peers/japbe/standin_options.h"

#include <cstdlib>
#include <cstring>

namespace japbe_standin {

const char kUsage[] =
    "japbe_standin [--launch PROGRAM] [--arguments \"x %h\"] [--log FILE] [--title TITLE]\n"
    "              [--reply-a MODE[:TEXT]] [--reply-b MODE[:TEXT]] [--reply-c MODE[:TEXT]]\n"
    "              [--unterminated] [--hang MILLISECONDS]\n"
    "MODE: inside, after, never, zero or other (a reply from another window).";

namespace {

bool ParseReply(const std::string& value, Reply& reply) {
  const std::size_t colon = value.find(':');
  const std::string mode = value.substr(0, colon);
  reply.text = colon == std::string::npos ? "" : value.substr(colon + 1);
  const struct {
    const char* name;
    ReplyMode mode;
  } modes[] = {{"inside", ReplyMode::Inside}, {"after", ReplyMode::After}, {"never", ReplyMode::Never},
               {"zero", ReplyMode::Zero},     {"other", ReplyMode::OtherWindow}};
  for (const auto& m : modes) {
    if (mode == m.name) {
      reply.mode = m.mode;
      return true;
    }
  }
  return false;
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc && options.error.empty(); ++i) {
    const std::string name = argv[i];
    if (name == "--unterminated") {
      options.unterminated = true;
      continue;
    }
    if (i + 1 >= argc) {
      options.error = "missing value after " + name;
      break;
    }
    const std::string value = argv[++i];
    if (name == "--log") {
      options.logPath = value;
    } else if (name == "--launch") {
      options.launch = value;
    } else if (name == "--arguments") {
      options.arguments = value;
    } else if (name == "--title") {
      options.title = value;
    } else if (name == "--hang") {
      options.hangMs = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
    } else if (name.size() == 9 && name.compare(0, 8, "--reply-") == 0 && name[8] >= 'a' && name[8] <= 'c') {
      if (!ParseReply(value, options.replies[static_cast<std::size_t>(name[8] - 'a')])) options.error = "bad reply " + value;
    } else {
      options.error = "unknown option " + name;
    }
  }
  return options;
}

}  // namespace japbe_standin
