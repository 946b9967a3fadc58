#pragma once

namespace HQX_code {
// The batch encoder: the user chooses files (at most 3000) and a destination
// folder, and each file is handed to the binhex tool, one command line after
// another on one shell runner; the chime plays after the batch. Cancel in
// either dialog ends it silently. A runtime exception ends it at once and
// passes to the caller.
void HQX();
} // namespace HQX_code
