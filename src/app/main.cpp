#include "app/ApplicationEntry.h"
#include "hid/HidapiBackend.h"

// The application on the operating system's HID access.
int main(int argc, char** argv) {
    trv::HidapiBackend backend;
    return trv::RunApplication(argc, argv, backend);
}
