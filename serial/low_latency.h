#pragma once
// Asking a serial driver to pass received bytes on at once. A USB adapter
// otherwise holds the card's replies back: an FTDI chip keeps them until its
// latency timer (16 ms by default) runs out. The request is the
// ASYNC_LOW_LATENCY flag of the port's serial_struct; the flag is in
// ASYNC_USR_MASK, so no privilege is needed, and ftdi_sio answers it by
// setting its timer to 1 ms. Many drivers (ch341, cp210x, pl2303, a
// pseudo-terminal, kernels before 5.13) do not offer it: that is no error,
// and the port is used as it is.

#include <QString>

enum class LowLatency {
    Granted,     // the flag was set and reads back set
    AlreadyOn,   // it was set before we asked
    NotOffered,  // ENOTTY, EINVAL or EPERM: this driver has no such setting
    Ignored,     // the driver took the request but reads back without the flag
    Failed,      // any other error; the port is still used
};

struct LowLatencyAnswer {
    LowLatency result = LowLatency::NotOffered;
    int systemError = 0;  // the errno behind NotOffered and Failed
};

// Reads the port's serial_struct, adds the flag and writes it back; never
// writes a struct it did not read.
LowLatencyAnswer request_low_latency(int fd);

// What the link trace records: the request and the port's answer.
QString low_latency_trace_line(const LowLatencyAnswer& answer);
