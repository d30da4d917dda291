// The web engine of the window tests (installed by their main): records every call
// ("Navigate http://...", "GoBack" ...) and holds the address it was last sent to as the
// page's address, with the title a test sets.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/WebBrowser.h"

class TRecordingWebEngine : public TWebBrowserEngine {
 public:
  void Navigate(const std::string& target) override {
    calls.push_back("Navigate " + target);
    url = target;
  }
  void GoBack() override { calls.push_back("GoBack"); }
  void GoForward() override { calls.push_back("GoForward"); }
  void GoHome() override { calls.push_back("GoHome"); }
  void GoSearch() override { calls.push_back("GoSearch"); }
  void Refresh() override { calls.push_back("Refresh"); }
  void Stop() override { calls.push_back("Stop"); }
  void Print() override { calls.push_back("Print"); }
  bool PrintPreviewEnabled() const override { return previewEnabled; }
  void PrintPreview() override { calls.push_back("PrintPreview"); }
  void PageSetup() override { calls.push_back("PageSetup"); }
  std::string LocationName() const override { return title; }
  std::string LocationURL() const override { return url; }

  std::vector<std::string> calls;
  std::string title;
  std::string url;
  bool previewEnabled = false;
};
