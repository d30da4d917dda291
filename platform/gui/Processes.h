// Starting other programs.
#pragma once

#include <string>
#include <vector>

// Starts a program on its own, without a shell, and does not wait for it; `program` is a path
// or a name looked up on PATH, `folder` the current folder it starts in ("" keeps ours).
// True when it started. Texts are GBK.
bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& folder = "");
// Starts a shell script file with /bin/sh the same way.
bool StartScript(const std::string& scriptPath, const std::string& folder = "");
// The first desktop calculator found on PATH, or "" when there is none.
std::string FindCalculator();
