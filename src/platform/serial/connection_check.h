#pragma once
// The connection check of Program > Check connection and "zrcps-cli
// doctor": gathers the ports, the user's access and groups and the services
// that take USB serial adapters, then tries the link's port: first whether
// it opens, then the handshake and identification through the link's
// engine. No question is asked; the answer that stops is given. Runs the
// event loop until the engine is idle.

#include <string>

#include "link/port_report.h"
#include "link/transfer.h"

namespace zr {

struct Session;
class QtLink;

// `how` tells where the port came from ("--port", "Settings > Port: COM3").
link::ConnectionReport CheckConnection(Session& s, QtLink& link, const std::string& how,
                                       const std::string& program);

// Runs the event loop until the engine has nothing left to do; a read that
// waits for its decode timer is decoded at once, and a write that waits for
// open windows to commit starts at once (there are none here).
void RunUntilIdle(link::TransferEngine& engine);

}  // namespace zr
