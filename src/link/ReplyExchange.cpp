#include "link/ReplyExchange.h"

#include "link/DeviceMessages.h"

namespace trv {

Exchange ExchangeReply(ReportLink& link, std::span<const uint8_t> request, ReportData& reply) {
    if (!link.WriteReport(request))
        return Exchange::NotSent;
    switch (link.ReadReport(reply)) {
    case ReadResult::Reply:
        return Exchange::Reply;
    case ReadResult::TimedOut:
        return Exchange::NoAnswer;
    case ReadResult::NoDevice:
        break;
    }
    return Exchange::Lost;
}

Exchange FetchReply(ReportLink& link, ReportData& reply) {
    return ExchangeReply(link, FetchRequest().span(), reply);
}

} // namespace trv
