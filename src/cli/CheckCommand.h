#pragma once

#include "CommandRequests.h"
#include "HeadlessCommands.h"

namespace pemo {

// --check FILE [--mode M] [--no-background] [--sheet A4|A3|WxH] [--overlap MM]
//      [--spacing MM] [--turn-tiles] [label options]
// The check the print commands run first, on FILE's print queue for the request's job:
// one line per finding on stdout. Exit status 0 when nothing was found, 3 when something
// was, 1 when FILE is refused.
int runCheck(const CheckRequest& request, const DocumentOpener& open);

}  // namespace pemo
