// Long work on a worker thread while the windows wait for it, and work the user may call off.
#pragma once

#include <functional>
#include <string>

#include "platform/Cancellation.h"

// Runs `work` on a worker thread of its own and returns when it has ended; an exception it
// raises is raised again here. Meanwhile the GUI thread keeps painting, runs the calls the
// worker hands over (RunOnGuiThread) and shows the dialogs they open, but the user's clicks,
// keys, shortcuts, wheel turns, input-method text, drops and close boxes reach no window other
// than such a dialog: no other command starts and no box changes before the work has ended.
// A composition the input method has under way when the work starts ends in its box first;
// what it composes during the work is dropped. Windows the program itself closes (a hint
// that goes away) close as usual. Call it on the GUI thread.
void RunBusy(const std::function<void()>& work);
// Whether RunBusy or RunCancellableBusy is running on the GUI thread now.
bool Busy();

// Runs `work` on a worker thread as RunBusy does, but the user may call it off: Esc in one of
// the program's windows, or the close box of one of its windows or dialogs, cancels the
// TCancellation handed to the work, which is to end soon after (a download ends within a tenth
// of a second). A window whose close box was pressed closes as asked once the work has ended.
// With a `waitText`, work that lasts longer than a moment shows it in a small window of its own
// with a button "取消"; closing that window, Esc in it or the button call the work off too.
// Returns whether the work was called off; an exception the work raises is raised again here.
// Call it on the GUI thread.
bool RunCancellableBusy(const std::function<void(const TCancellation&)>& work,
                        const std::string& waitText = "");
