#include "marksix/ChartMoment.h"

#include "workbench/main.h"

std::string ChartLunarDateText() {
  return Form2 ? Form2->Model().Labels().LunarDateText : std::string();
}

std::string ChartFourPillarsText() {
  return Form2 ? Form2->Model().Labels().FourPillarsText : std::string();
}
