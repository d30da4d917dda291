// Long work on a worker thread that the user may call off while the windows wait for it.
#pragma once

#include <functional>
#include <string>

#include "platform/Cancellation.h"

// Runs `work` on a worker thread as RunBusy does (the windows keep painting, the worker's calls
// to the GUI thread and the dialogs they open are served, no other command starts), but the
// user may call it off: Esc in one of the program's windows, or its close box, cancels the
// TCancellation handed to the work, which is to end soon after (a download ends within a tenth
// of a second). A window whose close box was pressed closes as asked once the work has ended.
// With a `waitText`, work that lasts longer than a moment shows it in a small window of its own
// with a button "取消"; closing that window, Esc in it or the button call the work off too.
// Returns whether the work was called off; an exception the work raises is raised again here.
// Call it on the GUI thread.
bool RunCancellableBusy(const std::function<void(const TCancellation&)>& work,
                        const std::string& waitText = "");
