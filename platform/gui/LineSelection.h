// Inside platform/gui only: the selection of a one-line edit (an edit box or a combo box's edit
// part) in GBK bytes of its text.
#pragma once

#include <QLineEdit>
#include <string>

namespace zgui {

int LineSelStart(const QLineEdit* line);
int LineSelLength(const QLineEdit* line);
void SetLineSelStart(QLineEdit* line, int value);
void SetLineSelLength(QLineEdit* line, int value);
std::string LineSelText(const QLineEdit* line);

}  // namespace zgui
