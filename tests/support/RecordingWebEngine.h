// A web engine for window tests: shows nothing, keeps the calls it was given ("Navigate
// http://...", "GoBack" ...) and holds the address it was last sent to as the page's address,
// with the title a test sets. The test plays the events a page would send through the
// control's Do* reports.
#pragma once

#include <memory>
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

// While one lives, every browser control made gets a recording engine.
class RecordingWebEngines {
 public:
  RecordingWebEngines() {
    SetWebEngineFactory([](TWebBrowser&) { return std::make_unique<TRecordingWebEngine>(); });
  }
  ~RecordingWebEngines() { SetWebEngineFactory(nullptr); }
  RecordingWebEngines(const RecordingWebEngines&) = delete;
  RecordingWebEngines& operator=(const RecordingWebEngines&) = delete;

  static TRecordingWebEngine& Of(TWebBrowser* browser) {
    return dynamic_cast<TRecordingWebEngine&>(browser->Engine());
  }
};
