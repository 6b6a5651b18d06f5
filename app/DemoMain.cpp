#include "app/ApplicationEntry.h"
#include "sim/SimulatedDevice.h"

// The application with a simulated device in the process, running in real time: everything works
// without the hardware.
int main(int argc, char** argv) {
    trv::sim::SteadyClock clock;
    trv::sim::SimulatedDevice device(clock);
    return trv::RunApplication(argc, argv, device);
}
