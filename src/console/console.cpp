#include "console/console.h"

#include "platform/output.h"
#include "textlib/charset.h"

namespace console {

std::uint16_t TextAttribute = 0;
std::uint16_t InitialAttribute = 0;

void ConsoleSetup() {
  platform::GuardStandardStreams();
  platform::OutReset();
  // A terminal starts in its own colours; light grey stands for them.
  TextAttribute = InitialAttribute = 7;
}

void ConsoleShutdown() {
  RestoreTextAttribute();
  Flush();
}

void Flush() { platform::OutFlush(); }

void SetTextColour(std::uint8_t colour) {
  TextAttribute = static_cast<std::uint16_t>(((colour & 0x0F) | (TextAttribute & 0xF0)) & 0xFF);
  platform::OutSetColour(TextAttribute & 0x0F);
}

void RestoreTextAttribute() {
  TextAttribute = InitialAttribute;
  platform::OutResetColours();
}

void ResetOutput() { platform::OutReset(); }

void WriteOut(const shortstr::ShortStr& text) { platform::OutWrite(text.View()); }

namespace {
const charset::EscapeTable* shownEscapes = nullptr;
}  // namespace

void ShowEscapesWith(const charset::EscapeTable* escapes) { shownEscapes = escapes; }

const charset::EscapeTable* EscapesShown() { return shownEscapes; }

void WriteOutLn(const shortstr::ShortStr& text) {
  // Message text may hold characters CP866 lacks: they are shown as
  // themselves where the console can show them, never as their escapes.
  if (charset::HoldsEscape(text.View()))
    platform::OutWriteLineUnicode(charset::Shown(text.View(), shownEscapes));
  else
    platform::OutWriteLine(text.View());
}

}  // namespace console
