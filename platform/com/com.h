// Everything the program needs from the component object layer, in one include.
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/error_text.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/object.h"
#include "platform/com/runtime.h"
#include "platform/com/task_memory.h"
#include "platform/com/unknown.h"
