// A Windows Media (ASF) file cut short: its data object claims more bytes
// than the file holds. Media Foundation under Wine can fail to ever answer
// for such a file (and then for every file after it in the process), so
// these are refused before it sees them.
#pragma once

#include "burner/core/playtime/ByteSource.h"

// False for sources that are not ASF.
bool AsfIsCutShort(ByteSource& source);
