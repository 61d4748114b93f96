#pragma once
// Looking up a channel of a test's document without crashing the test: a
// missing channel fails the running test and reads as a blank record, so the
// checks that follow fail one by one instead of dereferencing nothing.

#include "channels/channel_ops.h"
#include "data/records.h"
#include "shell/session.h"

namespace zrtest {

const zr::ChannelRecord& channelOrBlank(const zr::Session& s, int channelNumber);

}  // namespace zrtest
