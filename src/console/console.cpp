#include "console/console.h"

#include "platform/output.h"

namespace console {

std::uint16_t TextAttribute = 0;
std::uint16_t InitialAttribute = 0;

void ConsoleSetup() {
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

void WriteOutLn(const shortstr::ShortStr& text) { platform::OutWriteLine(text.View()); }

}  // namespace console
