// The user's folders for what the application keeps of its own, as the base directory rules
// place them, each named after the application: state in $XDG_STATE_HOME (else
// ~/.local/state), data in $XDG_DATA_HOME (else ~/.local/share). Host paths; missing folders
// are made, private to the user. Empty when the folder cannot be made.
#pragma once

#include <string>

std::string AfxGetUserStateFolder();
std::string AfxGetUserDataFolder();
