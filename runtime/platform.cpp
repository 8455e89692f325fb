#include "runtime/platform.h"

gxtkPlatform* gxtk_platform = nullptr;
