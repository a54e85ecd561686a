// The user's own data folder ($XDG_CONFIG_HOME/salvetor): --init fills it
// with copies of the shipped data files, in UTF-8 with LF line ends, for
// editing in any Linux editor. Files found there win over the shipped ones.
#pragma once

namespace userdata {

// Creates the user's folder and copies every shipped data file into it,
// never over a file that is already there; prints each file written or
// kept. False when there is no user folder or it cannot be made.
bool InitUserFolder();

}  // namespace userdata
