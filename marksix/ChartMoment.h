// What the number tools read of the moment chosen in the main window: its lunar-date and
// four-pillars texts, as the workbench last wrote them.
#pragma once

#include <string>

std::string ChartLunarDateText();
std::string ChartFourPillarsText();
