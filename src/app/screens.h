// The program's screens: the banner, the help screen (it waits for a key in
// the middle), the about screen, and the texts of --version and --help.
#pragma once

namespace screens {

void Banner();
void HelpScreen();
void AboutScreen();
// "Salvetor 1.08 19990827", then the copyright and the licence.
void VersionText();
// The usage in the GNU form: every option, the exit codes, the data files.
void UsageText();

}  // namespace screens
