// What every framed control of the widget kit shares: the look enumerations, colour arithmetic
// and the schemes' colour pairs, frame and side drawing, small pixel glyphs, the small helpers,
// the frame controller that pushes one set of frame settings into linked controls, and the
// process-wide blink timer. Each part has a header of its own beside its source file.
#pragma once

#include "widgets/WkBlink.h"
#include "widgets/WkColors.h"
#include "widgets/WkFrameController.h"
#include "widgets/WkFrames.h"
#include "widgets/WkGlyphs.h"
#include "widgets/WkHelpers.h"
#include "widgets/WkLook.h"
