// Not built: the guard must refuse a shared record that reaches up to the main dialog.
#pragma once
#include "records/remap_entry.h"
#include "remap/tav_dlg.h"
