// Shared by the Windows platform files (not part of the platform
// interface): the program's paths are UTF-8 strings, the Windows calls take
// UTF-16, and the console takes UTF-16 text recoded from CP866.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::wstring Wide(std::string_view utf8);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view wide);
// The UTF-16 character of a CP866 byte.
wchar_t Cp866Char(unsigned char b);
// The CP866 byte of a UTF-16 character, 0 when CP866 has none.
unsigned char Cp866Byte(wchar_t c);
// True when handle (a standard handle) is a console.
bool IsConsole(void* handle);
// Writes CP866 bytes to a console as UTF-16, in pieces of a fixed buffer
// (allocates nothing).
void ConsoleWriteCp866(void* handle, std::string_view bytes);

}  // namespace platform
