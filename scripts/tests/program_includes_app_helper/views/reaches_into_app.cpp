// Not built: the guard must refuse a program folder that includes from app/ anything but the
// application object.
#include "app/error_dlg.h"
#include "app/tav_app.h"
#include "remap/tav_dlg.h"
