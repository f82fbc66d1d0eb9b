// The stand-in's command line: what it answers to each text query, whether its window procedure hangs,
// where it logs, and which program it starts with its window handle, as jaPBe starts a tool.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace japbe_standin {

// How a query is answered: a reply sent from inside the query's handling, one sent after the handling
// returned, a promise never kept, a refusal (result 0), or a reply sent inside but from another window.
enum class ReplyMode { Inside, After, Never, Zero, OtherWindow };

struct Reply {
  ReplyMode mode = ReplyMode::Zero;
  std::string text;
};

struct Options {
  std::string logPath;                 // "" for no log file (the window shows the log anyway)
  std::string launch;                  // program to start; "" for none
  std::string arguments = "x %h";      // its parameters; %h becomes our window handle in decimal
  std::string title = "jaPBe stand-in";
  std::array<Reply, 3> replies{{{ReplyMode::Inside, "SendMessage_(WindowID(), #WM_PAINT, 0, 0)"}, {}, {}}};
  bool unterminated = false;  // replies without their NUL: cbData is the text's length
  DWORD hangMs = 0;           // > 0: every query blocks the window procedure that long
  std::string error;          // what was wrong with the command line
};

Options ParseOptions(int argc, char** argv);
extern const char kUsage[];

}  // namespace japbe_standin
