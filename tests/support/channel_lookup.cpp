#include "support/channel_lookup.h"

#include <gtest/gtest.h>

namespace zrtest {

const zr::ChannelRecord& channelOrBlank(const zr::Session& s, int channelNumber) {
    if (const zr::ChannelRecord* c = zr::FindChannelRecord(s, channelNumber)) return *c;
    ADD_FAILURE() << "channel " << channelNumber << " is missing";
    static const zr::ChannelRecord blank{};
    return blank;
}

}  // namespace zrtest
