#include "platform/core/SysUtils.h"
