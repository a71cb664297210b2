#pragma once
// What the component applies to the line: the settings and the read and write
// time-outs, shared by the component and the port layer that applies them, so
// the two can never disagree.

#include <cstdint>

enum class TByteSize { _5, _6, _7, _8 };
enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };
enum class TDtrControl { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

// Everything applying the line settings writes to the port; the values a
// component starts with.
struct LineSettings {
    uint32_t baudRate = 9600;
    bool parityCheck = false;
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    TDtrControl dtr = TDtrControl::DtrEnable;
    bool dsrSensitivity = false;
    bool txContinueOnXoff = true;
    bool outX = true;
    bool inX = true;
    bool replaceOnParityError = false;
    bool ignoreNull = false;
    TRtsControl rts = TRtsControl::RtsEnable;
    uint16_t xonLimit = 500;
    uint16_t xoffLimit = 500;
    TByteSize byteSize = TByteSize::_8;
    TParity parity = TParity::None;
    TStopBits stopBits = TStopBits::_1;
    char xonChar = 0x11;
    char xoffChar = 0x13;
    char errorChar = 0;

    bool operator==(const LineSettings&) const = default;
};

// Read and write time-outs in milliseconds. A read waits for its first byte
// (without limit unless a total time-out is set) and then ends when
// readInterval ms pass without a further byte or the buffer is full.
struct Timeouts {
    uint32_t readInterval = 100;
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 0;
    uint32_t writeTotalMultiplier = 0;
    uint32_t writeTotalConstant = 0;

    bool operator==(const Timeouts&) const = default;
};
