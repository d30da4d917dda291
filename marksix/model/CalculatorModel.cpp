#include "marksix/model/CalculatorModel.h"

#include "marksix/logic/NumberFilter.h"

void CalculatorModel::Clear() {
  Ticked.fill(false);
  ResultText.clear();
}

std::string CalculatorModel::GroupList(size_t g) const {
  const NumberGroup& group = NumberGroups()[g];
  std::string list;
  for (size_t i = 0; i < group.Boxes.size(); ++i)
    if (Ticked[group.Boxes[i]]) list += GroupListItem(group, i, group.Captions[i]);
  return list.empty() ? group.Default : list;
}

void CalculatorModel::Calculate(int year) {
  std::array<std::string, 12> lists;
  for (size_t g = 0; g < lists.size(); ++g) lists[g] = GroupList(g);
  ResultText = FilterResultText(PassingNumbers(year, lists));
}
