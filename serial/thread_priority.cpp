#include "serial/thread_priority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

bool raise_current_thread_priority(PortThreadPriority priority)
{
    // On Linux the nice value belongs to the thread (the task id), not to the
    // whole process; the step is taken from the value the thread started with.
    const pid_t self = ::gettid();
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, static_cast<id_t>(self));
    if (current == -1 && errno != 0) {
        return false;
    }
    const int step = priority == PortThreadPriority::Highest ? 2 : 1;
    // EPERM or EACCES without the privilege: keep the default, quietly.
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(self), current - step) == 0;
}
