#pragma once

#include <cstddef>
#include <cstdint>

// The checks of the network commands, shared by their fuzz targets and the seed replay of the
// tests: the bytes as a command line or an OSC datagram, parsed and carried out on actions
// that only record, once as a full server and once read-only. They hold when the answer is
// one line starting OK or ERR, a refused command called no action, and a read-only server
// called none that changes the panel.
bool CheckCommandLine(const uint8_t* data, size_t size);
bool CheckOscPacket(const uint8_t* data, size_t size);
