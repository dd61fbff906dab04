#pragma once

class ConfigStore;
class PortNameMap;

// The configuration's section COMPORTS pins COM numbers to devices: COM3=/dev/ttyACM0.
// Keys are COM1..COM16 exactly; blanks around the device are dropped; other keys and empty
// devices are ignored. The pins replace any earlier ones. Returns how many were applied.
int ApplyPortSection(const ConfigStore& store, PortNameMap& names);

// The program-wide configuration applied to the program-wide port names.
int ApplyConfiguredPorts();
