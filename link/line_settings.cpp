#include "link/line_settings.h"

void apply_link_line_settings(TComm& comm)
{
    comm.SetBaudRate(19200);
    comm.SetDtrControl(TDtrControl::DtrDisable);
    comm.SetRtsControl(TRtsControl::RtsDisable);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    comm.SetReadIntervalTimeout(1);
}
