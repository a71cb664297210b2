#include "link/line_settings.h"

void apply_link_line_settings(TComm& comm)
{
    LineSettings line = comm.Line();
    line.baudRate = 19200;
    line.dtr = TDtrControl::DtrDisable;
    line.rts = TRtsControl::RtsDisable;
    line.outX = false;
    line.inX = false;
    comm.SetLine(line);
    Timeouts timeouts = comm.IoTimeouts();
    timeouts.readInterval = 1;
    comm.SetIoTimeouts(timeouts);
}
