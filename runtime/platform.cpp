// The one platform the process runs on, set by whichever program or test
// harness owns the window (or stands in for one).
#include "runtime/platform.h"

gxtkPlatform* gxtk_platform = nullptr;
