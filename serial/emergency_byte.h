#pragma once
// The byte that stops the motor, kept ready for the ends of the program that
// leave no time for the link: a fatal signal, std::terminate, or a display
// connection that Qt ends with exit(). While the byte is armed, sending it is
// one plain write(2) to the port's descriptor, which is safe inside a signal
// handler. The port layer releases the descriptor before it closes it, so the
// byte can never reach a file that later takes the same number.

namespace emergency_byte {

// From the thread that owns the port: the byte to send on fd from now on.
void arm(int fd, unsigned char byte);
// Nothing is to be sent any more (the link sent the byte itself).
void disarm();
// fd is about to be closed: disarms when it is the armed one.
void release(int fd);
bool armed();
// Writes the armed byte once; async-signal-safe, for any thread. True when
// the byte was handed to the driver.
bool send() noexcept;

}  // namespace emergency_byte
