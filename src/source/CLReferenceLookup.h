// CLReferenceLookup: the checker's view of a manager's reference: a command's
// record by name, read once when first asked for (as the run mode says), or
// null when the index does not hold the command.
#ifndef CLREFERENCELOOKUP_H
#define CLREFERENCELOOKUP_H

#include "CLCmdManager.h"
#include "CLLint.h"

// The manager must hold its index and outlive the lookup.
CLLint::Lookup CLReferenceLookup(CLCmdManager* pManager);

#endif
