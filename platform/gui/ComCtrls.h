// Common controls: status bar with panels, progress bar.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/StdCtrls.h"

// A bar along the bottom of a window (aligned bottom when created). With SimplePanel it shows
// SimpleText; otherwise one text per panel, each Width pixels wide (the last takes the rest).
class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;

  int PanelCount() const { return static_cast<int>(panels_.size()); }
  // Adds a panel and returns its index.
  int AddPanel(int width, const std::string& text = "");
  void ClearPanels();
  std::string PanelText(int index) const;
  // Out-of-range indices raise EListError.
  void SetPanelText(int index, const std::string& text);
  int PanelWidth(int index) const;
  void SetPanelWidth(int index, int width);

  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& value);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);

  bool PaintPeer(QPainter* painter) override;

 protected:
  void ApplyFont() override;

 private:
  struct Panel {
    int Width = 50;
    std::string Text;
  };
  std::vector<Panel> panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* AOwner);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation value);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int value);
  void SetMax(int value);
  // Kept within Min..Max.
  void SetPosition(int value);
  void StepBy(int delta) { SetPosition(position_ + delta); }
  int Step = 10;
  void StepIt() { StepBy(Step); }

 private:
  void Apply();
  TProgressBarOrientation orientation_ = pbHorizontal;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};
