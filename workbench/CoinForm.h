// The coin-casting window: three coins thrown six times, each throw a start click (the coins
// spin) and a stop click (they fall still and the clock's milliseconds give the line). The
// sixth throw casts the chart in the workbench and closes the window.
#pragma once

#include <functional>

#include "gifkit/GkAnimator.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "workbench/logic/CoinThrows.h"

class TForm6 : public TForm {
 public:
  explicit TForm6(TComponent* AOwner);

  TGroupBox* GroupBox12;
  // Spinning coins (left, middle, right), drawn by the kit's worker threads.
  TGkGIFAnimator* GkGIFAnimator1;
  TGkGIFAnimator* GkGIFAnimator2;
  TGkGIFAnimator* GkGIFAnimator3;
  // Still coins at the same places.
  TGkGIFAnimator* GkGIFAnimator4;
  TGkGIFAnimator* GkGIFAnimator7;
  TGkGIFAnimator* GkGIFAnimator5;
  TButton* Button2;  // start; its caption counts the throws, "第一次" .. "第六次"
  TButton* Button1;  // stop, "确定"

  void FormShow(TComponent* Sender);
  void Button2Click(TComponent* Sender);
  void Button1Click(TComponent* Sender);

  // Where a throw's line goes and what casts the chart; the workbench by default.
  std::function<void(int line, TCoinLineKind kind)> WriteLine;
  std::function<void()> Cast;
  // The clock's millisecond part; tests replace it.
  std::function<int()> Milliseconds;

 private:
  void ShowSpinning(bool spinning);
  int throw_ = 1;  // the throw the counter caption names
};

extern TForm6* Form6;
