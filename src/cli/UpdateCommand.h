#pragma once

#include "CommandRequests.h"

namespace pemo {

// pemo --update FILE --from DATA --match T [the data options of --import] [--template T.vxt]
//      --export OUT [the options of that --export form]
// Applies the price list DATA to the document FILE (T: the key's target, 1–10 the
// variables, 11 原价, 12 现价, 13 折扣) and writes OUT as --export does: the updated
// document for OUT.vxq, the changed and new signs for OUT.pdf. FILE itself is never
// written; the changes are appended to "<name>.调价.csv" beside the document written, or
// beside FILE when OUT is not a document. Prints the summary line. Exit status 0, 1 for a
// refused file, 3 when a key stands twice (nothing written).
int runUpdateCommand(const UpdateRequest& request);

}  // namespace pemo
