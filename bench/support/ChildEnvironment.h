// The environment a benchmark starts the whole program in: its own, with the program offscreen
// on the list under root, its settings and runtime folders of the run's own, and told to end
// after its first paint.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// "NAME=value" entries, for posix_spawn.
std::vector<std::string> ChildEnvironment(const std::filesystem::path& root,
                                          const std::filesystem::path& run);
