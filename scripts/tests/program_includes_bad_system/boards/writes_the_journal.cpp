// Not built: the guard must refuse a program folder that talks to the system itself.
#include <systemd/sd-journal.h>
#include <unistd.h>
