// Inside platform/gui only: whether the helper program the web engine runs its pages in can
// start. The engine starts it only once the engine is up, and a helper that fails there ends
// the whole program (or leaves every page blank), so it is tried before the engine is loaded.
#pragma once

#include <QString>

namespace zgui {

// Why the engine's helper program cannot run pages, in Chinese; empty when it can. Looks where
// the engine looks and runs the helper found once, with no arguments, in a child process of
// its own (a Qt WebEngine helper then says its version and ends at once). Call it on the GUI
// thread, which keeps painting meanwhile.
QString HelperProblem();

}  // namespace zgui
