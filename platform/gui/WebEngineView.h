// Inside platform/gui only: the web engine behind TWebBrowser.
#pragma once

#include <memory>

#include "platform/gui/WebBrowser.h"

namespace zgui {
std::unique_ptr<TWebBrowserEngine> MakeWebEngineView(TWebBrowser& browser);
// The engine's sandbox is refused to root, and the engine then ends the whole process: whether
// the program runs as root, and whether the engine was told to run without its sandbox.
bool RunsAsRoot();
bool SandboxOff();
}  // namespace zgui
