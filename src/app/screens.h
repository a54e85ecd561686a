// The program's screens: the banner, the help screen (it waits for a key in
// the middle), the about screen and the one-line version.
#pragma once

namespace screens {

void Banner();
void HelpScreen();
void AboutScreen();
// "Salvetor 1.08 19990827", alone.
void VersionLine();

}  // namespace screens
