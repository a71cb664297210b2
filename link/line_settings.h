#pragma once
// The line settings the setting card needs, shared by the main window and by
// everything else that talks to the card (or its simulator) through a TComm.

#include "serial/tcomm.h"

// 19200 baud, DTR and RTS off, no XON/XOFF flow control in either direction
// (replies and firmware images hold 0x11 and 0x13 as data), and reads that end
// 1 ms after the last byte, so that a reply arrives as one block. The port
// name is left to the caller.
void apply_link_line_settings(TComm& comm);
