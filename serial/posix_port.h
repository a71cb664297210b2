#pragma once
// The port layer on POSIX terminals (serial devices and pseudo-terminals).

#include "serial/port_layer.h"

class PosixPortLayer : public PortLayer {
public:
    OpenStatus open(const std::string& path, std::shared_ptr<Port>& port, int& systemError) override;
};
