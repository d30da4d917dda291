// Inside platform/gui only: the web engine behind TWebBrowser.
#pragma once

#include <memory>

#include "platform/gui/WebBrowser.h"

namespace zgui {
std::unique_ptr<TWebBrowserEngine> MakeWebEngineView(TWebBrowser& browser);
}  // namespace zgui
