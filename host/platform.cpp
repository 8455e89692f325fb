#include "host/platform.h"

gxtkPlatform* gxtk_platform = nullptr;
