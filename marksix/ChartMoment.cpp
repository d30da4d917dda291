#include "marksix/ChartMoment.h"

#include "workbench/main.h"

std::string ChartLunarDateText() { return Form2 ? Form2->Label9->Caption() : std::string(); }

std::string ChartFourPillarsText() { return Form2 ? Form2->Label7->Caption() : std::string(); }
