// The month-grid calendar control: a title row with the month and four arrows, the weekday
// names and six weeks of day cells with lunar and festival texts, a hint window over the
// cells, and the festival list it carries. Its dates are named by the lunar calendar engine it
// is given (or an engine of its own).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "calendar/LssCalColors.h"
#include "calendar/engine/FestivalList.h"
#include "calendar/engine/LunarEngine.h"
#include "platform/DateTime.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/ExtCtrls.h"

class TCalendarHint;

// Where a cell's lunar or festival text box lies.
enum TLssCalStyle { csBottom, csRight, csNone };

class TLssCalendar : public TCustomControl {
 public:
  explicit TLssCalendar(TComponent* AOwner);
  // `engine` outlives the control.
  TLssCalendar(TComponent* AOwner, const TLunarEngine& engine);
  ~TLssCalendar() override;

  const TLunarEngine& Engine() const { return engine_; }
  // Festivals and marks of a day from FtvList (colour -1 when none).
  std::string GetFestivalText(TDate date, TColor& colour) const;
  std::string GetFestivalText(TDate date) const;
  TColor GetMarkColor(TDate date) const;
  // Week of the year as the hint shows it (ISO 8601 weeks under UseISO8601).
  int WeekOfYear(TDate date) const;
  // index mod 7 with 0 = Sunday; kind 0 short, 1 long.
  std::string GetEnDayName(int index, int kind) const;
  std::string GetEnMonthName(int month, int kind) const;

  // --- look
  // The look's fonts carry the sizes the layout fitted: it is brought up to date first.
  TLssCalColors* CalColors() const {
    EnsureLayout();
    return calColors_.get();
  }
  void SetCalColors(const TLssCalColors* value) {
    EnsureLayout();
    calColors_->Assign(value);
  }
  TFestivalList* FtvList() const { return ftvList_.get(); }
  void SetFtvList(const TFestivalList* value);
  TLssCalStyle LunarCalStyle() const { return lunarCalStyle_; }
  void SetLunarCalStyle(TLssCalStyle value);
  TLssCalStyle FtvCalStyle() const { return ftvCalStyle_; }
  void SetFtvCalStyle(TLssCalStyle value);
  TImage* BackImage() const { return backImage_; }
  void SetBackImage(TImage* value);
  bool ShowVertical() const { return showVertical_; }
  void SetShowVertical(bool value);
  bool ChineseEar() const { return chineseEar_; }
  void SetChineseEar(bool value);
  bool UseISO8601() const { return useIso8601_; }
  void SetUseISO8601(bool value);
  bool ShowBackMonth() const { return showBackMonth_; }
  void SetShowBackMonth(bool value);
  bool ShowBackImage() const { return showBackImage_; }
  void SetShowBackImage(bool value);
  bool ShowArrow() const { return showArrow_; }
  void SetShowArrow(bool value);
  // Cell height / lunar box height and cell width / lunar box width; magnitudes below
  // 0.001 are ignored.
  double VerticalScale() const { return verticalScale_; }
  void SetVerticalScale(double value);
  double HorizonScale() const { return horizonScale_; }
  void SetHorizonScale(double value);
  bool AutoFontSize() const { return autoFontSize_; }
  void SetAutoFontSize(bool value);
  bool ShowBorder() const { return showBorder_; }
  void SetShowBorder(bool value);
  bool ShowGrid() const { return showGrid_; }
  void SetShowGrid(bool value);
  bool EnWeekName() const { return enWeekName_; }
  void SetEnWeekName(bool value);

  // --- the selected day (a whole day); years outside 1900 .. 2100 are refused
  TDate Date() const { return date_; }
  void SetDate(TDate value);
  TNotifyEvent OnChange;

  // The day in the top-left cell; cell k shows FirstShownDate() + k.
  TDate FirstShownDate() const { return firstDate_; }
  // The hint window shown over the cells.
  TCalendarHint* HintWindow() const { return hint_; }

  // --- input and painting
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  bool KeyDown(uint16_t& key, TShiftState shift) override;
  bool WantsArrows() const override { return true; }
  void Resize() override;

 protected:
  void Paint() override;
  virtual void Change();
  void Notification(TComponent* component, TOperation operation) override;

 private:
  enum Arrow { PrevYear, PrevMonth, NextMonth, NextYear, ArrowCount };

  void CalcFirstDate();
  // The layout (boxes, fitted font sizes) is worked out when it is next needed: painting, the
  // mouse, the look. A calendar sized several times while its hidden window is built then
  // measures no text until it shows. It keeps the date and text direction it was asked with,
  // so what it shows is as if laid out at once.
  void UpdateLayout() {
    layoutStale_ = true;
    layoutDate_ = date_;
    layoutVertical_ = showVertical_;
  }
  void EnsureLayout() const;
  void Layout();
  mutable bool layoutStale_ = true;
  TDate layoutDate_ = 0;
  bool layoutVertical_ = false;
  int AutoFitFontSize(TFont& font, const std::string& sample, int width, int height);
  // Sizes already fitted, by face, style, sample and box: every layout refits all texts, and
  // each size tried loads a font.
  std::map<std::string, int> fittedSizes_;
  TRect CellRect(int index) const;
  // Index 0 .. 41 of the cell under a point, -1 when there is none.
  int CellAt(int x, int y) const;
  int ArrowAt(int x, int y) const;
  void SelectDateAt(int x, int y);
  void StepArrow(int arrow);
  std::string DayHintText(TDate day) const;
  void UpdateHint(int x, int y);
  void HideHint();

  void PaintTitle();
  void PaintWeekRow();
  void PaintDayArea();
  void PaintCell(int index);
  void DrawLunarText(TDate day, const TRect& box, bool trailing);
  // False, drawing nothing, when the day has no festival text.
  bool DrawFestivalText(TDate day, const TRect& box, bool trailing);
  void DrawBoxText(const std::string& text, const TRect& box, TLssCalStyle style);

  TLunarEngine ownEngine_;  // the engine of a control given none
  const TLunarEngine& engine_;
  std::unique_ptr<TLssCalColors> calColors_;
  std::unique_ptr<TFestivalList> ftvList_;
  TLssCalStyle lunarCalStyle_ = csRight;
  TLssCalStyle ftvCalStyle_ = csBottom;
  TImage* backImage_ = nullptr;
  bool showVertical_ = false;
  bool chineseEar_ = false;
  bool useIso8601_ = false;
  bool showBackMonth_ = true;
  bool showBackImage_ = false;
  bool showArrow_ = true;
  double verticalScale_ = 4.0;
  double horizonScale_ = 2.5;
  bool autoFontSize_ = true;
  bool showBorder_ = false;
  bool showGrid_ = false;
  bool enWeekName_ = false;

  TDate date_ = 0;
  int year_ = 0, month_ = 0, day_ = 0;
  TDate firstDate_ = 0;

  // Layout, in client coordinates; the cell boxes relative to a cell's top-left corner.
  int cellWidth_ = 0;
  int cellHeight_ = 0;
  TRect titleRect_;
  TRect weekRect_;
  TRect dayRect_;
  TRect dayBox_;
  TRect lunarBox_;
  TRect ftvBox_;
  TRect arrowRects_[ArrowCount];
  TRect selectedRect_;
  int festivalBytes_ = 6;

  int hintCell_ = -1;
  bool userPick_ = false;
  TCalendarHint* hint_ = nullptr;
};
