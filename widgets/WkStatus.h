// The status bar and its panes: a bordered bar along the bottom of a window with a size grip,
// a simple one-text mode and proportional pane widths; text panes that can blink or show
// hints, a clock and lock-key indicators refreshed by one shared polling timer.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "widgets/WkBlink.h"
#include "widgets/WkPanel.h"

class TWkStatusBar : public TWkCustomPanel {
 public:
  explicit TWkStatusBar(TComponent* AOwner);

  bool AutoScalePanes() const { return autoScalePanes_; }
  void SetAutoScalePanes(bool value) { autoScalePanes_ = value; }
  bool AutoStyle() const { return autoStyle_; }
  void SetAutoStyle(bool value) { autoStyle_ = value; }
  bool ShowSizeGrip() const { return showSizeGrip_; }
  virtual void SetShowSizeGrip(bool value);
  const std::string& SimpleCaption() const { return simpleCaption_; }
  virtual void SetSimpleCaption(const std::string& value);
  TFrameStyle SimpleFrameStyle() const { return simpleFrameStyle_; }
  virtual void SetSimpleFrameStyle(TFrameStyle value);
  bool SimpleStatus() const { return simpleStatus_; }
  virtual void SetSimpleStatus(bool value);

  // Bar look on loading: no borders, all sides, 19 high, no band; AutoStyle stays.
  virtual void ApplyAutoStyle();
  void SetBorderInner(TFrameStyleEx value) override;
  void SetBorderOuter(TFrameStyleEx value) override;
  void SetBorderSides(TSides value) override;
  void GetGradientColors(TColor& startColor, TColor& stopColor) const override;
  TRect GetClientRect() const override;

  // Whether the grip shows: ShowSizeGrip on a sizeable, not maximised window.
  bool SizeGripVisible() const;
  // The grip's hit area, (Width - 13, 0, Width, Height).
  bool InSizeGrip(TPoint barPoint) const;
  // A left press in the grip area starts sizing the window; false when it did nothing.
  bool SizeGripPressed(TPoint barPoint);

  void Loaded() override;
  void Resize() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;

 protected:
  void Paint() override;
  virtual void DrawSimpleFrame(const TRect& rect);
  virtual void DrawSizeGrip(const TRect& rect);
  // Hands the sizing drag to the window system.
  virtual void BeginSizeDrag(TForm* form);

 private:
  bool autoScalePanes_ = false;
  bool autoStyle_ = true;
  bool showSizeGrip_ = true;
  std::string simpleCaption_;
  TFrameStyle simpleFrameStyle_ = fsFlat;
  bool simpleStatus_ = false;
  int lastWidth_ = 0;
  bool firstResize_ = true;
};

// ---------------------------------------------------------------------------------------------

// A window-less pane showing one line of text inside a frame.
class TWkCustomStatusPane : public TGraphicControl,
                            public IWkBlinkingControl,
                            public TWkFrameControllerLink,
                            public IWkCustomFramingNotification,
                            public IWkTransparentControl {
 public:
  explicit TWkCustomStatusPane(TComponent* AOwner);
  ~TWkCustomStatusPane() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AutoHint() const { return autoHint_; }
  void SetAutoHint(bool value) { autoHint_ = value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Blinking() const { return blinking_; }
  void SetBlinking(bool value);
  TColor BlinkColor() const { return blinkColor_; }
  void SetBlinkColor(TColor value);
  // Shared by every blinking control: they live in the blinking list.
  std::uint16_t BlinkIntervalOff() const;
  void SetBlinkIntervalOff(std::uint16_t value);
  std::uint16_t BlinkIntervalOn() const;
  void SetBlinkIntervalOn(std::uint16_t value);
  int CaptionOffset() const { return captionOffset_; }
  void SetCaptionOffset(int value);
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TColor FillColor() const { return parentFillColor_ ? Color() : fillColor_; }
  void SetFillColor(TColor value);
  bool ParentFillColor() const { return parentFillColor_; }
  void SetParentFillColor(bool value);
  TColor FlatColor() const { return flatColor_; }
  void SetFlatColor(TColor value);
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  void SetFlatColorAdjustment(int value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  void SetFrameController(TWkFrameController* value) { LinkFrameController(this, value); }

  virtual int GetAutoWidth();
  virtual TRect GetCaptionRect();
  // Whether the pane lies under its status bar's size grip (the bar's last 12 pixels).
  bool OverlapsSizeGrip() const;
  // With AutoHint on the hint becomes the caption; true when it did.
  bool ShowApplicationHint(const std::string& hint);
  // The colour the text is drawn in now (the font's, or BlinkColor in the on phase).
  TColor CurrentTextColor() const { return currentColor_; }

  bool IsBlinking() const override { return blinking_; }
  void SetBlinkState(bool on) override;
  void CustomFramingChanged() override;
  bool IsTransparent() const override { return transparent_; }
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  void Paint() override;
  virtual void DrawFrame(TRect rect);
  virtual void DrawCaption(const TRect& rect);
  // The caption the pane paints (the key pane paints its key's text).
  virtual std::string PaintedCaption() const { return Caption(); }
  virtual TColor PaintedTextColor() const { return currentColor_; }
  void AdjustWidth();
  void TextChanged() override;
  void ApplyFont() override;
  void ColorChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoHint_ = false;
  bool autoSize_ = false;
  bool blinking_ = false;
  TColor blinkColor_ = clHighlight;
  int captionOffset_ = 2;
  int defaultWidth_ = 40;
  int borderWidth_ = 1;
  TColor fillColor_ = clBtnFace;
  bool parentFillColor_ = true;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TFrameStyle frameStyle_ = fsFlat;
  bool transparent_ = true;
  bool blinkOn_ = false;
  TColor normalColor_ = clWindowText;
  TColor currentColor_ = clWindowText;
};

class TWkStatusPane : public TWkCustomStatusPane {
 public:
  explicit TWkStatusPane(TComponent* AOwner) : TWkCustomStatusPane(AOwner) {}
};

// A pane refreshed by the one polling timer all polling panes share.
class TWkPollingStatus : public TWkCustomStatusPane {
 public:
  explicit TWkPollingStatus(TComponent* AOwner);
  ~TWkPollingStatus() override;
  // Both read and write the shared timer: a change on one pane changes it for all.
  bool GetActive() const;
  void SetActive(bool value);
  unsigned GetInterval() const;
  void SetInterval(unsigned value);
  // The pane's work on a tick, then OnTimerExpired.
  virtual void TimerExpired();
  TNotifyEvent OnTimerExpired;
};

// The list of polling panes and their timer; exists while a polling pane does.
class TWkPollingList {
 public:
  TWkPollingList();
  virtual ~TWkPollingList();
  void Add(TWkPollingStatus* pane);
  void Remove(TWkPollingStatus* pane);
  virtual int GetCount() const { return static_cast<int>(panes_.size()); }
  virtual bool GetActive() const;
  virtual void SetActive(bool value);
  virtual unsigned GetInterval() const;
  virtual void SetInterval(unsigned value);
  TTimer* Timer() const { return timer_.get(); }
  // One tick: every visible pane of a snapshot of the list that is still listed.
  void Tick();
  bool Walking() const { return walking_; }

 private:
  std::unique_ptr<TTimer> timer_;
  std::vector<TWkPollingStatus*> panes_;
  bool walking_ = false;
};
extern TWkPollingList* PollingList;

using TWkGetDateTimeEvent = std::function<void(TComponent* Sender, TDateTime& DateTime)>;

// The current date and time. Format takes the letters of FormatDateTime (yyyy yy m mm d dd h
// hh n nn s ss, with "-" and ":" as they stand); empty means "yyyy-m-d h:nn:ss".
class TWkClockStatus : public TWkPollingStatus {
 public:
  explicit TWkClockStatus(TComponent* AOwner);
  const std::string& Format() const { return format_; }
  void SetFormat(const std::string& value);
  virtual void UpdateTime();
  TRect GetCaptionRect() override;
  void TimerExpired() override;
  void Loaded() override;
  TWkGetDateTimeEvent OnGetDateTime;

 private:
  std::string format_;
  std::string lastText_;
  bool hasText_ = false;
};

enum TWkToggleKey { tkCapsLock, tkNumLock, tkScrollLock, tkInsert };
enum TWkKeyOffAppearance { koaBlank, koaDimmed };
enum TWkInsertState { isInsert, isOverwrite };

class TWkKeyStatus;

// The texts of the key pane: "CAPS", "NUM", "SCR", "Insert", "Overwrite".
class TWkKeyStrings {
 public:
  explicit TWkKeyStrings(TWkKeyStatus* owner) : owner_(owner) {}
  const std::string& Get(int index) const { return texts_.at(index); }
  // Index 0 to 4; a change makes the owner repaint.
  void Set(int index, const std::string& value);
  const std::string& CapsLock() const { return texts_[0]; }
  const std::string& NumLock() const { return texts_[1]; }
  const std::string& ScrollLock() const { return texts_[2]; }
  const std::string& Insert() const { return texts_[3]; }
  const std::string& Overwrite() const { return texts_[4]; }
  void Assign(const TWkKeyStrings& other);

 private:
  TWkKeyStatus* owner_;
  std::array<std::string, 5> texts_{"CAPS", "NUM", "SCR", "Insert", "Overwrite"};
};

// A lock key's state or the insert/overwrite mode.
class TWkKeyStatus : public TWkPollingStatus {
 public:
  explicit TWkKeyStatus(TComponent* AOwner);
  TWkToggleKey Key() const { return key_; }
  void SetKey(TWkToggleKey value);
  TWkKeyOffAppearance KeyOffAppearance() const { return keyOffAppearance_; }
  void SetKeyOffAppearance(TWkKeyOffAppearance value);
  TWkKeyStrings& KeyStrings() { return keyStrings_; }
  void SetKeyStrings(const TWkKeyStrings& value) { keyStrings_.Assign(value); }
  TWkInsertState InsertState() const { return insertState_; }
  void SetInsertState(TWkInsertState value);
  bool KeyIsOff() const { return keyIsOff_; }
  TWkInsertState ShownInsertState() const { return shownInsert_; }
  void TimerExpired() override;
  void Loaded() override;

 protected:
  std::string PaintedCaption() const override;
  TColor PaintedTextColor() const override;

 private:
  void Poll();
  TWkToggleKey key_ = tkCapsLock;
  TWkKeyOffAppearance keyOffAppearance_ = koaBlank;
  TWkKeyStrings keyStrings_{this};
  TWkInsertState insertState_ = isInsert;
  bool keyIsOff_ = true;
  TWkInsertState shownInsert_ = isInsert;
  bool insertToggleAtSet_ = false;
};
