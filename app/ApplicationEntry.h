#pragma once

namespace trv {

class HidBackend;

// The process entry of the application and of its demo: the data folder is the working folder;
// creates the seven windows in their fixed order over the given HID access and runs the event
// loop. Returns the process's exit code.
int RunApplication(int argc, char** argv, HidBackend& backend);

} // namespace trv
