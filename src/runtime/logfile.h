// Log: two journals beside the program, the log (".log", copies of console
// messages up to a level) and the error log (".err", shared with the failure
// report). Records are buffered and appended at program end; files are only
// ever appended to.
#pragma once

#include <cstdint>
#include <string>

#include "textlib/listman.h"
#include "textlib/shortstr.h"

namespace logfile {

using shortstr::ShortStr;

struct LogState {
  bool LogEnabled = true;
  bool ErrorLogEnabled = true;
  bool LogDirect = false;
  std::uint8_t LogLevelLimit = 9;
  std::string LogFileName;
  std::string ErrorFileName;
  listman::List* LogLines = nullptr;
  listman::List* ErrorLines = nullptr;
};

// The module's state (switches may be changed by tests).
LogState& State();

// Start-up: file names from the program path, empty lists, LogFlush
// registered as an exit procedure.
void LogInit();
// Adds the record when enabled and level <= LogLevelLimit.
void LogWrite(const ShortStr& record, std::uint8_t level);
void ErrorLogWrite(const ShortStr& record);
// Appends one line to the named file at once (direct mode). A failure is
// shown and recorded in the error log, but never about the error log itself
// while it is already reporting one.
void LogAppendLine(const std::string& name, const ShortStr& record);
// Exit procedure: appends the buffered records, log first, and releases them.
void LogFlush();

}  // namespace logfile
