#pragma once
// The port threads run above the program's other threads: the receive thread
// two steps, the transmit thread one step (the highest and above-normal
// priorities of the original platform). Linux lets an ordinary user only
// lower a thread's priority unless the user's RLIMIT_NICE allows more (or
// the program has CAP_SYS_NICE), so where that is refused the thread keeps
// the default and nothing is reported: the threads spend their time blocked
// in poll(), and the priority only shortens the wake-up after a block.

enum class PortThreadPriority { Highest, AboveNormal };

// Raises the calling thread; returns whether the system allowed it.
bool raise_current_thread_priority(PortThreadPriority priority);
