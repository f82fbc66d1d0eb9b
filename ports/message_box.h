// Message box types and answers the program uses, in the platform's numbering.
#pragma once

namespace mirravel {

enum MessageBoxType : unsigned {
  kBoxStop = 0x10,              // "ERROR"
  kBoxExclamation = 0x30,       // "WARNING", "Find text" not found
  kBoxYesNoExclamation = 0x34,  // "WARNING" questions
  kBoxInformation = 0x40,       // "INFO", "About Mirravel", "No more entry found"
  kBoxTaskModalExclamation = 0x2030,  // "Time Out !": MB_TASKMODAL | MB_ICONEXCLAMATION
};

enum MessageBoxAnswer : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

}  // namespace mirravel
