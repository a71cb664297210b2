#pragma once
// The byte that stops the motor, kept ready for the ends of the program that
// leave no time for the link: a fatal signal, std::terminate, or a display
// connection that Qt ends with exit(). Every port that may drive a motor has
// its own entry, so that one such end stops every motor of the process,
// whichever thread owns each port. While a port's byte is armed, sending it is
// a plain write(2) to the port's descriptor, which is safe inside a signal
// handler. The port layer releases the descriptor before it closes it, so the
// byte can never reach a file that later takes the same number.

namespace emergency_byte {

// How many ports can have a byte armed at once.
inline constexpr int kPorts = 64;

// From the thread that owns the port: the byte to send on fd from now on.
// False when kPorts other ports have one armed already.
bool arm(int fd, unsigned char byte);
// Nothing is to be sent on fd any more: the link sent the byte itself, or fd
// is about to be closed. The other ports keep theirs.
void release(int fd);
// Writes each armed port's byte once; async-signal-safe, for any thread,
// and bounded to about a second however many ports are full. Returns how
// many ports had their byte handed to the driver.
int send() noexcept;

}  // namespace emergency_byte
