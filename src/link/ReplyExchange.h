#pragma once

#include "link/ReportLink.h"

#include <cstdint>
#include <span>

namespace trv {

// What became of a request that asks the device for a reply.
enum class Exchange {
    Reply,    // reply holds the device's answer to this request
    NoAnswer, // sent, but the read timed out: reply holds an earlier answer, which answers nothing asked now
    Lost,     // sent, but no device was there any more to read from: reply is untouched
    NotSent,  // no device to send the request to: reply is untouched
};

// Sends the request, then reads the device's reply to it.
Exchange ExchangeReply(ReportLink& link, std::span<const uint8_t> request, ReportData& reply);

// The fetch: the device's reply to the request sent before it.
Exchange FetchReply(ReportLink& link, ReportData& reply);

} // namespace trv
