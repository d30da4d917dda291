#include "platform/gui/Themes.h"

namespace {
std::unique_ptr<TThemeServices>& Current() {
  static std::unique_ptr<TThemeServices> services = std::make_unique<TThemeServices>();
  return services;
}
}  // namespace

TThemeServices& ThemeServices() { return *Current(); }

std::unique_ptr<TThemeServices> SetThemeServices(std::unique_ptr<TThemeServices> services) {
  if (!services) services = std::make_unique<TThemeServices>();
  Current().swap(services);
  return services;
}
