#pragma once

#include "data/ProgramCatalogue.h"
#include "link/DeviceMessages.h"
#include "program/ControlProgram.h"
#include "program/DeviceImage.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

// Composes the control program written as "P12,T2:30,W,P5" (P a program number, T a pause of
// minutes:seconds, W a wait) as the main window would. false, with the reason in error, for text
// the main window could not have produced, or more than 20 items. A program number the catalogue
// lacks is taken, as a protocol list takes it: the image build refuses it.
bool ComposeControlProgram(std::string_view items, ControlProgram& control, std::string& error);

// A request of the download, named for support.
struct ListedRequest {
    std::string name;
    DeviceRequest request;
};

// The requests a download sends for the image, in the order it sends them, the summary request last.
std::vector<ListedRequest> DownloadRequests(const DeviceImage& image);

// Each request's bytes in hex on a line of its own (as handed to the link, without the report's
// padding), its fields below it, then the summary the device must answer.
void WriteImageListing(std::ostream& out, const DeviceImage& image);

} // namespace trv
